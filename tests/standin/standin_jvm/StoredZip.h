#pragma once

// Builds small zip archives with stored (uncompressed) entries, for the tests
// of the stand-in's class lookup: local headers, central directory, end
// record, and optionally the zip64 end record and locator that large
// archives carry.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct StoredZipEntry {
    std::string name;  // a directory entry ends with '/'
    std::string data;
};

inline uint32_t zipCrc32(std::string_view data) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

inline std::vector<uint8_t> storedZip(const std::vector<StoredZipEntry>& entries, bool zip64 = false,
                                      std::string_view comment = {}) {
    std::vector<uint8_t> zip;
    const auto put = [&zip](uint64_t value, int width) {
        for (int i = 0; i < width; ++i) zip.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    const auto putText = [&zip](std::string_view text) { zip.insert(zip.end(), text.begin(), text.end()); };

    std::vector<uint64_t> offsets;
    for (const StoredZipEntry& entry : entries) {
        offsets.push_back(zip.size());
        put(0x04034b50, 4);
        put(10, 2), put(0, 2), put(0, 2), put(0, 2), put(0, 2);  // version, flags, stored, time, date
        put(zipCrc32(entry.data), 4), put(entry.data.size(), 4), put(entry.data.size(), 4);
        put(entry.name.size(), 2), put(0, 2);
        putText(entry.name);
        putText(entry.data);
    }
    const uint64_t directoryOffset = zip.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        const StoredZipEntry& entry = entries[i];
        put(0x02014b50, 4);
        put(20, 2), put(10, 2), put(0, 2), put(0, 2), put(0, 2), put(0, 2);
        put(zipCrc32(entry.data), 4), put(entry.data.size(), 4), put(entry.data.size(), 4);
        put(entry.name.size(), 2), put(0, 2), put(0, 2);  // name, extra and comment lengths
        put(0, 2), put(0, 2), put(entry.name.back() == '/' ? 0x10 : 0, 4);
        put(offsets[i], 4);
        putText(entry.name);
    }
    const uint64_t directorySize = zip.size() - directoryOffset;
    if (zip64) {
        const uint64_t zip64End = zip.size();
        put(0x06064b50, 4), put(44, 8), put(45, 2), put(45, 2), put(0, 4), put(0, 4);
        put(entries.size(), 8), put(entries.size(), 8), put(directorySize, 8), put(directoryOffset, 8);
        put(0x07064b50, 4), put(0, 4), put(zip64End, 8), put(1, 4);
    }
    put(0x06054b50, 4), put(0, 2), put(0, 2);
    put(zip64 ? 0xFFFF : entries.size(), 2), put(zip64 ? 0xFFFF : entries.size(), 2);
    put(zip64 ? 0xFFFFFFFF : directorySize, 4), put(zip64 ? 0xFFFFFFFF : directoryOffset, 4);
    put(comment.size(), 2);
    putText(comment);
    return zip;
}

}  // namespace standin
