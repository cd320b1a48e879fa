#pragma once

#include "core/BufferCapacity.h"

#include <cstddef>
#include <string>
#include <string_view>

// Composition of the texts that error reporting shows.

// Every message is limited to this many bytes, its terminator included.
inline constexpr size_t kErrorMessageCapacity = kBufferCapacity;

// Replaces the first "{0}" of `text` by `detail`; later occurrences stay.
// Without a detail (nullptr) the text is returned unchanged.
std::string fillPlaceholder(std::string_view text, const char* detail);

// "<text>\n\nLog: <logPath>" when a log path is given, otherwise the text;
// cut to kErrorMessageCapacity - 1 bytes.
std::string composeErrorMessage(std::string_view text, const char* logPath);
