#include "jvm/CandidateCheck.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/PayloadValues.h"
#include "core/PeImage.h"
#include "log/Log.h"
#include "jvm/JvmPaths.h"
#include "jvm/VersionRules.h"

#include <algorithm>

namespace {

constexpr std::string_view kVersionCacheRoot = "SOFTWARE\\corvanta\\zelkor\\jvms\\";
constexpr size_t kLongestPath = kBufferCapacity - 1;

bool prereleaseAllowed(bool allowBeta) { return allowBeta || configInt(config::kAllowPrereleaseJvm) != 0; }

CandidateVerdict verdictOfFit(VersionFit fit) {
    switch (fit) {
        case VersionFit::Prerelease:
            return CandidateVerdict::Prerelease;
        case VersionFit::BelowMinimum:
            return CandidateVerdict::BelowMinimum;
        case VersionFit::AboveMaximum:
            return CandidateVerdict::AboveMaximum;
        case VersionFit::Accepted:
            break;
    }
    return CandidateVerdict::Accepted;
}

CandidateVerdict verdictOfFailedRun(VersionRun::Outcome outcome) {
    switch (outcome) {
        case VersionRun::Outcome::NonZeroExit:
            return CandidateVerdict::JavaFailed;
        case VersionRun::Outcome::NoVersion:
            return CandidateVerdict::NoVersionLine;
        case VersionRun::Outcome::NotFinished:
        case VersionRun::Outcome::Version:
            break;
    }
    return CandidateVerdict::JavaHung;
}

// The version from the cache, else from a "-version" run (which refreshes the
// cache); then how it stands against the limits.
CandidateVerdict judgeVersion(const std::string& path, FileTimeStamp lastWriteTime, std::string& version,
                              const std::string& minVersion, const std::string& maxVersion, bool allowBeta,
                              const CandidateSystem& system) {
    const std::optional<std::string> cached = system.readCachedVersion(path, lastWriteTime);
    const std::string_view cachedVersion = cached ? cachedVersionText(*cached) : std::string_view();
    if (!cachedVersion.empty() && cachedVersion != kFailedVersionMarker) {
        version = cachedVersion;
        logMessage("got version from registry %s", version.c_str());
        return verdictOfFit(versionFit(version, minVersion, maxVersion, prereleaseAllowed(allowBeta)));
    }
    const VersionRun run = system.runJavaVersion(path);
    if (run.outcome == VersionRun::Outcome::Version) {
        version = run.version;
        logMessage("got version from execution %s", version.c_str());
        system.writeCachedVersion(path, lastWriteTime, version);
        return verdictOfFit(versionFit(version, minVersion, maxVersion, prereleaseAllowed(allowBeta)));
    }
    // A runtime that failed is marked, not remembered: the marker is never a
    // cache hit, so it is run again next time. One that did not finish is not
    // marked at all.
    if (run.outcome == VersionRun::Outcome::NonZeroExit)
        system.writeCachedVersion(path, lastWriteTime, std::string(kFailedVersionMarker));
    logMessage("couldn't get version");
    return verdictOfFailedRun(run.outcome);
}

// The GUI launcher starts javaw.exe, which must be there too: looked up
// beside `onDisk`, `onDisk` and `path` become its forms whenever they fit a
// buffer.
bool findJavaw(std::string& path, std::string& onDisk, const CandidateSystem& system) {
    const std::optional<std::string> javaw = javawPathOf(path);
    const std::optional<std::string> javawOnDisk = javawPathOf(onDisk);
    if (!javaw || !javawOnDisk) return false;
    path = *javaw;
    onDisk = *javawOnDisk;
    return system.exists(onDisk);
}

LibraryBitness bitnessOfMachine(std::optional<uint16_t> machine) {
    if (!machine) return LibraryBitness::Unreadable;
    if (*machine == PeImage::kMachineAmd64) return LibraryBitness::Bits64;
    if (*machine == PeImage::kMachineI386) return LibraryBitness::Bits32;
    return LibraryBitness::OtherMachine;
}

void logLibraryRefusal(CandidateVerdict verdict) {
    if (verdict == CandidateVerdict::NoJvmLibrary) logMessage("no jvm.dll found");
    if (verdict == CandidateVerdict::WrongBitness) logMessage("jvm.dll of another bitness");
}

}  // namespace

bool findJavaExeInHome(const std::string& home, std::string& javaExe, const CandidateSystem& system,
                       SearchDiary& diary) {
    const std::string jreJava = home + "\\jre\\bin\\java.exe";
    if (jreJava.size() > kLongestPath) return false;
    const std::string binJava = home + "\\bin\\java.exe";
    javaExe = jreJava;
    if (configInt(config::kRequireJdk) != 0) {
        // Up to Java 8 a JDK has lib\tools.jar and its runtime in jre. From
        // Java 9 on it has neither: javac.exe beside java.exe tells it from a JRE.
        if (system.exists(home + "\\lib\\tools.jar")) return true;
        if (system.exists(home + "\\bin\\javac.exe")) {
            javaExe = binJava;
            return true;
        }
        // The table tells a runtime that is no JDK from a home with no runtime at all.
        const bool runtimeThere = system.exists(binJava) || system.exists(jreJava);
        if (runtimeThere) logMessage("not a JDK: %s", home.c_str());
        diary.record(system.normalise(binJava), {}, LibraryBitness::NotLooked,
                     runtimeThere ? CandidateVerdict::NotAJdk : CandidateVerdict::NoJavaExe);
        return false;
    }
    // Whether the bin form exists is the check's business.
    if (!system.exists(javaExe)) javaExe = binJava;
    return true;
}

bool checkJavaExe(std::string& path, std::string& version, const std::string& minVersion,
                  const std::string& maxVersion, bool allowBeta, const CandidateSystem& system, SearchDiary& diary) {
    logMessage("checkJavaExe (%s, [out], %s, %s, %d)", path.c_str(), minVersion.c_str(), maxVersion.c_str(),
               allowBeta ? 1 : 0);
    std::string onDisk = system.resolve(path);
    path = system.normalise(path);

    CandidateVerdict verdict = CandidateVerdict::NoJavaExe;
    LibraryBitness library = LibraryBitness::NotLooked;
    FileTimeStamp lastWriteTime = 0;
    if (!system.findFile(onDisk, lastWriteTime)) {
        logMessage("file doesn't exist");
    } else {
        logMessage("file exists");
        version.clear();
        verdict = judgeVersion(path, lastWriteTime, version, minVersion, maxVersion, allowBeta, system);
        const bool gui = configInt(config::kLauncherKind) == config::kLauncherKindGui;
        if (verdict == CandidateVerdict::Accepted && gui && !findJavaw(path, onDisk, system))
            verdict = CandidateVerdict::NoJavaw;
        // Only a runtime that would be taken costs the library lookups; the
        // diary's table looks up the others when it is written.
        if (verdict == CandidateVerdict::Accepted) {
            library = jvmLibraryBitness(onDisk, system);
            verdict = libraryVerdict(library, system.launcherBitness);
            logLibraryRefusal(verdict);
        }
    }
    diary.record(path, verdict == CandidateVerdict::NoJavaExe ? std::string() : version, library, verdict);

    const bool result = verdict == CandidateVerdict::Accepted;
    logMessage("checkJavaExe returning %d", result ? 1 : 0);
    return result;
}

LibraryBitness jvmLibraryBitness(const std::string& javaExe, const CandidateSystem& system) {
    // A runtime of the launcher's bitness keeps its library in server (64-bit)
    // or client (32-bit): read there first, the usual runtime costs one read
    // and no lookups of sub-directories it does not have. The order cannot
    // change the answer for a runtime that has one of the launcher's bitness:
    // the loader reaches past any other to it.
    const std::string usual = system.launcherBitness == LibraryBitness::Bits32 ? "\\client\\jvm.dll"
                                                                                : "\\server\\jvm.dll";
    LibraryBitness found = LibraryBitness::None;
    for (const std::string& binDirectory : jvmLibraryBinDirectories(javaExe)) {
        std::vector<std::string> libraries = jvmLibraryPaths(binDirectory);
        std::stable_partition(libraries.begin(), libraries.end(),
                              [&usual](const std::string& library) { return library.ends_with(usual); });
        for (const std::string& library : libraries) {
            const FileMachine image = system.readMachine(library);
            if (!image.present) continue;
            const LibraryBitness bitness = bitnessOfMachine(image.machine);
            if (bitness == system.launcherBitness) return bitness;
            if (found == LibraryBitness::None || bitness == LibraryBitness::Unreadable) found = bitness;
        }
    }
    return found;
}

CandidateVerdict libraryVerdict(LibraryBitness library, LibraryBitness launcherBitness) {
    switch (library) {
        case LibraryBitness::None:
            return CandidateVerdict::NoJvmLibrary;
        case LibraryBitness::Bits32:
        case LibraryBitness::Bits64:
        case LibraryBitness::OtherMachine:
            return library == launcherBitness ? CandidateVerdict::Accepted : CandidateVerdict::WrongBitness;
        case LibraryBitness::NotLooked:
        case LibraryBitness::Unreadable:
            break;
    }
    // Nothing against it: whether it loads is the loader's business.
    return CandidateVerdict::Accepted;
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
