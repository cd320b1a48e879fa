#include "jvm/SearchDiary.h"

#include <algorithm>

bool isLibraryVerdict(CandidateVerdict verdict) {
    return verdict == CandidateVerdict::NoJvmLibrary || verdict == CandidateVerdict::WrongBitness ||
           verdict == CandidateVerdict::NotLoaded;
}

void SearchDiary::record(std::string path, std::string version, LibraryBitness library, CandidateVerdict verdict) {
    records_.push_back({step_, std::move(path), std::move(version), library, verdict});
}

void SearchDiary::lookUpMissingLibraries(const Callback<LibraryBitness(const std::string& javaExe)>& lookUp) {
    for (CandidateRecord& record : records_)
        if (record.library == LibraryBitness::NotLooked && record.verdict != CandidateVerdict::NoJavaExe)
            record.library = lookUp(record.path);
}

void SearchDiary::recordLoadFailure(const std::string& path, LibraryBitness library, CandidateVerdict verdict) {
    const auto chosen = std::find_if(records_.rbegin(), records_.rend(), [&path](const CandidateRecord& record) {
        return record.path == path && record.verdict == CandidateVerdict::Accepted;
    });
    if (chosen == records_.rend()) {
        record(path, {}, library, verdict);
        return;
    }
    chosen->library = library;
    chosen->verdict = verdict;
}
