// Message boxes that really open, on a virtual display: what the user sees
// when a launcher fails while dialogs are on. Wine picks the display driver of
// a session when its first window is made, and the other scenarios run
// without a display: each test here starts the prefix's session afresh with
// its display and ends it again (the tests run alone).
#include "support/PayloadBuilder.h"
#include "support/VirtualDisplay.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

using namespace payload;

void endWineSession() { std::system(LAUNCHER_WINE_PREFIX_SCRIPT " stop"); }

class DialogScenarioTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { endWineSession(); }
    void TearDown() override { endWineSession(); }

    WineScenario scenario_{"dialog"};
};

TEST_P(DialogScenarioTest, PayloadDamagedAfterTheCaptionShowsItsMessageUnderThatCaption) {
    std::vector<uint8_t> bytes = PayloadBuilder()
                                     .set(config::kLauncherKind, "1")
                                     .set(config::kMessageErrorCaption, "Damaged Launcher Caption")
                                     .set(config::kApplicationName, "name")
                                     .encodedRecord();
    // Cut inside the value of the last narrow entry: the two counts after the
    // block and two bytes of "name" are missing.
    bytes.resize(bytes.size() - 10);
    const std::string bits = std::to_string(GetParam());
    const std::string exeName = std::string("damaged_caption").append(bits).append(".exe");
    const auto launcher =
        scenario_.makeLauncherWithRawPayload(std::string("guilauncher").append(bits).append(".exe"), bytes, exeName);

    VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start (scripts/setup.sh installs it)";
    LauncherRun run;
    std::thread launcherThread([&] { run = scenario_.run(launcher, {}, {{"DISPLAY", display.name()}}, 60); });
    const bool shown = display.waitForWindowTitled("Damaged Launcher Caption", 30);
    // The box waits for a click that never comes: end the launcher.
    std::system(std::string("pkill -f ").append(exeName).c_str());
    launcherThread.join();
    SKIP_IF_UNRUNNABLE(run);
    EXPECT_TRUE(shown) << "no message box with the configured caption; stderr: " << run.standardError;
}

INSTANTIATE_TEST_SUITE_P(Bitness, DialogScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
