#pragma once

#include "core/win/Handles.h"
#include "jvm/RegistryLocations.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Reading the registry for the runtime search: keys opened for reading in the
// process's own view, text values refused rather than cut, and subkey names.
// The calls go through the system-call table so tests can make them fail.

HKEY hiveKey(RegistryHive hive);

// An empty owner when the key cannot be opened.
RegistryKey openKeyForReading(HKEY parent, const std::string& subkey);

// The value's text (registryValueText) when it can be read into a buffer of
// `capacity` bytes; a longer value is refused, never cut.
std::optional<std::string> readTextValue(HKEY key, const char* valueName, size_t capacity);

// The names of the key's subkeys in the order the system lists them.
std::vector<std::string> subkeyNames(HKEY key);
