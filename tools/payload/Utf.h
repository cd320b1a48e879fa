#pragma once

#include <string>
#include <string_view>

// UTF-8 <-> UTF-16 for the tools' text interfaces. Invalid input bytes become
// U+FFFD; unpaired surrogates are written as "?" in UTF-8.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
