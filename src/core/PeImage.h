#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A read-only view of a Windows PE image, enough for the payload tools to find
// where an appended payload starts and for the build checks to inspect the
// finished templates (machine, subsystem, imports, symbols, sections).
struct PeSection {
    std::string name;
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t sizeOfRawData = 0;
    uint32_t pointerToRawData = 0;
};

struct PeImage {
    static constexpr uint16_t kMachineI386 = 0x014C;
    static constexpr uint16_t kMachineAmd64 = 0x8664;
    static constexpr uint16_t kSubsystemGui = 2;
    static constexpr uint16_t kSubsystemConsole = 3;

    uint16_t machine = 0;
    uint16_t subsystem = 0;
    uint32_t symbolTableOffset = 0;
    uint32_t symbolCount = 0;
    std::vector<PeSection> sections;
    std::vector<std::string> importedDlls;

    // PointerToRawData + SizeOfRawData of the last section header: where the
    // launcher looks for its payload.
    uint64_t endOfLastSection() const;
};

// Parses `bytes` as a PE image. On failure returns nothing and, when `error`
// is given, a sentence saying what is wrong.
std::optional<PeImage> parsePeImage(std::span<const uint8_t> bytes, std::string* error = nullptr);

// How many leading bytes of a file peMachine needs at most: linkers put the
// PE headers within the first few hundred bytes.
inline constexpr size_t kPeMachineLeadingBytes = 4096;

// The machine field of the file whose leading bytes are `leadingBytes`: the
// DOS header, the PE signature it points to and the file header's first
// field. Nothing when they are not there (no PE image, or its headers lie
// beyond the bytes given).
std::optional<uint16_t> peMachine(std::span<const uint8_t> leadingBytes);

// What a file says of its machine.
struct FileMachine {
    bool present = false;             // false only when there is no such file
    std::optional<uint16_t> machine;  // the PE machine field; nothing when unreadable or no PE image
};
