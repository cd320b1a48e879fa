#pragma once

#include <cstddef>

// Expands the launcher's placeholders and environment references in `text`
// in place, within `capacity` bytes.
void expandVariables(char* text, size_t capacity);
