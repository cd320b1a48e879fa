#include "jvm/CandidateCheck.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/PayloadValues.h"
#include "log/Log.h"
#include "jvm/VersionRules.h"

#include <algorithm>

namespace {

constexpr std::string_view kVersionCacheRoot = "SOFTWARE\\corvanta\\zelkor\\jvms\\";
constexpr size_t kLongestPath = kBufferCapacity - 1;

bool prereleaseAllowed(bool allowBeta) { return allowBeta || configInt(config::kAllowPrereleaseJvm) != 0; }

// The version from the cache, else from a "-version" run (which refreshes the
// cache); then whether the limits accept it.
bool judgeVersion(const std::string& path, FileTimeStamp lastWriteTime, std::string& version,
                  const std::string& minVersion, const std::string& maxVersion, bool allowBeta,
                  const CandidateSystem& system) {
    const std::optional<std::string> cached = system.readCachedVersion(path, lastWriteTime);
    const std::string_view cachedVersion = cached ? cachedVersionText(*cached) : std::string_view();
    if (!cachedVersion.empty() && cachedVersion != kFailedVersionMarker) {
        version = cachedVersion;
        logMessage("got version from registry %s", version.c_str());
        return acceptVersion(version, minVersion, maxVersion, prereleaseAllowed(allowBeta));
    }
    const VersionRun run = system.runJavaVersion(path);
    if (run.outcome == VersionRun::Outcome::Version) {
        version = run.version;
        logMessage("got version from execution %s", version.c_str());
        system.writeCachedVersion(path, lastWriteTime, version);
        return acceptVersion(version, minVersion, maxVersion, prereleaseAllowed(allowBeta));
    }
    // A runtime that failed is marked, not remembered: the marker is never a
    // cache hit, so it is run again next time. One that did not finish is not
    // marked at all.
    if (run.outcome == VersionRun::Outcome::NonZeroExit)
        system.writeCachedVersion(path, lastWriteTime, std::string(kFailedVersionMarker));
    logMessage("couldn't get version");
    return false;
}

}  // namespace

bool findJavaExeInHome(const std::string& home, std::string& javaExe, const CandidateSystem& system) {
    const std::string jreJava = home + "\\jre\\bin\\java.exe";
    if (jreJava.size() > kLongestPath) return false;
    javaExe = jreJava;
    if (configInt(config::kRequireJdk) != 0) return system.exists(home + "\\lib\\tools.jar");
    // Whether the bin form exists is the check's business.
    if (!system.exists(javaExe)) javaExe = home + "\\bin\\java.exe";
    return true;
}

bool checkJavaExe(std::string& path, std::string& version, const std::string& minVersion,
                  const std::string& maxVersion, bool allowBeta, const CandidateSystem& system) {
    logMessage("checkJavaExe (%s, [out], %s, %s, %d)", path.c_str(), minVersion.c_str(), maxVersion.c_str(),
               allowBeta ? 1 : 0);
    path = system.normalise(path);

    bool result = false;
    FileTimeStamp lastWriteTime = 0;
    if (!system.findFile(path, lastWriteTime)) {
        logMessage("file doesn't exist");
    } else {
        logMessage("file exists");
        version.clear();
        result = judgeVersion(path, lastWriteTime, version, minVersion, maxVersion, allowBeta, system);
    }

    if (result && configInt(config::kLauncherKind) == config::kLauncherKindGui) {
        // The GUI launcher starts javaw.exe, which must be there too.
        const std::optional<std::string> javaw = javawPathOf(path);
        result = javaw.has_value();
        if (javaw) {
            path = *javaw;
            result = system.exists(path);
        }
    }
    logMessage("checkJavaExe returning %d", result ? 1 : 0);
    return result;
}

std::string versionCacheKeyName(std::string_view normalisedPath) {
    std::string name(kVersionCacheRoot);
    name.append(normalisedPath);
    std::replace(name.begin() + static_cast<std::ptrdiff_t>(kVersionCacheRoot.size()), name.end(), '\\', '/');
    return name;
}

std::string versionCommandLine(std::string_view program) {
    std::string line = "\"";
    line.append(program);
    line += "\" -version";
    return line;
}

std::optional<std::string> javawPathOf(std::string_view javaExe) {
    constexpr std::string_view kJavawEnding = "w.exe";
    if (javaExe.size() < 4 || javaExe.size() - 4 + kJavawEnding.size() > kLongestPath) return std::nullopt;
    std::string javaw(javaExe.substr(0, javaExe.size() - 4));
    javaw.append(kJavawEnding);
    return javaw;
}
