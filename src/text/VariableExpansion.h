#pragma once

#include <cstddef>
#include <string>

// Expands the launcher's placeholders and environment references in `text`
// in place, within `capacity` bytes.
void expandVariables(char* text, size_t capacity);

// The same for a text that stands in one of the launcher's buffers: a text
// longer than kBufferCapacity - 1 is cut to fit before it is expanded.
void expandVariables(std::string& text);
