#pragma once

#include "core/PayloadFormat.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Reads a finished launcher's payload the way the launcher itself finds and
// reads it, for inspection.
namespace payload {

struct EmbeddedRecord {
    std::string name;       // from key 2003, empty when the names ran out
    int64_t size = 0;
    uint64_t contentOffset = 0;
};

struct LauncherContents {
    uint64_t payloadOffset = 0;
    ConfigurationRecord record;
    uint64_t embeddedStart = 0;
    int32_t announcedFiles = 0;                 // key 2002 as the launcher reads it
    std::vector<EmbeddedRecord> embeddedFiles;  // as many as key 2002 announces and the file holds
    uint64_t trailingBytes = 0;                 // after the last announced embedded file
};

// Returns false with `error` set ("Internal Error: readInt" and the like for a
// damaged record) when the file cannot be read as a launcher.
bool readLauncher(const std::filesystem::path& path, LauncherContents& contents, std::string& error);

// Human-readable listing: header, entries, locale sections, embedded files.
std::string describeLauncher(const LauncherContents& contents);

}  // namespace payload
