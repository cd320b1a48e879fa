#include "jvm/NoRuntimeMessage.h"

#include "core/ConfigKeys.h"

#include <algorithm>

namespace {

bool everyRuntimeThereHadTheOtherBitness(const std::vector<CandidateRecord>& records) {
    bool anyThere = false;
    for (const CandidateRecord& record : records) {
        if (record.verdict == CandidateVerdict::NoJavaExe) continue;
        if (record.verdict != CandidateVerdict::WrongBitness) return false;
        anyThere = true;
    }
    return anyThere;
}

}  // namespace

LoadFailureMessage noRuntimeMessage(const SearchDiary& diary, bool sixtyFourBit, bool otherBitnessMessageGiven) {
    const std::vector<CandidateRecord>& records = diary.records();
    if (otherBitnessMessageGiven && everyRuntimeThereHadTheOtherBitness(records))
        return {config::kMessageOnlyOtherBitnessFound, sixtyFourBit ? "64" : "32"};
    const auto firstAtItsLibrary = std::find_if(records.begin(), records.end(), [](const CandidateRecord& record) {
        return isLibraryVerdict(record.verdict);
    });
    if (firstAtItsLibrary == records.end()) return loadFailureMessage(LOCATION_NONE, {}, sixtyFourBit);
    return loadFailureMessage(firstAtItsLibrary->step.type, firstAtItsLibrary->step.argument, sixtyFourBit);
}
