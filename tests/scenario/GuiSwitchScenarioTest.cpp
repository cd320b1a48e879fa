// The GUI launcher's markers and switches: the reboot marker, the log switch
// and the quiet and console switches with the keys that allow them.
#include "support/PayloadBuilder.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace payload;

// No runtime is placed for these launchers: each run ends with exit code 83
// and this message (key 1016) once the switches have had their effect.
constexpr const char* kNoJvmFound = "No JVM found.";

PayloadBuilder quietSwitches(const char* value) {
    return PayloadBuilder().set(config::kAcceptQuietAndConsoleSwitches, value);
}

class GuiSwitchScenarioTest : public ::testing::TestWithParam<const char*> {
protected:
    LauncherRun run(PayloadBuilder payload, const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment = {}, int timeoutSeconds = 120) {
        payload.set(config::kLauncherKind, "1").set(config::kMessageNoJvmOfBitnessFound, kNoJvmFound);
        return scenario_.run(scenario_.makeLauncher(GetParam(), payload), arguments, environment, timeoutSeconds);
    }

    WineScenario scenario_{"switches"};
};

// The reboot request asks Wine to end the prefix's session, so it runs in a
// prefix of its own (made on first use), never in the one the tests share.
TEST_P(GuiSwitchScenarioTest, RebootMarkerAloneDoesNothingElse) {
    const fs::path prefix = scenario_.directory() / "reboot prefix";
    const LauncherRun alone =
        run({}, {"__btl_reboot"}, {{"ZELKOR_LOG", "yes"}, {"WINEPREFIX", prefix.string()}}, 300);
    std::system(("WINEPREFIX='" + prefix.string() + "' /usr/lib/wine/wineserver -k").c_str());
    SKIP_IF_UNRUNNABLE(alone);
    EXPECT_EQ(alone.exitCode, 0);
    // Neither the configuration nor the log: no log file in that prefix.
    bool logWritten = false;
    for (const auto& entry : fs::recursive_directory_iterator(prefix / "drive_c" / "users", fs::directory_options::skip_permission_denied))
        if (entry.path().filename().string().find("nlog") != std::string::npos) logWritten = true;
    EXPECT_FALSE(logWritten) << "the reboot request neither loads the configuration nor logs";

    // Followed by anything else it is an ordinary argument.
    const LauncherRun followed = run({}, {"__btl_reboot", "x"}, {{"ZELKOR_LOG", "yes"}});
    EXPECT_EQ(followed.exitCode, 83);
    EXPECT_TRUE(followed.log);
}

TEST_P(GuiSwitchScenarioTest, LogSwitchCountsOnlyAsTheFirstArgument) {
    for (const char* logSwitch : {"-create-btl-log", "-create-zkr-log", "/create-btl-log", "/create-zkr-log"}) {
        SCOPED_TRACE(logSwitch);
        const LauncherRun first = run({}, {logSwitch});
        SKIP_IF_UNRUNNABLE(first);
        EXPECT_EQ(first.exitCode, 83);
        ASSERT_TRUE(first.log);
        EXPECT_TRUE(first.logHas("working directory unchanged"));
    }
    const LauncherRun second = run({}, {"x", "-create-btl-log"});
    EXPECT_EQ(second.exitCode, 83);
    EXPECT_FALSE(second.log);
}

TEST_P(GuiSwitchScenarioTest, QuietSwitchNeedsItsKey) {
    // Without key 154 "-q" is an ordinary argument: the message goes to a box, not to standard error.
    const LauncherRun consoleOnly = run(PayloadBuilder()
                                            .set(config::kAcceptQuietAndConsoleSwitches, "0")
                                            .set(config::kAcceptConsoleSwitch, "1"),
                                        {"-q"});
    SKIP_IF_UNRUNNABLE(consoleOnly);
    EXPECT_EQ(consoleOnly.exitCode, 83);
    EXPECT_EQ(consoleOnly.standardError, "");

    const LauncherRun allowed = run(quietSwitches("1"), {"-q"});
    EXPECT_EQ(allowed.exitCode, 83);
    EXPECT_EQ(allowed.standardError.rfind(kNoJvmFound, 0), 0u) << allowed.standardError;

    // Key 154 counts as an integer: " 1" is true, "0" and "" are false.
    const LauncherRun spaced = run(quietSwitches(" 1"), {"-q"});
    EXPECT_EQ(spaced.standardError.rfind(kNoJvmFound, 0), 0u) << spaced.standardError;
    const LauncherRun empty = run(quietSwitches(""), {"-q"});
    EXPECT_EQ(empty.standardError, "");
}

// Wine gives the GUI launcher a console (its parent's or a new one), so "-c"
// goes on quietly; a redirected standard error stays where it was sent.
TEST_P(GuiSwitchScenarioTest, ConsoleSwitchAttachesAConsoleAndKeepsTheLauncherQuiet) {
    const LauncherRun run1 = run(quietSwitches("1"), {"-c", "-console"}, {{"ZELKOR_LOG", "yes"}});
    SKIP_IF_UNRUNNABLE(run1);
    EXPECT_EQ(run1.exitCode, 83);
    EXPECT_EQ(run1.standardError.rfind(kNoJvmFound, 0), 0u) << run1.standardError;
    EXPECT_TRUE(run1.logHasPrefix("semaphore name ")) << "the start goes on after -c";
}

INSTANTIATE_TEST_SUITE_P(GuiTemplates, GuiSwitchScenarioTest,
                         ::testing::Values("guilauncher64.exe", "guilauncher32.exe"),
                         [](const auto& info) { return std::string(info.param).substr(0, 13); });

}  // namespace
