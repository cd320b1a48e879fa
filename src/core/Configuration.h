#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Loads the launcher's configuration from the payload of its own executable
// into the configuration store. The locale is detected from `arguments`
// (absent in the service launcher). Nothing here ends the process: a failure
// comes back as the "Internal Error: ..." (or media file) text to show.
// What the launcher says when it cannot open its own executable.
inline constexpr char kOwnExecutableUnreadable[] =
    "Error opening media file. Please move this file to an ascii-only path like c:\\";

struct LoadedConfiguration {
    const char* failure = nullptr;  // the fatal message, or nullptr on success
    uint32_t extractionStart = 0;   // file position of the first embedded file
    int32_t kind = 0;               // key 107, one of the launcher kinds of PayloadValues.h
};
LoadedConfiguration loadConfiguration(const std::vector<std::u16string>* arguments);
