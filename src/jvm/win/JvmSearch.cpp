#include "jvm/win/JvmSearch.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/Win32Text.h"
#include "log/Log.h"
#include "files/PackedRuntime.h"
#include "files/PathUtilities.h"
#include "jvm/JavaCandidate.h"
#include "jvm/RegistrySources.h"
#include "jvm/VendorRegistrations.h"
#include "text/VariableExpansion.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct Limits {
    std::string minVersion;
    std::string maxVersion;
};

std::string configText(int32_t key) {
    char value[kBufferCapacity];
    configString(key, value, sizeof value);
    return value;
}

// The first line of a location file below the installation directory, without
// its line ends. A line that does not fit the buffer names no directory.
std::optional<std::string> readLocationFile(const char* fileName) {
    const std::string path = fullPath(configText(config::kApplicationDirectory), true) + fileName;
    FILE* file = std::fopen(path.c_str(), "rt");
    if (file == nullptr) return std::nullopt;
    char line[kBufferCapacity];
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    const bool complete = read && (std::strchr(line, '\n') != nullptr || std::feof(file));
    std::fclose(file);
    if (!read) return std::nullopt;
    if (!complete) {
        logError("location file %s ignored: its first line is longer than %d", path.c_str(),
                 static_cast<int>(kBufferCapacity - 1));
        return std::nullopt;
    }
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// The home keeps its case: the check lower-cases the runtime's identity
// itself, and the file lookups in between are cheaper in the disk's own case.
bool checkHomeDirectory(const Limits& limits, const std::string& home, bool skipVersionCheck, std::string& path) {
    const std::string resolved = fullPath(home, true);
    preparePackedRuntime(resolved);
    const bool found = findJavaExeInHome(resolved, path);
    if (skipVersionCheck) return true;
    std::string version;
    return found && checkJavaExe(path, version, limits.minVersion, limits.maxVersion, true);
}

// Quotes around the value and a closing separator name the same home.
bool checkEnvironmentHome(const Limits& limits, const std::string& variable, std::string& path) {
    const std::optional<std::string> value = environmentValue(variable.c_str());
    if (!value) return false;
    std::string home = normalizedJavaHome(*value);
    std::replace(home.begin(), home.end(), '/', '\\');
    std::string version;
    return findJavaExeInHome(home, path) && checkJavaExe(path, version, limits.minVersion, limits.maxVersion, false);
}

bool checkPathJavaExe(const Limits& limits, std::string& path) {
    const std::optional<std::string> found = boundedText([](char* buffer, DWORD capacity) {
        return ::SearchPathA(nullptr, "java.exe", nullptr, capacity, buffer, nullptr);
    });
    if (!found) return false;
    path = *found;
    std::string version;
    return checkJavaExe(path, version, limits.minVersion, limits.maxVersion, false);
}

}  // namespace

SearchResult findJavaRuntime() {
    const Limits limits{configText(config::kMinVersion), configText(config::kMaxVersion)};
    candidateDiary() = SearchDiary(limits.minVersion, limits.maxVersion);
    const std::string sequence = configText(config::kJvmSearchSequence);
    const CandidateChecks checks{findJavaExeInHome, checkJavaExe};

    SearchSources sources;
    sources.readLocationFile = readLocationFile;
    sources.checkHomeDirectory = [&limits](const std::string& home, bool skip, std::string& path) {
        return checkHomeDirectory(limits, home, skip, path);
    };
    sources.checkEnvironmentHome = [&limits](const std::string& variable, std::string& path) {
        return checkEnvironmentHome(limits, variable, path);
    };
    sources.checkPathJavaExe = [&limits](std::string& path) { return checkPathJavaExe(limits, path); };
    sources.findRegistryJVM = [&](std::string& path) {
        return findRegistryJVM(path, limits.minVersion, limits.maxVersion, checks);
    };
    sources.findVendorRegistryJVM = [&](std::string& path) {
        return findVendorRegistryJVM(path, limits.minVersion, limits.maxVersion, checks);
    };
    sources.findPreviousInstallationJVM = [&](RegistryHive hive, std::string& path) {
        return findPreviousInstallationJVM(hive, path, limits.minVersion, limits.maxVersion, checks);
    };
    sources.expand = [](std::string& text) { expandVariables(text); };
    sources.exists = [](const std::string& path) { return pathExists(path); };
    sources.enterStep = [](const SearchStep& step) { candidateDiary().enterStep(step); };
    return searchJVM(sequence, sources);
}
