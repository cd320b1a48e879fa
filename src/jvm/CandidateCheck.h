#pragma once

#include "core/Callback.h"
#include "core/PeImage.h"
#include "jvm/SearchDiary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The decisions of the candidate check, over what it needs from the system:
// the launcher hands in the file system, the version cache in the registry
// and the "-version" child; tests hand in their own. Configuration (keys 107,
// 130, 131 and 152) is read from the configuration store. Paths are narrow
// (file API code page) and stay below kBufferCapacity characters.

// A file's last-write time as the directory listing reports it: a FILETIME
// (100-nanosecond intervals since 1601-01-01 UTC) as one 64-bit number.
using FileTimeStamp = uint64_t;

// How a "-version" run ended.
struct VersionRun {
    enum class Outcome {
        Version,      // exit code 0 and a recognised first line: `version` holds it
        NoVersion,    // exit code 0, but no first line or an unknown one
        NonZeroExit,  // the runtime ended with another exit code
        NotFinished,  // not started, or still running at the time-out (then ended)
    };
    Outcome outcome = Outcome::NoVersion;
    std::string version;
};

struct CandidateSystem {
    // The absolute form of a path (relative paths against the launcher's
    // directory), runs of backslashes collapsed, its case kept: what the file
    // system is asked for. Under Wine a lower-cased path costs a directory
    // listing for every component whose case differs on the disk.
    Callback<std::string(const std::string& path)> resolve;
    // The resolved path lower-cased: a runtime's identity in the version cache
    // and the path the check hands back.
    Callback<std::string(const std::string& path)> normalise;
    // Looks the path up; when found, `lastWriteTime` receives its time.
    Callback<bool(const std::string& path, FileTimeStamp& lastWriteTime)> findFile;
    // The path exists (a drive root always does).
    Callback<bool(const std::string& path)> exists;
    // The cached version of the runtime at `path`, valid only for exactly
    // this last-write time; nothing when there is no valid entry.
    Callback<std::optional<std::string>(const std::string& path, FileTimeStamp lastWriteTime)> readCachedVersion;
    Callback<void(const std::string& path, FileTimeStamp lastWriteTime, const std::string& version)>
        writeCachedVersion;
    // Runs the runtime hidden with "-version" and reads its first line.
    Callback<VersionRun(const std::string& path)> runJavaVersion;
    // Whether the file at `path` is there and the machine field of its PE
    // image (nothing when it cannot be read as one), from one open.
    Callback<FileMachine(const std::string& path)> readMachine;
    // The only bitness whose jvm.dll the launcher can load.
    LibraryBitness launcherBitness = kOwnBitness;
};

// Stored as the version of a runtime whose "-version" run failed; read back it
// counts as no cached version, so the runtime is run again at its next check.
inline constexpr std::string_view kFailedVersionMarker = "1.0.0";

// "<home>\jre\bin\java.exe", or "<home>\bin\java.exe" when that does not exist;
// with the JDK requirement (key 131) the answer is whether the home is a JDK:
// "<home>\lib\tools.jar" exists (up to Java 8; the path keeps the jre form)
// or "<home>\bin\javac.exe" does (Java 9 and later; the bin form). A home too
// long for a path buffer is refused. A home refused by the JDK requirement
// goes into `diary`: as no JDK when a java.exe is there, else as no java.exe.
bool findJavaExeInHome(const std::string& home, std::string& javaExe, const CandidateSystem& system,
                       SearchDiary& diary);

// The candidate check: see JavaCandidate.h for what it decides. `path` becomes
// the normalised path (the javaw.exe form in the GUI launcher). Every
// candidate goes into `diary` with its verdict; the bitness of its JVM library
// is looked up whenever its java.exe exists, so the diary shows it for
// candidates refused on other grounds too.
bool checkJavaExe(std::string& path, std::string& version, const std::string& minVersion,
                  const std::string& maxVersion, bool allowBeta, const CandidateSystem& system, SearchDiary& diary);

// What the JVM libraries of a java.exe say, looked up where the loader looks
// (JvmPaths.h): the launcher's own bitness when one of that bitness is there,
// which the loader would reach past any other; else Unreadable when one could
// not be read (the loader may still manage); else the bitness of the first
// one; None when there is none.
LibraryBitness jvmLibraryBitness(const std::string& javaExe, const CandidateSystem& system);

// NoJvmLibrary or WrongBitness when the libraries rule the runtime out,
// Accepted otherwise.
CandidateVerdict libraryVerdict(LibraryBitness library, LibraryBitness launcherBitness);

// The key below HKEY_CURRENT_USER that caches the version of the runtime at
// `normalisedPath`: a key name cannot hold a backslash, so each becomes "/".
std::string versionCacheKeyName(std::string_view normalisedPath);

// The command line of a "-version" run. The program is quoted: unquoted, a
// path with a blank ("C:\Program Files\...") would start "C:\Program.exe"
// where that exists.
std::string versionCommandLine(std::string_view program);

// The javaw.exe beside a java.exe: the last four characters (".exe") become
// "w.exe". Nothing when the path is too short or the result would not fit a
// path buffer.
std::optional<std::string> javawPathOf(std::string_view javaExe);
