#include "jvm/SearchSummary.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
using Verdict = CandidateVerdict;
using Bitness = LibraryBitness;

TEST(SearchSummaryTest, OneAlignedRowPerCandidateWithWhyItWasRefused) {
    SearchDiary diary("11", "17");
    diary.enterStep({LOCATION_DIRECTORY, "bundled", "jre"});
    diary.record("c:\\app\\jre\\bin\\javaw.exe", "", Bitness::NotLooked, Verdict::NoJavaExe);
    diary.enterStep({LOCATION_REGISTRY, "registry", ""});
    diary.record("c:\\bad\\bin\\java.exe", "", Bitness::Unreadable, Verdict::JavaFailed);
    diary.record("c:\\hung\\bin\\java.exe", "", Bitness::Bits64, Verdict::JavaHung);
    diary.record("c:\\arm\\bin\\javaw.exe", "17.0.9", Bitness::OtherMachine, Verdict::WrongBitness);
    diary.record("c:\\ok\\bin\\javaw.exe", "17.0.1", Bitness::Bits64, Verdict::Accepted);
    diary.enterStep({LOCATION_DIRECTORY, "fallback pass", "old"});
    diary.recordLoadFailure("c:\\old\\bin\\javaw.exe", Bitness::None, Verdict::NoJvmLibrary);

    const Lines expected{
        "No Java runtime could be used. Candidates looked at (64-bit launcher, minimum version 11, maximum version "
        "17):",
        "source            | path                     | version                 | jvm.dll       | verdict",
        "bundled jre       | c:\\app\\jre\\bin\\javaw.exe | -                       | -             | no java.exe",
        "registry          | c:\\bad\\bin\\java.exe      | none: exit code not 0   | unreadable    | java.exe failed",
        "registry          | c:\\hung\\bin\\java.exe     | none: no answer in time | 64-bit        | java.exe hung or "
        "did not start",
        "registry          | c:\\arm\\bin\\javaw.exe     | 17.0.9                  | other machine | wrong bitness",
        "registry          | c:\\ok\\bin\\javaw.exe      | 17.0.1                  | 64-bit        | usable, another "
        "was chosen",
        "fallback pass old | c:\\old\\bin\\javaw.exe     | not checked             | none          | no jvm.dll",
    };
    EXPECT_EQ(searchSummaryLines(diary, Bitness::Bits64), expected);
}

TEST(SearchSummaryTest, TheHeadingNamesOnlyTheLimitsThereAre) {
    const struct {
        const char* min;
        const char* max;
        Bitness launcher;
        const char* heading;
    } cases[] = {
        {"", "", Bitness::Bits32, "No Java runtime could be used. Candidates looked at (32-bit launcher):"},
        {"1.8", "", Bitness::Bits64,
         "No Java runtime could be used. Candidates looked at (64-bit launcher, minimum version 1.8):"},
        {"", "1.8", Bitness::Bits32,
         "No Java runtime could be used. Candidates looked at (32-bit launcher, maximum version 1.8):"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        // Nothing looked at is said rather than shown as an empty table.
        EXPECT_EQ(searchSummaryLines(SearchDiary(c.min, c.max), c.launcher),
                  (Lines{c.heading, "none: no step of the search named a runtime"}));
    }
}

}  // namespace
