#pragma once

#include <string_view>

// Windows opens a device, not a file, for a path component that names one:
// "NUL", "con.txt", "Com1 .jar" all reach a device in any directory. The
// component is compared without regard to case, up to its first dot, with
// trailing blanks ignored.
bool isDeviceName(std::string_view component);
