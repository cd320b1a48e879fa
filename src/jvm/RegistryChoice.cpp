#include "jvm/RegistryChoice.h"

#include "core/BufferCapacity.h"
#include "core/PathText.h"
#include "jvm/VersionRules.h"

#include <algorithm>

void takeIfNewer(std::optional<FoundRuntime>& best, FoundRuntime candidate) {
    if (!best || compareVersions(candidate.version, best->version) > 0) best = std::move(candidate);
}

std::optional<CurrentVersionChoice> chooseCurrentVersion(std::string_view jdkName, std::string_view jreName) {
    // Equal names select the JRE: the JDK must be strictly newer to be chosen.
    const bool jdkIsNewer = compareVersions(jdkName, jreName) > 0;
    const std::string_view name = jdkIsNewer ? jdkName : jreName;
    if (name.empty()) return std::nullopt;
    return CurrentVersionChoice{jdkIsNewer ? JavaSoftFamily::DevelopmentKit : JavaSoftFamily::RuntimeEnvironment,
                                std::string(name)};
}

std::vector<std::string> versionNamesGreatestFirst(std::vector<std::string> names, std::string_view minVersion,
                                                   std::string_view maxVersion) {
    std::erase_if(names, [&](const std::string& name) { return !versionInRange(name, minVersion, maxVersion); });
    // The order is total (equal numbers fall back to the texts), so any sort
    // gives the same list. A key holds a handful of version subkeys: sorting
    // by insertion is quick enough and far smaller than the library's sort.
    for (size_t i = 1; i < names.size(); ++i)
        for (size_t j = i; j > 0 && compareVersions(names[j], names[j - 1]) > 0; --j) names[j].swap(names[j - 1]);
    return names;
}

std::string locatedJavaExePath(std::string_view keyName) {
    std::string path(keyName);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<std::string> previousInstallationHomes(std::string_view list) {
    constexpr std::string_view kRuntimeFolder = "\\jre";
    std::vector<std::string> homes;
    for (std::string& directory : splitPathList(list)) {
        if (directory.size() + kRuntimeFolder.size() >= kBufferCapacity) continue;
        directory.append(kRuntimeFolder);
        homes.push_back(std::move(directory));
    }
    return homes;
}
