#include "LauncherResources.h"

#include "PeLayout.h"
#include "Utf.h"
#include "core/ByteView.h"

#include <algorithm>
#include <charconv>

namespace resources {
namespace {

constexpr uint32_t kIconHeaderSize = 6;
constexpr uint32_t kIconEntrySize = 16;       // in the .ico file
constexpr uint32_t kGroupEntrySize = 14;      // in RT_GROUP_ICON

void append16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void append32(std::vector<uint8_t>& out, uint32_t value) {
    append16(out, value & 0xFFFF);
    append16(out, value >> 16);
}
void pad32(std::vector<uint8_t>& out) {
    while (out.size() % 4) out.push_back(0);
}
void set16(std::vector<uint8_t>& out, size_t at, size_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

// One node of a version resource: wLength, wValueLength, wType, the key, then
// `value` and the children, each 32-bit aligned. Returns the node's start.
size_t beginNode(std::vector<uint8_t>& out, std::u16string_view key, bool text) {
    pad32(out);
    const size_t start = out.size();
    append16(out, 0);
    append16(out, 0);
    append16(out, text ? 1 : 0);
    for (char16_t c : key) append16(out, c);
    append16(out, 0);
    pad32(out);
    return start;
}
void endNode(std::vector<uint8_t>& out, size_t start) { set16(out, start, out.size() - start); }

void stringNode(std::vector<uint8_t>& out, std::u16string_view key, const std::string& value) {
    if (value.empty()) return;
    const size_t start = beginNode(out, key, true);
    const std::u16string wide = utf8ToUtf16(value);
    for (char16_t c : wide) append16(out, c);
    append16(out, 0);
    set16(out, start + 2, wide.size() + 1);  // in characters, with the terminator
    endNode(out, start);
}

uint32_t high(const std::array<uint16_t, 4>& v) { return uint32_t{v[0]} << 16 | v[1]; }
uint32_t low(const std::array<uint16_t, 4>& v) { return uint32_t{v[2]} << 16 | v[3]; }

}  // namespace

std::optional<std::array<uint16_t, 4>> parseVersionNumber(std::string_view text) {
    std::array<uint16_t, 4> parts{};
    size_t count = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (true) {
        if (count == parts.size()) return std::nullopt;
        const auto [next, ec] = std::from_chars(at, end, parts[count]);
        if (ec != std::errc() || next == at) return std::nullopt;
        ++count;
        if (next == end) return parts;
        if (*next != '.') return std::nullopt;
        at = next + 1;
    }
}

std::optional<size_t> checkIconFile(std::span<const uint8_t> ico, std::string& error) {
    const ByteView bytes(ico);
    if (!bytes.has(0, kIconHeaderSize) || bytes.u16(0) != 0 || bytes.u16(2) != 1) {
        error = "is not an icon (.ico) file";
        return std::nullopt;
    }
    const uint16_t count = bytes.u16(4);
    if (count == 0 || !bytes.has(kIconHeaderSize, uint64_t{count} * kIconEntrySize)) {
        error = count == 0 ? "holds no images" : "ends inside its image directory";
        return std::nullopt;
    }
    for (uint16_t i = 0; i < count; ++i) {
        const uint64_t entry = kIconHeaderSize + uint64_t{i} * kIconEntrySize;
        const uint32_t size = bytes.u32(entry + 8);
        if (size == 0 || !bytes.has(bytes.u32(entry + 12), size)) {
            error = "image " + std::to_string(i + 1) + " lies outside the file";
            return std::nullopt;
        }
    }
    return count;
}

bool checkSplashImage(std::span<const uint8_t> image, std::string& error) {
    const auto startsWith = [&](std::string_view magic) {
        return image.size() >= magic.size() && std::equal(magic.begin(), magic.end(), image.begin(),
                                                          [](char m, uint8_t b) { return static_cast<uint8_t>(m) == b; });
    };
    if (startsWith("\x89PNG\r\n\x1a\n") || startsWith("GIF87a") || startsWith("GIF89a") || startsWith("\xFF\xD8\xFF") ||
        startsWith("BM"))
        return true;
    error = "is not a GIF, PNG, JPEG or BMP image";
    return false;
}

std::vector<uint8_t> buildVersionResource(const VersionInfo& version) {
    std::vector<uint8_t> out;
    const size_t root = beginNode(out, u"VS_VERSION_INFO", false);
    set16(out, root + 2, 52);  // VS_FIXEDFILEINFO
    for (uint32_t field : {0xFEEF04BDu, 0x00010000u, high(version.fileVersion), low(version.fileVersion),
                           high(version.productVersion), low(version.productVersion), 0x3Fu, 0u,
                           0x00040004u /* VOS_NT_WINDOWS32 */, 1u /* VFT_APP */, 0u, 0u, 0u})
        append32(out, field);

    const size_t strings = beginNode(out, u"StringFileInfo", true);
    const size_t table = beginNode(out, u"040904B0", true);  // US English, UTF-16
    stringNode(out, u"CompanyName", version.company);
    stringNode(out, u"FileDescription", version.description);
    stringNode(out, u"FileVersion", version.fileVersionText);
    stringNode(out, u"LegalCopyright", version.copyright);
    stringNode(out, u"ProductName", version.productName);
    stringNode(out, u"ProductVersion", version.productVersionText);
    endNode(out, table);
    endNode(out, strings);

    const size_t vars = beginNode(out, u"VarFileInfo", true);
    const size_t translation = beginNode(out, u"Translation", false);
    set16(out, translation + 2, 4);
    append16(out, kLanguageEnglishUs);
    append16(out, 1200);
    endNode(out, translation);
    endNode(out, vars);
    endNode(out, root);
    return out;
}

void applyResourceChanges(std::vector<Resource>& resources, const ResourceChanges& changes) {
    const auto drop = [&](auto&& unwanted) {
        resources.erase(std::remove_if(resources.begin(), resources.end(), unwanted), resources.end());
    };
    const auto isId = [](const ResourceKey& key, uint16_t id) { return !key.isName && key.id == id; };
    if (!changes.icon.empty()) {
        drop([&](const Resource& r) { return isId(r.type, kRtIcon) || isId(r.type, kRtGroupIcon); });
        const ByteView ico(changes.icon);
        const uint16_t count = ico.u16(4);
        Resource group{ResourceKey::fromId(kRtGroupIcon), ResourceKey::fromId(kLauncherIconGroup), kLanguageEnglishUs, 0, {}};
        append16(group.data, 0);
        append16(group.data, 1);
        append16(group.data, count);
        for (uint16_t i = 0; i < count; ++i) {
            const size_t entry = kIconHeaderSize + size_t{i} * kIconEntrySize;
            const uint32_t size = ico.u32(entry + 8), offset = ico.u32(entry + 12);
            // Width, height, colours, reserved, planes, bit count, size: as in the file.
            group.data.insert(group.data.end(), changes.icon.begin() + entry, changes.icon.begin() + entry + 12);
            append16(group.data, i + 1u);
            resources.push_back({ResourceKey::fromId(kRtIcon), ResourceKey::fromId(static_cast<uint16_t>(i + 1)),
                                 kLanguageEnglishUs, 0,
                                 std::vector<uint8_t>(changes.icon.begin() + offset, changes.icon.begin() + offset + size)});
        }
        static_assert(kGroupEntrySize == 12 + 2);
        resources.push_back(std::move(group));
    }
    if (changes.version) {
        drop([&](const Resource& r) { return isId(r.type, kRtVersion); });
        resources.push_back({ResourceKey::fromId(kRtVersion), ResourceKey::fromId(kVersionId), kLanguageEnglishUs, 0,
                             buildVersionResource(*changes.version)});
    }
    if (!changes.splash.empty()) {
        drop([&](const Resource& r) { return isId(r.type, kRtRcData) && isId(r.name, kSplashImageId); });
        resources.push_back({ResourceKey::fromId(kRtRcData), ResourceKey::fromId(kSplashImageId), kLanguageEnglishUs, 0,
                             changes.splash});
    }
}

bool writeResourceChanges(std::vector<uint8_t>& image, const ResourceChanges& changes, std::string& error) {
    auto resources = readImageResources(image, error);
    if (!resources) return false;
    applyResourceChanges(*resources, changes);
    return replaceImageResources(image, *resources, error);
}

}  // namespace resources
