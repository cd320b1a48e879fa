#include "support/WineScenario.h"

#include <gtest/gtest.h>

namespace {

class LauncherStartTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LauncherStartTest, LauncherWithPayloadStartsUnderWine) {
    WineScenario scenario("start");
    payload::LauncherPayload payload;
    payload.record.narrowEntries = {{107, "1"}};
    const auto launcher = scenario.makeLauncher(GetParam(), payload);
    const LauncherRun run = scenario.run(launcher);
    if (run.skipped) GTEST_SKIP() << run.skipReason;
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.standardError.find("not built yet"), std::string::npos) << run.standardError;
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, LauncherStartTest,
                         ::testing::Values("guilauncher64.exe", "svclauncher64.exe", "guilauncher32.exe",
                                           "svclauncher32.exe"));

}  // namespace
