#pragma once

#include "core/ByteSource.h"
#include "core/Callback.h"

#include <cstdint>
#include <string>

// Reads the configuration record of a launcher file into the configuration
// store: finds the payload behind the image, stores the narrow and wide
// entries, asks for the locale, then applies the locale sections whose prefix
// the locale begins with, in file order.
struct ConfigurationLoadResult {
    const char* failure = nullptr;  // the fatal message, or nullptr on success
    uint32_t extractionStart = 0;   // file position right after the record
    std::string localeString;
};

// `detectLocale` runs after the wide entries and before the locale sections,
// so its log lines stand between those of the two blocks.
ConfigurationLoadResult loadConfigurationFrom(ByteSource& source, const Callback<std::string()>& detectLocale);

// Whether a locale section with `prefix` applies to `localeString`: the first
// strlen(prefix) characters must be equal (case-sensitive).
bool localeSectionMatches(std::string_view prefix, std::string_view localeString);
