#include "core/PeImage.h"

#include "core/ByteView.h"

namespace {

constexpr uint16_t kOptionalMagicPe32 = 0x10B;
constexpr uint16_t kOptionalMagicPe32Plus = 0x20B;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kImportDescriptorSize = 20;

void describeFailure(std::string* error, const char* message) {
    if (error != nullptr) *error = message;
}

std::optional<PeImage> failWith(std::string* error, const char* message) {
    describeFailure(error, message);
    return std::nullopt;
}

// The offset of the file header, right after the "PE\0\0" signature that the
// DOS header points to; the machine field and the section count are there.
std::optional<uint64_t> fileHeaderOffset(const ByteView& bytes, std::string* error) {
    if (!bytes.has(0, 64) || bytes.u16(0) != 0x5A4D) {
        describeFailure(error, "no DOS header (MZ)");
        return std::nullopt;
    }
    const uint32_t peOffset = bytes.u32(60);
    if (!bytes.has(peOffset, 24) || bytes.u32(peOffset) != 0x00004550) {
        describeFailure(error, "no PE signature");
        return std::nullopt;
    }
    return uint64_t{peOffset} + 4;
}

// File offset of a relative virtual address, through the section that holds it.
std::optional<uint64_t> fileOffsetOf(const PeImage& image, uint32_t rva) {
    for (const PeSection& section : image.sections) {
        const uint32_t extent = section.virtualSize > section.sizeOfRawData ? section.virtualSize
                                                                            : section.sizeOfRawData;
        if (rva >= section.virtualAddress && rva - section.virtualAddress < extent)
            return static_cast<uint64_t>(section.pointerToRawData) + (rva - section.virtualAddress);
    }
    return std::nullopt;
}

bool readImports(const ByteView& bytes, PeImage& image, uint32_t importTableRva) {
    if (importTableRva == 0) return true;
    auto offset = fileOffsetOf(image, importTableRva);
    if (!offset) return false;
    for (uint64_t at = *offset;; at += kImportDescriptorSize) {
        if (!bytes.has(at, kImportDescriptorSize)) return false;
        const uint32_t nameRva = bytes.u32(at + 12);
        if (nameRva == 0 && bytes.u32(at) == 0) return true;  // terminating descriptor
        auto nameOffset = fileOffsetOf(image, nameRva);
        if (!nameOffset) return false;
        auto name = bytes.cString(*nameOffset);
        if (!name) return false;
        image.importedDlls.push_back(*name);
    }
}

}  // namespace

uint64_t PeImage::endOfLastSection() const {
    if (sections.empty()) return 0;
    return static_cast<uint64_t>(sections.back().pointerToRawData) + sections.back().sizeOfRawData;
}

std::optional<PeImage> parsePeImage(std::span<const uint8_t> data, std::string* error) {
    const ByteView bytes(data);
    const std::optional<uint64_t> header = fileHeaderOffset(bytes, error);
    if (!header) return std::nullopt;

    PeImage image;
    const uint64_t fileHeader = *header;
    image.machine = bytes.u16(fileHeader);
    const uint16_t sectionCount = bytes.u16(fileHeader + 2);
    image.symbolTableOffset = bytes.u32(fileHeader + 8);
    image.symbolCount = bytes.u32(fileHeader + 12);
    const uint16_t optionalSize = bytes.u16(fileHeader + 16);

    const uint64_t optional = fileHeader + 20;
    if (!bytes.has(optional, optionalSize) || optionalSize < 2) return failWith(error, "truncated optional header");
    const uint16_t magic = bytes.u16(optional);
    uint64_t directories;
    if (magic == kOptionalMagicPe32) {
        directories = optional + 96;
    } else if (magic == kOptionalMagicPe32Plus) {
        directories = optional + 112;
    } else {
        return failWith(error, "unknown optional header kind");
    }
    if (optionalSize < 70) return failWith(error, "truncated optional header");
    image.subsystem = bytes.u16(optional + 68);

    const uint64_t table = optional + optionalSize;
    if (sectionCount == 0 || !bytes.has(table, static_cast<uint64_t>(sectionCount) * kSectionHeaderSize))
        return failWith(error, "truncated or empty section table");
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t header = table + i * kSectionHeaderSize;
        PeSection section;
        for (uint64_t c = 0; c < 8 && data[header + c] != 0; ++c) section.name.push_back(static_cast<char>(data[header + c]));
        section.virtualSize = bytes.u32(header + 8);
        section.virtualAddress = bytes.u32(header + 12);
        section.sizeOfRawData = bytes.u32(header + 16);
        section.pointerToRawData = bytes.u32(header + 20);
        image.sections.push_back(section);
    }

    // Data directory 1 is the import table.
    const uint64_t importDirectory = directories + 8;
    if (importDirectory + 8 <= optional + optionalSize &&
        !readImports(bytes, image, bytes.u32(importDirectory)))
        return failWith(error, "damaged import table");
    return image;
}

std::optional<uint16_t> peMachine(std::span<const uint8_t> leadingBytes) {
    const ByteView bytes(leadingBytes);
    const std::optional<uint64_t> fileHeader = fileHeaderOffset(bytes, nullptr);
    if (!fileHeader) return std::nullopt;
    return bytes.u16(*fileHeader);
}
