#pragma once

#include <string>
#include <string_view>

// Text rules for the launcher's own path.

// Replaces every run of backslashes that begins after the first character by
// one backslash; a leading "\\" (a network path) stays.
void collapseBackslashRuns(std::string& path);
void collapseBackslashRuns(std::u16string& path);

// The path ends in ".exe", compared without regard to case.
bool hasExeExtension(std::string_view path);

// Relative unless the text from the second character starts with ":\" or the
// text starts with "\\"; a leading double quote is skipped. Texts shorter than
// three characters (four with the quote) are relative.
bool isRelativePath(std::string_view path);
