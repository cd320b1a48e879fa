#pragma once

#include "jvm/SearchSequence.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Texts derived from a java.exe for finding and loading its JVM library.

// The directory of a java.exe or javaw.exe path, without the backslash before
// the file name: the name counts nine characters when the path ends in
// "javaw.exe", eight otherwise.
std::string javaExeDirectory(std::string_view javaExe);

// `jvmHome`: that directory followed by "\..".
std::string jvmHomeOf(std::string_view javaExe);

// The second place a JDK keeps its JVM library: "<directory>\..\jre\bin\java.exe".
std::string jreFallbackOf(std::string_view javaExe);

// The bin directories whose JVM library the loader tries for a java.exe: its
// own, then "..\jre\bin" beside it (a JDK whose bin holds no JVM library).
std::vector<std::string> jvmLibraryBinDirectories(std::string_view javaExe);

// The JVM libraries tried in one bin directory, in the loader's order: the
// preferred sub-directory (key 152, at most 199 characters) when one is
// configured, then hotspot, client, server, classic and jrockit.
std::vector<std::string> jvmLibraryPaths(const std::string& binDirectory);

// PATH buffers hold this many characters, the runtime's bin directory fewer
// than kLongestBinDirectory.
inline constexpr size_t kPathVariableCapacity = 16384;
inline constexpr size_t kLongestBinDirectory = 2000;

// `path` followed by ";" and `binDirectory`, or nothing when either does not
// fit its buffer (PATH is then left as it is rather than cut).
std::optional<std::string> pathWithBinDirectory(std::string_view path, std::string_view binDirectory);

// The message shown when no runtime could be used: its key and the text for
// its "{0}" (none for key 1005).
struct LoadFailureMessage {
    int32_t key;
    std::optional<std::string> detail;
};
LoadFailureMessage loadFailureMessage(LocationType type, const std::string& location, bool sixtyFourBit);
