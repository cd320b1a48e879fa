#include "jvm/JavaCandidate.h"

#include "core/WinApi.h"
#include "core/win/PeFileMachine.h"
#include "files/PathUtilities.h"
#include "jvm/win/CandidateSystem.h"
#include "jvm/win/VersionCache.h"

namespace {

bool findWithTime(const std::string& path, FileTimeStamp& lastWriteTime) {
    FILETIME found{};
    if (!findPath(path, &found)) return false;
    lastWriteTime = static_cast<FileTimeStamp>(found.dwHighDateTime) << 32 | found.dwLowDateTime;
    return true;
}

// Only functions go in here: set up before anything runs, no first-use check.
const CandidateSystem kLauncherSystem = windowsCandidateSystem();

const CandidateSystem& launcherCandidateSystem() { return kLauncherSystem; }

SearchDiary launcherDiary;

}  // namespace

CandidateSystem windowsCandidateSystem(unsigned long versionRunTimeoutMs) {
    return CandidateSystem{
        [](const std::string& path) { return fullPath(path, true); },
        [](const std::string& path) { return fullPath(path, false); },
        findWithTime,
        pathExists,
        readCachedVersion,
        writeCachedVersion,
        [versionRunTimeoutMs](const std::string& path) { return runJavaVersion(path, versionRunTimeoutMs); },
        peFileMachine,
    };
}

bool findJavaExeInHome(const std::string& home, std::string& javaExe) {
    return findJavaExeInHome(home, javaExe, launcherCandidateSystem(), launcherDiary);
}

bool checkJavaExe(std::string& path, std::string& version, const std::string& minVersion,
                  const std::string& maxVersion, bool allowBeta) {
    return checkJavaExe(path, version, minVersion, maxVersion, allowBeta, launcherCandidateSystem(), launcherDiary);
}

SearchDiary& candidateDiary() { return launcherDiary; }

LibraryBitness jvmLibraryBitnessOf(const std::string& javaExe) {
    return jvmLibraryBitness(javaExe, launcherCandidateSystem());
}

void recordUnloadedRuntime(const std::string& javaExe) {
    const CandidateSystem& system = launcherCandidateSystem();
    const LibraryBitness library = jvmLibraryBitness(javaExe, system);
    const CandidateVerdict verdict = libraryVerdict(library, system.launcherBitness);
    launcherDiary.recordLoadFailure(javaExe, library,
                                    verdict == CandidateVerdict::Accepted ? CandidateVerdict::NotLoaded : verdict);
}
