#include "ResourceTree.h"

#include "core/ByteView.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace resources {
namespace {

constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr int kLevels = 3;  // type, name, language
// No real image comes near this; it stops a damaged tree whose entries all
// point at the same directories from multiplying into millions of leaves.
constexpr size_t kMaxEntriesVisited = 1u << 14;

// The file bytes of [rva, rva + size) when one section holds them wholly.
std::optional<std::span<const uint8_t>> bytesAt(std::span<const uint8_t> file, const std::vector<SectionView>& sections,
                                                uint32_t rva, uint64_t size) {
    for (const SectionView& section : sections) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.sizeOfRawData) continue;
        const uint32_t inSection = rva - section.virtualAddress;
        if (size > section.sizeOfRawData - inSection) return std::nullopt;
        const uint64_t offset = static_cast<uint64_t>(section.pointerToRawData) + inSection;
        if (offset > file.size() || size > file.size() - offset) return std::nullopt;
        return file.subspan(offset, size);
    }
    return std::nullopt;
}

class TreeReader {
public:
    TreeReader(std::span<const uint8_t> file, const std::vector<SectionView>& sections, ByteView tree, std::string& error)
        : file_(file), sections_(sections), tree_(tree), error_(error) {}

    bool walk(uint32_t directory, int level, Resource& path, std::vector<Resource>& out) {
        if (!tree_.has(directory, kDirectoryHeaderSize)) return fail("resource directory outside the section");
        const uint32_t count = static_cast<uint32_t>(tree_.u16(directory + 12)) + tree_.u16(directory + 14);
        const uint64_t entries = static_cast<uint64_t>(directory) + kDirectoryHeaderSize;
        if (!tree_.has(entries, static_cast<uint64_t>(count) * kEntrySize))
            return fail("resource directory entries run past the section");
        for (uint32_t i = 0; i < count; ++i) {
            if (++visited_ > kMaxEntriesVisited) return fail("resource tree is implausibly large");
            const uint64_t entry = entries + static_cast<uint64_t>(i) * kEntrySize;
            ResourceKey key;
            if (!readKey(tree_.u32(entry), key)) return false;
            if (level == 0) path.type = key;
            else if (level == 1) path.name = key;
            else if (key.isName) return fail("resource language given as a name");
            else path.language = key.id;
            const uint32_t target = tree_.u32(entry + 4);
            const bool isDirectory = (target & kHighBit) != 0;
            if (level + 1 < kLevels) {
                if (!isDirectory) return fail("resource data where a directory belongs");
                if (!walk(target & ~kHighBit, level + 1, path, out)) return false;
                continue;
            }
            if (isDirectory) return fail("resource directory nested deeper than type, name, language");
            if (!tree_.has(target, kDataEntrySize)) return fail("resource data entry outside the section");
            const auto data = bytesAt(file_, sections_, tree_.u32(target), tree_.u32(target + 4));
            if (!data) return fail(("resource data outside the file (type " + path.type.describe() + ", name " +
                                    path.name.describe() + ")").c_str());
            path.codePage = tree_.u32(target + 8);
            path.data.assign(data->begin(), data->end());
            out.push_back(path);
        }
        return true;
    }

private:
    bool readKey(uint32_t field, ResourceKey& key) {
        if ((field & kHighBit) == 0) {
            key = ResourceKey::fromId(static_cast<uint16_t>(field));
            return true;
        }
        const uint32_t at = field & ~kHighBit;
        if (!tree_.has(at, 2) || !tree_.has(at + 2ull, 2ull * tree_.u16(at))) return fail("resource name outside the section");
        key = ResourceKey{true, 0, {}};
        for (uint32_t c = 0; c < tree_.u16(at); ++c) key.name.push_back(static_cast<char16_t>(tree_.u16(at + 2ull + 2ull * c)));
        return true;
    }

    bool fail(const std::string& message) {
        error_ = message;
        return false;
    }

    std::span<const uint8_t> file_;
    const std::vector<SectionView>& sections_;
    ByteView tree_;
    std::string& error_;
    size_t visited_ = 0;
};

void put16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}
void put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
size_t align(size_t value, size_t to) { return (value + to - 1) / to * to; }

}  // namespace

bool ResourceKey::operator<(const ResourceKey& other) const {
    if (isName != other.isName) return isName;
    return isName ? name < other.name : id < other.id;
}

std::string ResourceKey::describe() const {
    if (!isName) return std::to_string(id);
    std::string text = "\"";
    for (char16_t c : name) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return text + "\"";
}

std::string describeType(const ResourceKey& type) {
    if (type.isName) return type.describe();
    switch (type.id) {
        case 1: return "cursor";
        case 2: return "bitmap";
        case kRtIcon: return "icon";
        case 4: return "menu";
        case 5: return "dialog";
        case 6: return "string table";
        case kRtRcData: return "data";
        case 12: return "cursor group";
        case kRtGroupIcon: return "icon group";
        case kRtVersion: return "version";
        case kRtManifest: return "manifest";
        default: return "type " + std::to_string(type.id);
    }
}

std::optional<std::vector<Resource>> readResourceTree(std::span<const uint8_t> file,
                                                      const std::vector<SectionView>& sections, uint32_t rootRva,
                                                      std::string& error) {
    // Offsets inside the tree count from its root up to the end of its section.
    std::optional<std::span<const uint8_t>> tree;
    for (const SectionView& section : sections) {
        if (rootRva >= section.virtualAddress && rootRva - section.virtualAddress < section.sizeOfRawData)
            tree = bytesAt(file, sections, rootRva, section.sizeOfRawData - (rootRva - section.virtualAddress));
    }
    if (!tree) {
        error = "resource directory outside the file";
        return std::nullopt;
    }
    std::vector<Resource> out;
    Resource path;
    TreeReader reader(file, sections, ByteView(*tree), error);
    if (!reader.walk(0, 0, path, out)) return std::nullopt;
    return out;
}

std::vector<uint8_t> buildResourceSection(std::vector<Resource> resources, uint32_t sectionRva) {
    std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
        return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
    });
    // Later duplicates of a leaf are dropped: a tree holds each leaf once.
    resources.erase(std::unique(resources.begin(), resources.end(),
                                [](const Resource& a, const Resource& b) {
                                    return a.type == b.type && a.name == b.name && a.language == b.language;
                                }),
                    resources.end());

    // Directories, breadth first: root, one per type, one per (type, name).
    struct Directory {
        std::vector<size_t> entries;  // resource index of each entry's first leaf
        size_t offset = 0;
    };
    const auto sameType = [&](size_t a, size_t b) { return resources[a].type == resources[b].type; };
    const auto sameName = [&](size_t a, size_t b) { return sameType(a, b) && resources[a].name == resources[b].name; };
    Directory root;
    std::vector<Directory> typeDirs, nameDirs;
    for (size_t i = 0; i < resources.size(); ++i) {
        if (i == 0 || !sameType(i - 1, i)) {
            root.entries.push_back(i);
            typeDirs.emplace_back();
        }
        if (i == 0 || !sameName(i - 1, i)) {
            typeDirs.back().entries.push_back(i);
            nameDirs.emplace_back();
        }
        nameDirs.back().entries.push_back(i);
    }
    size_t size = 0;
    const auto place = [&](Directory& d) {
        d.offset = size;
        size += kDirectoryHeaderSize + kEntrySize * d.entries.size();
    };
    place(root);
    for (Directory& d : typeDirs) place(d);
    for (Directory& d : nameDirs) place(d);
    const size_t dataEntries = size;
    size += kDataEntrySize * resources.size();
    // Names: each distinct key once.
    std::map<std::u16string, size_t> names;
    for (const Resource& r : resources) {
        for (const ResourceKey* key : {&r.type, &r.name}) {
            if (!key->isName || names.count(key->name)) continue;
            names[key->name] = size;
            size += 2 + 2 * key->name.size();
        }
    }
    std::vector<size_t> dataAt;
    for (const Resource& r : resources) {
        size = align(size, 8);
        dataAt.push_back(size);
        size += r.data.size();
    }

    std::vector<uint8_t> out(align(size, 8), 0);
    const auto keyField = [&](const ResourceKey& key) {
        return key.isName ? static_cast<uint32_t>(kHighBit | names[key.name]) : key.id;
    };
    const auto writeDirectory = [&](const Directory& d, auto keyOf, auto targetOf) {
        uint16_t named = 0;
        for (size_t i : d.entries) named = static_cast<uint16_t>(named + (keyOf(i).isName ? 1 : 0));
        put16(out, d.offset + 12, named);
        put16(out, d.offset + 14, static_cast<uint16_t>(d.entries.size() - named));
        size_t at = d.offset + kDirectoryHeaderSize;
        for (size_t n = 0; n < d.entries.size(); ++n, at += kEntrySize) {
            put32(out, at, keyField(keyOf(d.entries[n])));
            put32(out, at + 4, targetOf(n));
        }
    };
    writeDirectory(root, [&](size_t i) -> const ResourceKey& { return resources[i].type; },
                   [&](size_t n) { return static_cast<uint32_t>(kHighBit | typeDirs[n].offset); });
    size_t nameDir = 0, leaf = 0;
    for (const Directory& d : typeDirs) {
        writeDirectory(d, [&](size_t i) -> const ResourceKey& { return resources[i].name; },
                       [&](size_t n) { return static_cast<uint32_t>(kHighBit | nameDirs[nameDir + n].offset); });
        nameDir += d.entries.size();
    }
    for (const Directory& d : nameDirs) {
        ResourceKey language;
        writeDirectory(d, [&](size_t i) -> const ResourceKey& { return language = ResourceKey::fromId(resources[i].language); },
                       [&](size_t n) { return static_cast<uint32_t>(dataEntries + kDataEntrySize * (leaf + n)); });
        leaf += d.entries.size();
    }
    for (size_t i = 0; i < resources.size(); ++i) {
        const size_t entry = dataEntries + kDataEntrySize * i;
        put32(out, entry, static_cast<uint32_t>(sectionRva + dataAt[i]));
        put32(out, entry + 4, static_cast<uint32_t>(resources[i].data.size()));
        put32(out, entry + 8, resources[i].codePage);
        std::copy(resources[i].data.begin(), resources[i].data.end(), out.begin() + static_cast<ptrdiff_t>(dataAt[i]));
    }
    for (const auto& [name, at] : names) {
        put16(out, at, static_cast<uint16_t>(name.size()));
        for (size_t c = 0; c < name.size(); ++c) put16(out, at + 2 + 2 * c, name[c]);
    }
    return out;
}

}  // namespace resources
