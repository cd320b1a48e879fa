#pragma once

#include <array>
#include <string>
#include <string_view>

// Where the parts of a packed runtime live, and when a home still needs its
// jars unpacked. Paths are narrow, in the file API code page.

// The jars a runtime may ship as "<jar>.pack", relative to its home, in the
// order they are unpacked. jsse.jar comes last: its presence says that every
// jar before it is in place.
inline constexpr std::array<std::string_view, 7> kPackedJars = {
    "lib\\rt.jar",      "lib\\jfxrt.jar", "lib\\charsets.jar",          "lib\\plugin.jar",
    "lib\\deploy.jar",  "lib\\ext\\localedata.jar", "lib\\jsse.jar",
};

inline constexpr std::string_view kPackSuffix = ".pack";

// `relative` below `home`, with exactly one backslash between them.
std::string homePath(std::string_view home, std::string_view relative);

// "<home>\<jar>.pack".
std::string packPathOf(std::string_view home, std::string_view jar);

// The jar that a pack unpacks to: the pack's path without ".pack" (in any
// letter case); "" when the path does not end in ".pack" or is nothing else.
std::string jarPathOfPack(std::string_view pack);

// "<home>\bin\unpack200.exe".
std::string unpackToolPath(std::string_view home);

// The tool's command line after its name: -r "<pack>" "<jar>". -r asks the
// tool to remove the pack once it has written the jar.
std::string unpackArguments(std::string_view pack, std::string_view jar);

// A home needs unpacking while one of the packs is there, unless jsse.jar is
// there without its own pack. Testing for any pack (not only rt.jar's) lets a
// preparation that was cut short resume: each pack is removed only after its
// jar was written, and a failure stops before jsse.jar. A jsse.jar beside its
// pack was cut short while being written (or its pack could not be removed,
// and writing it again does no harm). A home that ships jsse.jar unpacked
// beside a packed rt.jar has always been left alone, and still is.
template <typename Exists>
bool needsUnpacking(std::string_view home, Exists exists) {
    const std::string_view marker = kPackedJars.back();
    if (exists(homePath(home, marker)) && !exists(packPathOf(home, marker))) return false;
    for (const std::string_view jar : kPackedJars) {
        if (exists(packPathOf(home, jar))) return true;
    }
    return false;
}

// The name of the mutex that lets one launcher at a time unpack `foldedHome`,
// a full and lower-cased path (so that every spelling of one home meets the
// same mutex). Backslashes, which object names reserve for namespaces, become
// "/", which no Windows path contains, so two homes never share a name. A
// home too long for an object name is cut to its end, led by a hash of the
// whole path.
std::string unpackMutexName(std::string_view foldedHome);

// Object names are limited to MAX_PATH characters.
inline constexpr size_t kLongestMutexName = 259;
