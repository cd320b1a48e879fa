#pragma once

#include "core/Callback.h"
#include "jvm/RegistrySources.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The order in which the launcher looks for a Java runtime: a fixed frame of
// steps around the configured search sequence (key 128). The frame is decided
// here, free of system calls; the sources themselves come in through
// SearchSources, so tests can watch the order.

// How the chosen runtime was found; the values are the ones the launcher has
// always used.
enum LocationType {
    LOCATION_NONE = 0,
    LOCATION_PATH = 1,
    LOCATION_DIRECTORY = 2,
    LOCATION_ENVIRONMENT = 3,
    LOCATION_REGISTRY = 4,
};

// A step of the search as the candidates it looks at are described: what its
// runtime counts as when chosen, the kind of step (an entry's form name such
// as "bundled" or "environment", or a step of the frame) and its argument as
// the step uses it.
struct SearchStep {
    LocationType type = LOCATION_NONE;
    std::string kind;
    std::string argument;
};

// One entry of the sequence: a type letter and its argument (possibly empty).
struct SearchEntry {
    char letter;
    std::string argument;
};

// The ";"-separated entries, empty ones dropped.
std::vector<SearchEntry> splitSearchSequence(std::string_view sequence);

// Whether a directory entry takes part in the fallback pass: B always, A and
// R only with a relative argument (absolute: longer than one character and a
// ":" second, or a leading "\\").
bool takesPartInFallbackPass(const SearchEntry& entry);

// The sources, each writing the java.exe it accepts into `path`.
struct SearchSources {
    // The first line of a location file below the installation directory, if any.
    Callback<std::optional<std::string>(const char* fileName)> readLocationFile;
    // A Java home, with or without the version check.
    Callback<bool(const std::string& home, bool skipVersionCheck, std::string& path)> checkHomeDirectory;
    // The Java home named by an environment variable.
    Callback<bool(const std::string& variable, std::string& path)> checkEnvironmentHome;
    // java.exe on the executable search path.
    Callback<bool(std::string& path)> checkPathJavaExe;
    // The registry sources of a "Y" entry, and the vendors' keys of a "V" entry.
    Callback<bool(std::string& path)> findRegistryJVM;
    Callback<bool(std::string& path)> findVendorRegistryJVM;
    Callback<bool(RegistryHive hive, std::string& path)> findPreviousInstallationJVM;
    // Expands the placeholders of an entry's argument.
    Callback<void(std::string& text)> expand;
    Callback<bool(const std::string& path)> exists;
    // Told before each step looks for a runtime; may be left empty.
    Callback<void(const SearchStep& step)> enterStep;
};

struct SearchResult {
    LocationType type = LOCATION_NONE;
    std::string location;  // how the runtime was named: a directory as written, a variable name
    std::string path;      // the chosen java.exe (or javaw.exe)
};

inline constexpr const char* kPreferredLocationFile = "\\.brantel\\pref_jre.cfg";
inline constexpr const char* kInstallerLocationFile = "\\.brantel\\inst_jre.cfg";

// Walks the frame: preferred location, the sequence, installer location, the
// fallback pass, previous installations, ZELKOR_JAVA_HOME, BRANTEL_JAVA_HOME.
SearchResult searchJVM(std::string_view sequence, const SearchSources& sources);
