#pragma once

#include "core/PeImage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Reads the resource tree (.rsrc section) of a PE image: the type / name /
// language leaves and the data each leaf points at. Every offset is checked
// against the section and the file, so damaged images are refused with a
// message instead of being read past their end.

// A directory entry key: either a 16-bit id or a UTF-16 name.
struct PeResourceKey {
    bool isName = false;
    uint16_t id = 0;
    std::u16string name;

    static PeResourceKey fromId(uint16_t id) { return {false, id, {}}; }
    static PeResourceKey fromName(std::u16string name) { return {true, 0, std::move(name)}; }
    bool operator==(const PeResourceKey&) const = default;
    std::string describe() const;
};

struct PeResourceLeaf {
    PeResourceKey type;
    PeResourceKey name;
    PeResourceKey language;
    uint32_t dataRva = 0;
    uint32_t dataSize = 0;

    std::string describe() const;
};

// Well-known resource types.
constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtDialog = 5;
constexpr uint16_t kRtGroupIcon = 14;
constexpr uint16_t kRtVersion = 16;
constexpr uint16_t kRtManifest = 24;

// Lists every leaf of the resource tree in directory order. Fails (nothing
// returned, `error` set when given) when there is no .rsrc section or the tree
// is damaged: an entry, a name or a data descriptor outside the section, a
// leaf where a directory belongs or the other way round, or a tree deeper or
// larger than any real image has.
std::optional<std::vector<PeResourceLeaf>> listPeResources(std::span<const uint8_t> bytes, const PeImage& image,
                                                           std::string* error = nullptr);

// The raw data of `leaf`, a view into `bytes`; fails when the data does not lie
// wholly inside the file image of one section.
std::optional<std::span<const uint8_t>> readPeResource(std::span<const uint8_t> bytes, const PeImage& image,
                                                       const PeResourceLeaf& leaf, std::string* error = nullptr);

// The first leaf with the given type and name (and language, when given).
const PeResourceLeaf* findPeResource(const std::vector<PeResourceLeaf>& leaves, const PeResourceKey& type,
                                     const PeResourceKey& name, std::optional<uint16_t> language = std::nullopt);
