#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a command line or option text into words and appends them to `out`.
// Only U+0020 separates words; tabs are ordinary characters. There is no
// escape character: a quote gets into a word only inside quotes of the other
// kind. A quoted section joins whatever stands right before its opening quote,
// and text right after its closing quote starts a new word, so x'y z'w gives
// "xy z" and "w". An unterminated quote runs to the end of the text.
void splitCommandLine(std::u16string_view text, std::vector<std::u16string>& out);

// The part of an ANSI command line that the C runtime hands to WinMain: the
// program word (a quoted one up to its closing quote, otherwise up to the
// first blank) and the spaces and tabs after it are cut off. The result is a
// suffix of `commandLine`, never a copy.
std::string_view commandTail(std::string_view commandLine);
