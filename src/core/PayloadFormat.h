#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The payload that a generator appends to a launcher template: a configuration
// record followed by the embedded files. All integers little-endian.
//
//   magic (4) | word A (4) | word B (4) | header long (8)
//   N (4), N x { key (4), narrow string }
//   W (4), W x { key (4), wide string }
//   S (4), S x { prefix: narrow string, M (4), M x { key (4), wide string } }
//   embedded files: { size (8), size bytes XOR kEmbeddedFileMask } ...
//
// A narrow string is a 4-byte byte count and that many ANSI bytes; a wide
// string is a 4-byte byte count and that many bytes of UTF-16LE. Neither is
// terminated in the file.
namespace payload {

inline constexpr uint32_t kMagic = 0xE8E413D5u;
inline constexpr uint8_t kEmbeddedFileMask = 0x5C;
// Offset of the field from which the header long counts bytes.
inline constexpr uint32_t kHeaderLongCountsFrom = 12;

struct Header {
    int32_t wordA = 0;     // not interpreted by the launcher
    int32_t wordB = 0;     // not interpreted; differs from payload to payload
    int64_t headerLong = 0;  // bytes from offset 12 to the end of the last embedded file
};

struct NarrowEntry {
    int32_t key;
    std::string value;
};

struct WideEntry {
    int32_t key;
    std::u16string value;
};

// Wide values that replace the base ones when the detected locale begins with `prefix`.
struct LocaleSection {
    std::string prefix;
    std::vector<WideEntry> entries;
};

// The configuration record in file order; duplicate keys are kept as written.
struct ConfigurationRecord {
    Header header;
    std::vector<NarrowEntry> narrowEntries;
    std::vector<WideEntry> wideEntries;
    std::vector<LocaleSection> localeSections;
};

}  // namespace payload
