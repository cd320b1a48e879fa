#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds small, well-formed PE images for tests: a DOS header, the PE headers
// of a 64-bit (or 32-bit) image and one raw data block per section, with an
// import table in the first section when DLL names are given.
struct FakeSection {
    std::string name;
    uint32_t rawSize;
};

struct FakePeOptions {
    bool pe32Plus = true;
    uint16_t subsystem = 2;
    std::vector<FakeSection> sections = {{".text", 0x200}, {".rsrc", 0x400}};
    std::vector<std::string> importedDlls;
};

std::vector<uint8_t> makeFakePeImage(const FakePeOptions& options = {});
