#pragma once

#include <string_view>

// The names of the embedded files come as a ";" list: split them with
// splitPathList (core/PathText.h).

// A name that stays inside the temporary directory: not absolute, no drive,
// no ".." component, no component that names a device, not empty. Anything
// else would let a payload write wherever it likes.
bool isContainedName(std::string_view name);
