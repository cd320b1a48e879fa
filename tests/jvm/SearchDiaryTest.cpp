#include "jvm/SearchDiary.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Verdict = CandidateVerdict;

SearchStep step(LocationType type, const char* kind, const char* argument) { return {type, kind, argument}; }

// The chosen runtime is the latest accepted record of its path; a runtime
// that a step took unchecked has none, and gets a record of its own.
TEST(SearchDiaryTest, ALoadFailureSettlesTheChosenRecordOrAddsOne) {
    const std::string chosen = "c:\\jre\\bin\\javaw.exe";
    const struct {
        const char* name;
        std::vector<Verdict> earlier;  // records of `chosen`, in order
        size_t settled;                // index of the record that takes the failure; earlier.size(): a new one
    } cases[] = {
        {"the accepted record", {Verdict::Accepted}, 0},
        {"the latest accepted one", {Verdict::Accepted, Verdict::Accepted}, 1},
        {"refused records are left alone", {Verdict::WrongBitness}, 1},
        {"taken unchecked", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SearchDiary diary;
        diary.enterStep(step(LOCATION_DIRECTORY, "bundled", "jre"));
        diary.record("c:\\other\\bin\\javaw.exe", "11", LibraryBitness::Bits64, Verdict::Accepted);
        for (Verdict verdict : c.earlier) diary.record(chosen, "11", LibraryBitness::Bits64, verdict);
        diary.enterStep(step(LOCATION_DIRECTORY, "fallback pass", "jre"));
        diary.recordLoadFailure(chosen, LibraryBitness::Bits32, Verdict::WrongBitness);

        const std::vector<CandidateRecord>& records = diary.records();
        ASSERT_EQ(records.size(), 1 + std::max(c.earlier.size(), c.settled + 1));
        const CandidateRecord& settled = records[1 + c.settled];
        EXPECT_EQ(settled.path, chosen);
        EXPECT_EQ(settled.verdict, Verdict::WrongBitness);
        EXPECT_EQ(settled.library, LibraryBitness::Bits32);
        const bool added = c.settled == c.earlier.size();
        EXPECT_EQ(settled.step.kind, added ? "fallback pass" : "bundled");
        EXPECT_EQ(settled.version, added ? "" : "11");
        EXPECT_EQ(records[0].verdict, Verdict::Accepted) << "another path's record is not touched";
    }
}

}  // namespace
