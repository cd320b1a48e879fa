#include "jvm/RegistrySources.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "log/Log.h"
#include "jvm/RegistryChoice.h"
#include "jvm/VendorRegistrations.h"
#include "jvm/VersionRules.h"
#include "jvm/win/RegistryReading.h"

#include <optional>

namespace {

constexpr const char* kJdkKey = "SOFTWARE\\JavaSoft\\Java Development Kit";
constexpr const char* kJreKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr const char* kLocatedKey = "SOFTWARE\\corvanta\\zelkor\\locatedjvms\\";
constexpr const char* kInstallationsKey = "SOFTWARE\\corvanta\\brantel\\installations";

// "CurrentVersion" holds a short version name; anything longer is not one.
constexpr size_t kCurrentVersionCapacity = 100;

const char* familyKey(JavaSoftFamily family) {
    return family == JavaSoftFamily::DevelopmentKit ? kJdkKey : kJreKey;
}

bool jdkRequired() { return configInt(config::kRequireJdk) != 0; }

bool hasChecks(const CandidateChecks& checks) { return checks.findJavaExeInHome && checks.checkJavaExe; }

// The result of a source, into the caller's outputs only when there is one.
bool deliver(const std::optional<FoundRuntime>& found, std::string& path, std::string& version) {
    if (!found) return false;
    path = found->path;
    version = found->version;
    return true;
}

// A Java home through findJavaExeInHome and checkJavaExe. An empty home names
// no directory (it would become the root of the current drive).
std::optional<FoundRuntime> checkHome(const std::string& home, const std::string& minVersion,
                                      const std::string& maxVersion, const CandidateChecks& checks) {
    if (home.empty() || !hasChecks(checks)) return std::nullopt;
    FoundRuntime candidate;
    if (!checks.findJavaExeInHome(home, candidate.path)) return std::nullopt;
    if (!checks.checkJavaExe(candidate.path, candidate.version, minVersion, maxVersion, false)) return std::nullopt;
    return candidate;
}

// The "JavaHome" of a JavaSoft runtime key.
std::optional<FoundRuntime> checkRuntimeKey(HKEY key, const std::string& minVersion, const std::string& maxVersion,
                                            const CandidateChecks& checks) {
    const std::optional<std::string> home = readTextValue(key, "JavaHome", kBufferCapacity);
    if (!home) return std::nullopt;
    return checkHome(*home, minVersion, maxVersion, checks);
}

// A family's "CurrentVersion", empty when unreadable or outside the limits.
std::string currentVersionName(JavaSoftFamily family, const std::string& minVersion,
                               const std::string& maxVersion) {
    const RegistryKey key = openKeyForReading(HKEY_LOCAL_MACHINE, familyKey(family));
    if (!key) return {};
    std::optional<std::string> name = readTextValue(key.get(), "CurrentVersion", kCurrentVersionCapacity);
    if (!name || !versionInRange(*name, minVersion, maxVersion)) return {};
    return std::move(*name);
}

std::optional<FoundRuntime> javaSoftCurrent(const std::string& minVersion, const std::string& maxVersion,
                                            const CandidateChecks& checks) {
    const std::string jdkName = currentVersionName(JavaSoftFamily::DevelopmentKit, minVersion, maxVersion);
    const std::string jreName =
        jdkRequired() ? std::string() : currentVersionName(JavaSoftFamily::RuntimeEnvironment, minVersion, maxVersion);
    const std::optional<CurrentVersionChoice> choice = chooseCurrentVersion(jdkName, jreName);
    if (!choice) return std::nullopt;
    const RegistryKey key =
        openKeyForReading(HKEY_LOCAL_MACHINE, std::string(familyKey(choice->family)) + "\\" + choice->name);
    if (!key) return std::nullopt;
    return checkRuntimeKey(key.get(), minVersion, maxVersion, checks);
}

std::optional<FoundRuntime> javaSoftVersions(JavaSoftFamily family, const std::string& minVersion,
                                             const std::string& maxVersion, const CandidateChecks& checks) {
    const RegistryKey familyKeyOpened = openKeyForReading(HKEY_LOCAL_MACHINE, familyKey(family));
    if (!familyKeyOpened) return std::nullopt;
    for (const std::string& name :
         versionNamesGreatestFirst(subkeyNames(familyKeyOpened.get()), minVersion, maxVersion)) {
        const RegistryKey versionKey = openKeyForReading(familyKeyOpened.get(), name);
        if (!versionKey) continue;
        if (std::optional<FoundRuntime> found = checkRuntimeKey(versionKey.get(), minVersion, maxVersion, checks))
            return found;
    }
    return std::nullopt;
}

std::optional<FoundRuntime> javaSoft(const std::string& minVersion, const std::string& maxVersion,
                                     const CandidateChecks& checks) {
    if (std::optional<FoundRuntime> found = javaSoftCurrent(minVersion, maxVersion, checks)) return found;
    if (!jdkRequired()) {
        if (std::optional<FoundRuntime> found =
                javaSoftVersions(JavaSoftFamily::RuntimeEnvironment, minVersion, maxVersion, checks))
            return found;
    }
    return javaSoftVersions(JavaSoftFamily::DevelopmentKit, minVersion, maxVersion, checks);
}

std::optional<FoundRuntime> located(RegistryHive hive, const std::string& minVersion, const std::string& maxVersion,
                                    const CandidateChecks& checks) {
    if (!hasChecks(checks)) return std::nullopt;
    const RegistryKey key = openKeyForReading(hiveKey(hive), kLocatedKey);
    if (!key) return std::nullopt;
    // Every located runtime is checked: the newest is known only after all are.
    std::optional<FoundRuntime> best;
    for (const std::string& name : subkeyNames(key.get())) {
        FoundRuntime candidate{locatedJavaExePath(name), {}};
        if (checks.checkJavaExe(candidate.path, candidate.version, minVersion, maxVersion, true))
            takeIfNewer(best, std::move(candidate));
    }
    return best;
}

// The user's list is searched first, but of equal versions the machine's runtime wins.
std::optional<FoundRuntime> locatedInBothHives(const std::string& minVersion, const std::string& maxVersion,
                                               const CandidateChecks& checks) {
    std::optional<FoundRuntime> user = located(RegistryHive::CurrentUser, minVersion, maxVersion, checks);
    std::optional<FoundRuntime> best = located(RegistryHive::LocalMachine, minVersion, maxVersion, checks);
    if (user) takeIfNewer(best, std::move(*user));
    return best;
}

using KeyPatternSegments = std::vector<std::vector<std::string_view>>;

bool matchesEverySubkey(const std::vector<std::string_view>& segment) {
    return segment.size() == 1 && segment.front() == "*";
}

bool hasAlternatives(const std::vector<std::string_view>& segment) { return segment.size() > 1; }

// "<parent>\<name>", or `name` alone below no parent.
std::string subkeyPath(std::string_view parent, std::string_view name) {
    std::string path(parent);
    if (!path.empty()) path += '\\';
    path += name;
    return path;
}

// The paths that `base` followed by the fixed segments [from, to) spells: one
// per combination of their alternatives, in the pattern's order.
std::vector<std::string> joinedPaths(const std::string& base, const KeyPatternSegments& segments, size_t from,
                                     size_t to) {
    std::vector<std::string> paths{base};
    for (size_t depth = from; depth < to; ++depth) {
        std::vector<std::string> longer;
        for (const std::string& path : paths)
            for (std::string_view alternative : segments[depth])
                longer.push_back(subkeyPath(path, alternative));
        paths = std::move(longer);
    }
    return paths;
}

// The end of the run of fixed segments from `depth` on that `stopsRun` does not end.
template <typename Predicate>
size_t runEnd(const KeyPatternSegments& segments, size_t depth, Predicate stopsRun) {
    while (depth < segments.size() && !matchesEverySubkey(segments[depth]) && !stopsRun(segments[depth])) ++depth;
    return depth;
}

// The homes that the keys matching `segments` (from `depth` on) below
// `key`\`base` name in `valueName`, in the order the patterns and the system
// list them. Every call to the registry counts (under Wine each is a round
// trip to the server), so keys are opened by whole paths where that cannot
// cost more: the base goes into the first open (the packages' keys are opened
// from the hive, not from an opened "SOFTWARE"); a run of fixed segments
// without alternatives is one path; a segment with alternatives is opened one
// alternative at a time, so that a package that is not installed costs one
// failed open; below a listed name every combination of the fixed segments up
// to the next "*" is one path.
void collectVendorHomes(HKEY key, std::string_view base, const KeyPatternSegments& segments, size_t depth,
                        const char* valueName, std::vector<std::string>& homes) {
    const auto openAndCollect = [&](const std::string& path, size_t next) {
        const RegistryKey subkey = openKeyForReading(key, subkeyPath(base, path));
        if (subkey) collectVendorHomes(subkey.get(), {}, segments, next, valueName, homes);
    };
    const bool needsTheKeyItself = depth == segments.size() || matchesEverySubkey(segments[depth]);
    if (needsTheKeyItself && !base.empty()) {
        const RegistryKey opened = openKeyForReading(key, std::string(base));
        if (opened) collectVendorHomes(opened.get(), {}, segments, depth, valueName, homes);
        return;
    }
    if (depth == segments.size()) {
        if (const std::optional<std::string> home = readTextValue(key, valueName, kBufferCapacity))
            homes.push_back(normalizedJavaHome(*home));
        return;
    }
    if (matchesEverySubkey(segments[depth])) {
        const size_t next = runEnd(segments, depth + 1, [](const auto&) { return false; });
        for (const std::string& name : subkeyNames(key))
            for (const std::string& path : joinedPaths(name, segments, depth + 1, next)) openAndCollect(path, next);
    } else if (hasAlternatives(segments[depth])) {
        for (std::string_view alternative : segments[depth]) openAndCollect(std::string(alternative), depth + 1);
    } else {
        const size_t next = runEnd(segments, depth, hasAlternatives);
        openAndCollect(joinedPaths({}, segments, depth, next).front(), next);
    }
}

std::optional<FoundRuntime> vendors(const std::string& minVersion, const std::string& maxVersion,
                                    const CandidateChecks& checks) {
    std::optional<FoundRuntime> best;
    for (const VendorRegistration& registration : kVendorRegistrations) {
        const std::string valueName(registration.valueName);
        const auto segments = keyPatternSegments(registration.keyPattern);
        for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            std::vector<std::string> homes;
            collectVendorHomes(hive, "SOFTWARE", segments, 0, valueName.c_str(), homes);
            for (const std::string& home : homes) {
                logMessage("registered by %.*s: %s", static_cast<int>(registration.vendor.size()),
                           registration.vendor.data(), home.c_str());
                if (std::optional<FoundRuntime> found = checkHome(home, minVersion, maxVersion, checks))
                    takeIfNewer(best, std::move(*found));
            }
        }
    }
    return best;
}

}  // namespace

bool findVendorRegistryJVM(std::string& path, const std::string& minVersion, const std::string& maxVersion,
                           const CandidateChecks& checks) {
    std::string version;
    const bool found = deliver(vendors(minVersion, maxVersion, checks), path, version);
    if (found) logMessage("found registered %s %s", path.c_str(), version.c_str());
    return found;
}

bool findJavaSoftCurrentJVM(std::string& path, std::string& version, const std::string& minVersion,
                            const std::string& maxVersion, const CandidateChecks& checks) {
    return deliver(javaSoftCurrent(minVersion, maxVersion, checks), path, version);
}

bool findJavaSoftVersionsJVM(JavaSoftFamily family, std::string& path, std::string& version,
                             const std::string& minVersion, const std::string& maxVersion,
                             const CandidateChecks& checks) {
    return deliver(javaSoftVersions(family, minVersion, maxVersion, checks), path, version);
}

bool findJavaSoftJVM(std::string& path, std::string& version, const std::string& minVersion,
                     const std::string& maxVersion, const CandidateChecks& checks) {
    return deliver(javaSoft(minVersion, maxVersion, checks), path, version);
}

bool findLocatedJVM(RegistryHive hive, std::string& path, std::string& version, const std::string& minVersion,
                    const std::string& maxVersion, const CandidateChecks& checks) {
    return deliver(located(hive, minVersion, maxVersion, checks), path, version);
}

bool findRegistryJVM(std::string& path, const std::string& minVersion, const std::string& maxVersion,
                     const CandidateChecks& checks) {
    // Both always run: the located runtimes may hold a newer one.
    std::optional<FoundRuntime> fromJavaSoft = javaSoft(minVersion, maxVersion, checks);
    std::optional<FoundRuntime> best = locatedInBothHives(minVersion, maxVersion, checks);
    if (fromJavaSoft) logMessage("found sun %s %s", fromJavaSoft->path.c_str(), fromJavaSoft->version.c_str());
    if (best) logMessage("found located %s %s", best->path.c_str(), best->version.c_str());
    if (fromJavaSoft) takeIfNewer(best, std::move(*fromJavaSoft));
    if (!best) return false;
    path = best->path;
    return true;
}

bool findPreviousInstallationJVM(RegistryHive hive, std::string& path, const std::string& minVersion,
                                 const std::string& maxVersion, const CandidateChecks& checks) {
    char valueName[kBufferCapacity];
    configString(config::kPreviousInstallDirectoriesValue, valueName, sizeof valueName);
    if (valueName[0] == '\0') return false;
    const RegistryKey key = openKeyForReading(hiveKey(hive), kInstallationsKey);
    if (!key) return false;
    const std::optional<std::string> list = readTextValue(key.get(), valueName, kBufferCapacity);
    if (!list || list->empty()) return false;
    logMessage("found installations: %s", list->c_str());
    for (const std::string& home : previousInstallationHomes(*list)) {
        if (std::optional<FoundRuntime> found = checkHome(home, minVersion, maxVersion, checks)) {
            path = found->path;
            return true;
        }
    }
    return false;
}
