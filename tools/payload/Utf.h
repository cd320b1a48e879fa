#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16 for the tools' text interfaces. Invalid input bytes become
// U+FFFD; unpaired surrogates are written as "?" in UTF-8.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// Paths from the tools' UTF-8 texts (command-line words, configuration
// values) and back into messages. On Windows a path made from a narrow string
// would take it in the ANSI code page, and string() would convert it into
// that code page, losing what it cannot hold; there both go through UTF-16.
std::filesystem::path utf8Path(std::string_view text);
std::string pathText(const std::filesystem::path& path);
