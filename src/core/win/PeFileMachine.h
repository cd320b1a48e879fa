#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The machine field of the PE image at `path` (a narrow path), read from the
// file's leading bytes; nothing when the file cannot be opened or read or is
// no PE image. The file is opened for reading, sharing everything.
std::optional<uint16_t> peFileMachine(const std::string& path);
