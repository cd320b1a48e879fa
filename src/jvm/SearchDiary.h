#pragma once

#include "core/Callback.h"
#include "jvm/SearchSequence.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The search diary: every candidate runtime the search looked at, with the
// step that named it, what was found out about it and the verdict. The
// candidate check writes it as it goes; when no runtime could be used, the log
// gets it as one table (SearchSummary.h) and the message is chosen from it
// (NoRuntimeMessage.h).

// What the jvm.dll files of a runtime say about its bitness.
enum class LibraryBitness : uint8_t {
    NotLooked,     // the candidate was refused before its libraries were looked for
    None,          // no jvm.dll where the loader looks
    Unreadable,    // a jvm.dll whose headers could not be read
    Bits32,
    Bits64,
    OtherMachine,  // an image for another machine (ARM64, ...)
};

// The bitness of this program: the only one whose jvm.dll it can load.
inline constexpr LibraryBitness kOwnBitness = sizeof(void*) == 8 ? LibraryBitness::Bits64 : LibraryBitness::Bits32;

// Why a candidate was refused, in the order the check asks; or that it was not.
enum class CandidateVerdict : uint8_t {
    Accepted,
    NotAJdk,  // a JDK is required and the home has none of its marks
    NoJavaExe,
    JavaFailed,     // "-version" ended with an exit code other than 0
    NoVersionLine,  // "-version" ended with 0 but printed no version banner
    JavaHung,       // "-version" did not start, or did not end in time
    Prerelease,
    BelowMinimum,
    AboveMaximum,
    NoJavaw,
    NoJvmLibrary,
    WrongBitness,
    NotLoaded,  // chosen, but its jvm.dll did not load or has no JNI_CreateJavaVM
};

// NoJvmLibrary, WrongBitness and NotLoaded: a runtime that got as far as its
// library. The search used to take every such runtime and fail on it.
bool isLibraryVerdict(CandidateVerdict verdict);

struct CandidateRecord {
    SearchStep step;
    std::string path;     // the java.exe (or javaw.exe) as the check normalised it
    std::string version;  // empty when none was found out
    LibraryBitness library = LibraryBitness::NotLooked;
    CandidateVerdict verdict = CandidateVerdict::Accepted;
};

class SearchDiary {
public:
    SearchDiary() = default;
    SearchDiary(std::string minVersion, std::string maxVersion)
        : minVersion_(std::move(minVersion)), maxVersion_(std::move(maxVersion)) {}

    // Candidates recorded from now on were named by `step`.
    void enterStep(SearchStep step) { step_ = std::move(step); }
    void record(std::string path, std::string version, LibraryBitness library, CandidateVerdict verdict);
    // The chosen runtime at `path` could not be loaded: its latest accepted
    // record takes the verdict, or, when the step took it unchecked (the
    // fallback pass), a new record of the current step does.
    void recordLoadFailure(const std::string& path, LibraryBitness library, CandidateVerdict verdict);

    // The check looks at a runtime's libraries only once its version fits; the
    // table wants them for every runtime whose java.exe exists, and asks here.
    void lookUpMissingLibraries(const Callback<LibraryBitness(const std::string& javaExe)>& lookUp);

    const std::vector<CandidateRecord>& records() const { return records_; }
    const std::string& minVersion() const { return minVersion_; }
    const std::string& maxVersion() const { return maxVersion_; }

private:
    std::string minVersion_;
    std::string maxVersion_;
    SearchStep step_;
    std::vector<CandidateRecord> records_;
};
