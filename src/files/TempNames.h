#pragma once

#include <string>
#include <string_view>

// The temporary directory is named after an empty file that reserved a unique
// name: "<file>_dir<seconds>". Returns that file's name, or "" when `tempDir`
// does not have this form.
std::string reservationFileOf(std::string_view tempDir);
