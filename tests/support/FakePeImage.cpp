#include "support/FakePeImage.h"
#include "support/LittleEndian.h"

#include <cstring>

namespace {

constexpr uint32_t kPeOffset = 0x80;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;

}  // namespace

std::vector<uint8_t> makeFakePeImage(const FakePeOptions& options) {
    const uint16_t optionalSize = options.pe32Plus ? 240 : 224;
    const uint32_t tableOffset = kPeOffset + 24 + optionalSize;
    const uint32_t headersEnd = tableOffset + 40 * static_cast<uint32_t>(options.sections.size());
    uint32_t rawOffset = (headersEnd + kFileAlignment - 1) / kFileAlignment * kFileAlignment;

    std::vector<uint8_t> bytes(rawOffset, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put32(bytes, 60, kPeOffset);
    std::memcpy(&bytes[kPeOffset], "PE\0\0", 4);
    const size_t fileHeader = kPeOffset + 4;
    put16(bytes, fileHeader, options.pe32Plus ? 0x8664 : 0x014C);
    put16(bytes, fileHeader + 2, static_cast<uint32_t>(options.sections.size()));
    put16(bytes, fileHeader + 16, optionalSize);
    const size_t optional = fileHeader + 20;
    put16(bytes, optional, options.pe32Plus ? 0x20B : 0x10B);
    put16(bytes, optional + 68, options.subsystem);
    const size_t directories = optional + (options.pe32Plus ? 112 : 96);

    uint32_t virtualAddress = kSectionAlignment;
    for (size_t i = 0; i < options.sections.size(); ++i) {
        const FakeSection& section = options.sections[i];
        const size_t header = tableOffset + 40 * i;
        std::memcpy(&bytes[header], section.name.data(), std::min<size_t>(section.name.size(), 8));
        put32(bytes, header + 8, section.rawSize);
        put32(bytes, header + 12, virtualAddress);
        put32(bytes, header + 16, section.rawSize);
        put32(bytes, header + 20, rawOffset);
        bytes.resize(rawOffset + section.rawSize, 0);

        if (i == 0 && !options.importedDlls.empty()) {
            // Descriptors (one per DLL plus the terminator), then the names.
            const uint32_t descriptors = rawOffset;
            uint32_t name = descriptors + 20 * static_cast<uint32_t>(options.importedDlls.size() + 1);
            for (size_t d = 0; d < options.importedDlls.size(); ++d) {
                const std::string& dll = options.importedDlls[d];
                put32(bytes, descriptors + 20 * d, 1);  // a non-zero lookup table
                put32(bytes, descriptors + 20 * d + 12, virtualAddress + (name - rawOffset));
                std::memcpy(&bytes[name], dll.c_str(), dll.size() + 1);
                name += static_cast<uint32_t>(dll.size() + 1);
            }
            put32(bytes, directories + 8, virtualAddress);
        }
        rawOffset += section.rawSize;
        virtualAddress += kSectionAlignment;
    }
    return bytes;
}
