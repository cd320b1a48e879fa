#include "standin/standin_jvm/ZipDirectory.h"

#include <algorithm>
#include <optional>

namespace standin {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kEntrySignature = 0x02014b50;
constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kEntrySize = 46;
constexpr size_t kMaxCommentSize = 0xFFFF;

// Little-endian fields; every caller has checked that they lie inside `bytes`.
uint64_t field(std::span<const uint8_t> bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;) value = (value << 8) | bytes[at + i];
    return value;
}

// The last end record whose comment ends within the archive.
std::optional<size_t> findEndRecord(std::span<const uint8_t> archive) {
    if (archive.size() < kEndSize) return std::nullopt;
    const size_t lowest = archive.size() - kEndSize - std::min(archive.size() - kEndSize, kMaxCommentSize);
    for (size_t at = archive.size() - kEndSize + 1; at-- > lowest;) {
        if (field(archive, at, 4) == kEndSignature && at + kEndSize + field(archive, at + 20, 2) <= archive.size()) {
            return at;
        }
    }
    return std::nullopt;
}

struct DirectoryPlace {
    uint64_t entries = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
    uint64_t end = 0;  // where the directory ends: the (zip64) end record
};

std::optional<DirectoryPlace> locateDirectory(std::span<const uint8_t> archive, size_t endRecord) {
    DirectoryPlace place{field(archive, endRecord + 10, 2), field(archive, endRecord + 12, 4),
                         field(archive, endRecord + 16, 4), endRecord};
    if (place.entries != 0xFFFF && place.size != 0xFFFFFFFF && place.offset != 0xFFFFFFFF) return place;

    // Zip64: the locator sits right before the end record and points at the
    // zip64 end record, which holds the full-width values.
    if (endRecord < kZip64LocatorSize) return std::nullopt;
    const size_t locator = endRecord - kZip64LocatorSize;
    if (field(archive, locator, 4) != kZip64LocatorSignature) return std::nullopt;
    const uint64_t zip64End = field(archive, locator + 8, 8);
    if (zip64End > locator || locator - zip64End < kZip64EndSize ||
        field(archive, static_cast<size_t>(zip64End), 4) != kZip64EndSignature) {
        return std::nullopt;
    }
    const auto at = static_cast<size_t>(zip64End);
    return DirectoryPlace{field(archive, at + 32, 8), field(archive, at + 40, 8), field(archive, at + 48, 8), zip64End};
}

}  // namespace

ZipStatus ZipDirectory::read(std::span<const uint8_t> archive, ZipDirectory& directory) {
    const std::optional<size_t> endRecord = findEndRecord(archive);
    if (!endRecord) return ZipStatus::NoEndRecord;
    const std::optional<DirectoryPlace> place = locateDirectory(archive, *endRecord);
    // The directory ends where the end record starts; anything before the
    // recorded offset is a prefix (a stub in front of the archive), so only an
    // offset past the directory's real start is wrong.
    if (!place || place->size > place->end || place->offset > place->end - place->size) return ZipStatus::Damaged;

    std::vector<std::string> names;
    size_t at = static_cast<size_t>(place->end - place->size);
    const auto end = static_cast<size_t>(place->end);
    for (uint64_t i = 0; i < place->entries; ++i) {
        if (end - at < kEntrySize || field(archive, at, 4) != kEntrySignature) return ZipStatus::Damaged;
        const size_t nameSize = field(archive, at + 28, 2);
        const size_t recordSize = kEntrySize + nameSize + field(archive, at + 30, 2) + field(archive, at + 32, 2);
        if (end - at < recordSize) return ZipStatus::Damaged;
        names.emplace_back(reinterpret_cast<const char*>(archive.data() + at + kEntrySize), nameSize);
        at += recordSize;
    }
    if (at != end) return ZipStatus::Damaged;
    directory.names_ = std::move(names);
    return ZipStatus::Ok;
}

bool ZipDirectory::contains(std::string_view name) const {
    return std::find(names_.begin(), names_.end(), name) != names_.end();
}

}  // namespace standin
