#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text rules for the launcher's own path, and the case folding the
// launcher's file names share.

// ASCII letters in lower case, every other byte as it is: Windows file names
// ignore case, and the names compared here are ASCII.
constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `text` ends with `lowerSuffix` (written in lower case), ignoring ASCII case.
bool endsWithIgnoringCase(std::string_view text, std::string_view lowerSuffix);

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

// A drive root: the text from the second character is exactly ":\", ":\."
// or ":\.\.".
bool isDriveRoot(std::string_view path);

// The ";"-separated entries of a list in their order, empty entries dropped;
// the last entry needs no ";". Search paths and the embedded file names are
// both written this way.
std::vector<std::string> splitPathList(std::string_view list);
