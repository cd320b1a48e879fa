#pragma once

#include <string>
#include <string_view>
#include <vector>

// The names of the embedded files, each ended by ";" in payload order; empty
// pieces are skipped.
std::vector<std::string> splitEmbeddedNames(std::string_view names);

// A name that stays inside the temporary directory: not absolute, no drive,
// no ".." component, no component that names a device, not empty. Anything
// else would let a payload write wherever it likes.
bool isContainedName(std::string_view name);
