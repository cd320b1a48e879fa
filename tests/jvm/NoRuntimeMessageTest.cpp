#include "jvm/NoRuntimeMessage.h"

#include "core/ConfigKeys.h"

#include <gtest/gtest.h>

namespace {

using Verdict = CandidateVerdict;

struct Candidate {
    LocationType type;
    const char* argument;
    Verdict verdict;
};

SearchDiary diaryOf(const std::vector<Candidate>& candidates) {
    SearchDiary diary;
    for (const Candidate& candidate : candidates) {
        diary.enterStep({candidate.type, "step", candidate.argument});
        diary.record("c:\\somewhere\\bin\\java.exe", "", LibraryBitness::Bits32, candidate.verdict);
    }
    return diary;
}

// Without key 1021 the message is the one the launcher showed before it
// refused runtimes for their library: the search took the first such runtime
// and failed on it.
TEST(NoRuntimeMessageTest, OtherBitnessOnlyWhenEveryRuntimeThereHadItAndTheMessageIsGiven) {
    const Candidate wrongInVariable{LOCATION_ENVIRONMENT, "JAVA_HOME", Verdict::WrongBitness};
    const Candidate wrongInDirectory{LOCATION_DIRECTORY, "jre", Verdict::WrongBitness};
    const Candidate wrongInRegistry{LOCATION_REGISTRY, "", Verdict::WrongBitness};
    const Candidate missing{LOCATION_DIRECTORY, "nothing", Verdict::NoJavaExe};
    const Candidate tooOld{LOCATION_DIRECTORY, "old", Verdict::BelowMinimum};
    const Candidate noLibrary{LOCATION_DIRECTORY, "nolib", Verdict::NoJvmLibrary};
    const Candidate notLoaded{LOCATION_PATH, "", Verdict::NotLoaded};
    const struct {
        const char* name;
        std::vector<Candidate> candidates;
        bool sixtyFourBit;
        bool given;
        int32_t key;
        std::optional<std::string> detail;
    } cases[] = {
        {"nothing looked at", {}, true, true, config::kMessageNoJvmOfBitnessFound, "64"},
        {"only missing ones", {missing}, false, true, config::kMessageNoJvmOfBitnessFound, "32"},
        {"one of the other bitness", {wrongInVariable}, true, true, config::kMessageOnlyOtherBitnessFound, "64"},
        {"the same without the message", {wrongInVariable}, true, false, config::kMessageVariableJvmNot64Bit,
         "JAVA_HOME"},
        {"32-bit launcher", {wrongInDirectory}, false, true, config::kMessageOnlyOtherBitnessFound, "32"},
        {"32-bit launcher without the message", {wrongInDirectory}, false, false, config::kMessageJvmAtDamaged32Bit,
         "jre"},
        {"missing ones do not count", {missing, wrongInRegistry, missing}, true, true,
         config::kMessageOnlyOtherBitnessFound, "64"},
        {"registry without the message", {missing, wrongInRegistry}, true, false, config::kMessageJvmStartFailed,
         std::nullopt},
        {"one refused for its version", {tooOld, wrongInVariable}, true, true, config::kMessageVariableJvmNot64Bit,
         "JAVA_HOME"},
        {"the first at its library names the message", {noLibrary, wrongInVariable}, true, true,
         config::kMessageJvmAtDamaged64Bit, "nolib"},
        {"a runtime that did not load", {tooOld, notLoaded}, true, true, config::kMessageNoJvmOfBitnessFound, "64"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadFailureMessage message = noRuntimeMessage(diaryOf(c.candidates), c.sixtyFourBit, c.given);
        EXPECT_EQ(message.key, c.key);
        EXPECT_EQ(message.detail, c.detail);
    }
}

}  // namespace
