#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The resource tree of a PE image as a flat list of (type, name, language)
// leaves with their bytes, read from an image and written back as the bytes
// of a new .rsrc section.
namespace resources {

// A directory entry key: a 16-bit id or a UTF-16 name.
struct ResourceKey {
    bool isName = false;
    uint16_t id = 0;
    std::u16string name;

    static ResourceKey fromId(uint16_t id) { return {false, id, {}}; }
    bool operator==(const ResourceKey&) const = default;
    // Directory order: names first (ordinal), then ids ascending.
    bool operator<(const ResourceKey& other) const;
    std::string describe() const;
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    uint32_t codePage = 0;
    std::vector<uint8_t> data;
};

// Well-known resource types.
constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtRcData = 10;
constexpr uint16_t kRtGroupIcon = 14;
constexpr uint16_t kRtVersion = 16;
constexpr uint16_t kRtManifest = 24;

// A section of the image, as the tree reader needs it.
struct SectionView {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t sizeOfRawData = 0;
    uint32_t pointerToRawData = 0;
};

// Reads the tree whose root directory is at `rootRva`. Every offset is checked
// against the section that holds it and the file; a damaged tree is refused
// with `error` set.
std::optional<std::vector<Resource>> readResourceTree(std::span<const uint8_t> file,
                                                      const std::vector<SectionView>& sections, uint32_t rootRva,
                                                      std::string& error);

// The bytes of a .rsrc section that starts at `sectionRva` and holds
// `resources`: directories in key order, then the data descriptors, the names
// and the data (8-byte aligned).
std::vector<uint8_t> buildResourceSection(std::vector<Resource> resources, uint32_t sectionRva);

// A readable name of a resource type ("icon", "version", ...) or its number.
std::string describeType(const ResourceKey& type);

}  // namespace resources
