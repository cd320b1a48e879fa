#pragma once

#include "jvm/RegistryLocations.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The decisions of the registry sources, apart from the reading: which
// JavaSoft key "CurrentVersion" points to, in which order version subkeys are
// tried, how a located runtime's key name becomes a path, which homes an
// installations list names, and which of two accepted runtimes is kept.
// Versions are ordered by compareVersions (numbers, not bytes).

// A runtime that a source accepted: its java.exe as the check left it, and
// the version the check determined.
struct FoundRuntime {
    std::string path;
    std::string version;
};

// `candidate` replaces `best` only when there is no best yet or it is
// strictly newer: of equal versions the one already kept stays. Every
// "greatest version" choice of the registry sources goes through here, the
// runtime that wins ties being the one put in first.
void takeIfNewer(std::optional<FoundRuntime>& best, FoundRuntime candidate);

// The key that the two "CurrentVersion" names select (each already empty when
// it was unreadable or outside the limits): the JDK's when its name is the
// newer, else the JRE's. Nothing when the selected name is empty: an empty
// name names no runtime, and the family key itself is not one.
struct CurrentVersionChoice {
    JavaSoftFamily family;
    std::string name;
};
std::optional<CurrentVersionChoice> chooseCurrentVersion(std::string_view jdkName, std::string_view jreName);

// The version subkey names within the limits (versionInRange), newest first;
// names that order equal keep their enumeration order.
std::vector<std::string> versionNamesGreatestFirst(std::vector<std::string> names, std::string_view minVersion,
                                                   std::string_view maxVersion);

// A located runtime's key name is its java.exe path with "/" for every
// backslash (a key name cannot hold one).
std::string locatedJavaExePath(std::string_view keyName);

// The runtime homes of an installations list: every non-empty ";"-separated
// directory followed by "\jre", in list order. A home that would not fit a
// candidate buffer with its terminator is left out rather than cut.
std::vector<std::string> previousInstallationHomes(std::string_view list);
