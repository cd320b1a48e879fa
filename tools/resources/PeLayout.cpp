#include "PeLayout.h"

#include "core/ByteView.h"
#include "core/LittleEndian.h"

#include <algorithm>

namespace resources {
namespace {

constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kSecurityDirectory = 4;
constexpr uint32_t kBaseRelocationDirectory = 5;

// Offsets of the header fields that the rewriter reads or changes.
struct Headers {
    uint64_t optional = 0;      // optional header
    uint64_t directories = 0;   // data directory array
    uint32_t directoryCount = 0;
    uint64_t sectionTable = 0;
    uint16_t sectionCount = 0;
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    std::vector<SectionView> sections;

    uint64_t checksumField() const { return optional + 64; }
    uint64_t directory(uint32_t index) const { return directories + 8ull * index; }
};

std::optional<Headers> readHeaders(std::span<const uint8_t> data, std::string& error) {
    const ByteView bytes(data);
    if (!bytes.has(0, 64) || bytes.u16(0) != 0x5A4D) {
        error = "no DOS header (MZ)";
        return std::nullopt;
    }
    const uint32_t pe = bytes.u32(60);
    if (!bytes.has(pe, 24) || bytes.u32(pe) != 0x00004550) {
        error = "no PE signature";
        return std::nullopt;
    }
    Headers h;
    h.sectionCount = bytes.u16(pe + 6);
    const uint16_t optionalSize = bytes.u16(pe + 20);
    h.optional = pe + 24ull;
    if (!bytes.has(h.optional, optionalSize) || optionalSize < 2) {
        error = "truncated optional header";
        return std::nullopt;
    }
    const uint16_t magic = bytes.u16(h.optional);
    const uint32_t directoriesAt = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
    if (directoriesAt == 0 || optionalSize < directoriesAt) {
        error = "unknown or truncated optional header";
        return std::nullopt;
    }
    h.directories = h.optional + directoriesAt;
    h.directoryCount = std::min<uint32_t>(bytes.u32(h.directories - 4), (optionalSize - directoriesAt) / 8);
    h.sectionAlignment = bytes.u32(h.optional + 32);
    h.fileAlignment = bytes.u32(h.optional + 36);
    const auto powerOfTwo = [](uint32_t v) { return v != 0 && (v & (v - 1)) == 0; };
    if (!powerOfTwo(h.sectionAlignment) || !powerOfTwo(h.fileAlignment) || h.fileAlignment > h.sectionAlignment) {
        error = "implausible section or file alignment";
        return std::nullopt;
    }
    h.sectionTable = h.optional + optionalSize;
    if (h.sectionCount == 0 || !bytes.has(h.sectionTable, uint64_t{h.sectionCount} * kSectionHeaderSize)) {
        error = "truncated or empty section table";
        return std::nullopt;
    }
    for (uint16_t i = 0; i < h.sectionCount; ++i) {
        const uint64_t at = h.sectionTable + uint64_t{i} * kSectionHeaderSize;
        h.sections.push_back({bytes.u32(at + 12), bytes.u32(at + 8), bytes.u32(at + 16), bytes.u32(at + 20)});
    }
    return h;
}

uint32_t alignUp(uint64_t value, uint32_t to) { return static_cast<uint32_t>((value + to - 1) / to * to); }

uint32_t directoryRva(std::span<const uint8_t> data, const Headers& h, uint32_t index) {
    return index < h.directoryCount ? loadLittleEndian<uint32_t>(data.data() + h.directory(index)) : 0;
}

// The section whose virtual range holds `rva`, or -1.
int sectionOf(const Headers& h, uint32_t rva) {
    for (size_t i = 0; i < h.sections.size(); ++i) {
        const SectionView& s = h.sections[i];
        const uint32_t extent = std::max(s.virtualSize, s.sizeOfRawData);
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) return static_cast<int>(i);
    }
    return -1;
}

uint64_t endOfSections(const Headers& h) {
    uint64_t end = 0;
    for (const SectionView& s : h.sections) end = std::max<uint64_t>(end, uint64_t{s.pointerToRawData} + s.sizeOfRawData);
    return end;
}

}  // namespace

uint32_t peChecksum(std::span<const uint8_t> file) {
    std::string ignored;
    const auto headers = readHeaders(file, ignored);
    const uint64_t skip = headers ? headers->checksumField() : UINT64_MAX;
    uint64_t sum = 0;
    for (uint64_t i = 0; i < file.size(); i += 2) {
        if (i >= skip && i < skip + 4) continue;
        sum += file[i] | (i + 1 < file.size() ? uint32_t{file[i + 1]} << 8 : 0u);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + file.size());
}

std::optional<SignatureLocation> findSignature(std::span<const uint8_t> file) {
    std::string ignored;
    const auto h = readHeaders(file, ignored);
    if (!h || h->directoryCount <= kSecurityDirectory) return std::nullopt;
    const ByteView bytes(file);
    const SignatureLocation location{bytes.u32(h->directory(kSecurityDirectory)),
                                     bytes.u32(h->directory(kSecurityDirectory) + 4)};
    if (location.offset == 0 || location.size == 0) return std::nullopt;
    return location;
}

std::optional<std::vector<Resource>> readImageResources(std::span<const uint8_t> image, std::string& error) {
    const auto h = readHeaders(image, error);
    if (!h) return std::nullopt;
    const uint32_t root = directoryRva(image, *h, kResourceDirectory);
    if (root == 0) return std::vector<Resource>{};
    return readResourceTree(image, h->sections, root, error);
}

bool replaceImageResources(std::vector<uint8_t>& image, const std::vector<Resource>& resources, std::string& error) {
    const auto found = readHeaders(image, error);
    if (!found) return false;
    Headers h = *found;
    if (endOfSections(h) != image.size()) {
        error = "the image has data after its last section (a payload or a signature); resources are written into a template";
        return false;
    }
    const int rsrc = sectionOf(h, directoryRva(image, h, kResourceDirectory));
    if (rsrc < 0 || h.sections[rsrc].virtualAddress != directoryRva(image, h, kResourceDirectory)) {
        error = "the image has no resource section of its own";
        return false;
    }
    const int relocations = sectionOf(h, directoryRva(image, h, kBaseRelocationDirectory));
    for (size_t i = 0; i < h.sections.size(); ++i) {
        const SectionView& s = h.sections[i];
        const bool after = s.virtualAddress > h.sections[rsrc].virtualAddress;
        if (after && static_cast<int>(i) != relocations) {
            error = "a section other than the base relocations follows the resource section";
            return false;
        }
        if (after != (s.pointerToRawData > h.sections[rsrc].pointerToRawData) && s.sizeOfRawData != 0) {
            error = "the sections' file order differs from their memory order";
            return false;
        }
    }

    const SectionView old = h.sections[rsrc];
    const std::vector<uint8_t> section = buildResourceSection(resources, old.virtualAddress);
    std::vector<uint8_t> out(image.begin(), image.begin() + old.pointerToRawData);
    out.insert(out.end(), section.begin(), section.end());
    out.resize(old.pointerToRawData + alignUp(section.size(), h.fileAlignment), 0);

    // Sections after the resources move in memory and in the file; any data
    // directory inside one moves with it.
    std::vector<SectionView> moved = h.sections;
    moved[rsrc].virtualSize = static_cast<uint32_t>(section.size());
    moved[rsrc].sizeOfRawData = static_cast<uint32_t>(out.size() - old.pointerToRawData);
    uint32_t nextRva = alignUp(uint64_t{old.virtualAddress} + section.size(), h.sectionAlignment);
    std::vector<size_t> order(h.sections.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return h.sections[a].virtualAddress < h.sections[b].virtualAddress; });
    for (size_t i : order) {
        if (h.sections[i].virtualAddress <= old.virtualAddress) continue;
        const SectionView& s = h.sections[i];
        moved[i].virtualAddress = nextRva;
        moved[i].pointerToRawData = s.sizeOfRawData ? static_cast<uint32_t>(out.size()) : 0;
        out.insert(out.end(), image.begin() + s.pointerToRawData, image.begin() + s.pointerToRawData + s.sizeOfRawData);
        nextRva = alignUp(uint64_t{nextRva} + std::max(s.virtualSize, s.sizeOfRawData), h.sectionAlignment);
    }
    for (uint32_t d = 0; d < h.directoryCount; ++d) {
        if (d == kSecurityDirectory) continue;
        const uint32_t rva = directoryRva(image, h, d);
        const int holder = rva ? sectionOf(h, rva) : -1;
        if (holder >= 0 && holder != rsrc)
            storeLittleEndian(out.data() + h.directory(d), rva - h.sections[holder].virtualAddress + moved[holder].virtualAddress);
    }
    storeLittleEndian(out.data() + h.directory(kResourceDirectory) + 4, static_cast<uint32_t>(section.size()));
    for (size_t i = 0; i < moved.size(); ++i) {
        uint8_t* header = out.data() + h.sectionTable + i * kSectionHeaderSize;
        storeLittleEndian(header + 8, moved[i].virtualSize);
        storeLittleEndian(header + 12, moved[i].virtualAddress);
        storeLittleEndian(header + 16, moved[i].sizeOfRawData);
        storeLittleEndian(header + 20, moved[i].pointerToRawData);
    }
    uint8_t* optional = out.data() + h.optional;
    const uint32_t initialized = loadLittleEndian<uint32_t>(optional + 8) - old.sizeOfRawData + moved[rsrc].sizeOfRawData;
    storeLittleEndian(optional + 8, initialized);
    storeLittleEndian(optional + 56, nextRva);  // SizeOfImage: the end of the last section, aligned
    storeLittleEndian(out.data() + h.checksumField(), peChecksum(out));
    image = std::move(out);
    return true;
}

}  // namespace resources
