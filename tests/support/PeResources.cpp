#include "support/PeResources.h"

#include "core/ByteView.h"

namespace {

constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr int kLevels = 3;  // type, name, language
// No real image comes near this; it stops a damaged tree whose entries all
// point at the same directories from multiplying into millions of leaves.
constexpr size_t kMaxEntriesVisited = 1u << 16;

// The raw data of the .rsrc section; offsets in the tree are relative to its start.
using Region = ByteView;

class TreeWalker {
public:
    TreeWalker(const Region& region, std::string& error) : region_(region), error_(error) {}

    bool walk(uint32_t directory, int level, PeResourceLeaf& path, std::vector<PeResourceLeaf>& leaves) {
        if (!region_.has(directory, kDirectoryHeaderSize)) return fail("resource directory outside the section");
        const uint32_t count = static_cast<uint32_t>(region_.u16(directory + 12)) + region_.u16(directory + 14);
        const uint64_t entries = static_cast<uint64_t>(directory) + kDirectoryHeaderSize;
        if (!region_.has(entries, static_cast<uint64_t>(count) * kEntrySize))
            return fail("resource directory entries run past the section");
        for (uint32_t i = 0; i < count; ++i) {
            if (++visited_ > kMaxEntriesVisited) return fail("resource tree is implausibly large");
            const uint64_t entry = entries + static_cast<uint64_t>(i) * kEntrySize;
            auto key = readKey(region_.u32(entry));
            if (!key) return false;
            keyAt(path, level) = *key;
            const uint32_t target = region_.u32(entry + 4);
            const bool isDirectory = (target & kHighBit) != 0;
            if (level + 1 < kLevels) {
                if (!isDirectory) return fail("resource data where a directory belongs");
                if (!walk(target & ~kHighBit, level + 1, path, leaves)) return false;
            } else {
                if (isDirectory) return fail("resource directory nested deeper than type, name, language");
                if (!region_.has(target, kDataEntrySize)) return fail("resource data entry outside the section");
                path.dataRva = region_.u32(target);
                path.dataSize = region_.u32(target + 4);
                leaves.push_back(path);
            }
        }
        return true;
    }

private:
    static PeResourceKey& keyAt(PeResourceLeaf& leaf, int level) {
        return level == 0 ? leaf.type : level == 1 ? leaf.name : leaf.language;
    }

    std::optional<PeResourceKey> readKey(uint32_t field) {
        if ((field & kHighBit) == 0) return PeResourceKey::fromId(static_cast<uint16_t>(field));
        const uint32_t at = field & ~kHighBit;
        if (!region_.has(at, 2)) {
            fail("resource name outside the section");
            return std::nullopt;
        }
        const uint16_t length = region_.u16(at);
        if (!region_.has(at + 2ull, 2ull * length)) {
            fail("resource name runs past the section");
            return std::nullopt;
        }
        std::u16string name;
        for (uint32_t c = 0; c < length; ++c) name.push_back(static_cast<char16_t>(region_.u16(at + 2ull + 2ull * c)));
        return PeResourceKey::fromName(std::move(name));
    }

    bool fail(const char* message) {
        error_ = message;
        return false;
    }

    const Region& region_;
    std::string& error_;
    size_t visited_ = 0;
};

const PeSection* findSection(const PeImage& image, const std::string& name) {
    for (const PeSection& section : image.sections)
        if (section.name == name) return &section;
    return nullptr;
}

template <typename T>
std::optional<T> failWith(std::string* error, const std::string& message) {
    if (error != nullptr) *error = message;
    return std::nullopt;
}

}  // namespace

std::string PeResourceKey::describe() const {
    if (!isName) return std::to_string(id);
    std::string text = "\"";
    for (char16_t c : name) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return text + "\"";
}

std::string PeResourceLeaf::describe() const {
    return "type " + type.describe() + ", name " + name.describe() + ", language " + language.describe();
}

std::optional<std::vector<PeResourceLeaf>> listPeResources(std::span<const uint8_t> bytes, const PeImage& image,
                                                           std::string* error) {
    const PeSection* section = findSection(image, ".rsrc");
    if (section == nullptr) return failWith<std::vector<PeResourceLeaf>>(error, "no .rsrc section");
    const uint64_t start = section->pointerToRawData;
    if (start > bytes.size() || section->sizeOfRawData > bytes.size() - start)
        return failWith<std::vector<PeResourceLeaf>>(error, ".rsrc section runs past the end of the file");

    const Region region(bytes.subspan(start, section->sizeOfRawData));
    std::string message;
    TreeWalker walker(region, message);
    std::vector<PeResourceLeaf> leaves;
    PeResourceLeaf path;
    if (!walker.walk(0, 0, path, leaves)) return failWith<std::vector<PeResourceLeaf>>(error, message);
    return leaves;
}

std::optional<std::span<const uint8_t>> readPeResource(std::span<const uint8_t> bytes, const PeImage& image,
                                                       const PeResourceLeaf& leaf, std::string* error) {
    using Result = std::span<const uint8_t>;
    for (const PeSection& section : image.sections) {
        if (leaf.dataRva < section.virtualAddress || leaf.dataRva - section.virtualAddress >= section.sizeOfRawData)
            continue;
        const uint32_t inSection = leaf.dataRva - section.virtualAddress;
        if (leaf.dataSize > section.sizeOfRawData - inSection)
            return failWith<Result>(error, "resource data runs past its section (" + leaf.describe() + ")");
        const uint64_t offset = static_cast<uint64_t>(section.pointerToRawData) + inSection;
        if (offset > bytes.size() || leaf.dataSize > bytes.size() - offset)
            return failWith<Result>(error, "resource data runs past the end of the file (" + leaf.describe() + ")");
        return bytes.subspan(offset, leaf.dataSize);
    }
    return failWith<Result>(error, "resource data outside every section (" + leaf.describe() + ")");
}

const PeResourceLeaf* findPeResource(const std::vector<PeResourceLeaf>& leaves, const PeResourceKey& type,
                                     const PeResourceKey& name, std::optional<uint16_t> language) {
    for (const PeResourceLeaf& leaf : leaves) {
        if (leaf.type != type || leaf.name != name) continue;
        if (language && leaf.language != PeResourceKey::fromId(*language)) continue;
        return &leaf;
    }
    return nullptr;
}
