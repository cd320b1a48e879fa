#pragma once

#include <string>
#include <string_view>

// Narrow payload values are read by the launcher in the system ANSI code page.
// The generator writes them in Windows-1252, the ANSI code page of Western
// systems, so that a configuration file in UTF-8 reaches the launcher as
// written; characters outside it are refused rather than turned into "?".
namespace generator {

// Returns false and leaves `ansi` untouched when `utf8` holds a character that
// Windows-1252 cannot represent; `bad` then names it.
bool utf8ToAnsi(std::string_view utf8, std::string& ansi, std::string& bad);
std::string ansiToUtf8(std::string_view ansi);

}  // namespace generator
