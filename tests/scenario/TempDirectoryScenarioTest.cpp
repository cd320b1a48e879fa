// No run leaves its extracted files behind, however it ends: a normal return
// removes them, System.exit and a kill leave them to the next start, and the
// directories of launchers that still run are never touched; the same for a
// language restart and the service child. Runs the
// stand-in runtime; the launchers of one test share a marker file of their
// own among their embedded files, which tells their directories apart from
// those of other tests in the prefix's temporary directory.
#include "support/JvmTranscript.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class TempDirectoryScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    // A launcher "<role>/<exe>" (GUI, or with `service` the service
    // launcher) with the bundled stand-in runtime whose main takes `steps`.
    fs::path launcher(const std::string& role, const std::string& exe,
                      const std::vector<std::pair<std::string, std::string>>& steps, bool service = false) {
        const fs::path directory = scenario_.directory() / role;
        fs::create_directories(directory / "classes/com/zelkor/runtime");
        std::ofstream(directory / "classes/com/zelkor/runtime/WinLauncher.class") << "class bytes";
        std::ofstream(scenario_.directory() / "marker.src") << marker_;
        std::ofstream(scenario_.directory() / "data.src", std::ios::binary) << data_;
        const PayloadBuilder payload = PayloadBuilder()
                                           .set(config::kLauncherKind, service ? "4" : "1")
                                           .withBundledStandIn()
                                           .embed(markerName_, scenario_.directory() / "marker.src")
                                           .embed("lib\\data.bin", scenario_.directory() / "data.src");
        const fs::path program = scenario_.makeLauncher(
            (service ? "svclauncher" : "guilauncher") + std::to_string(bits()) + ".exe", payload, role + "/" + exe);
        runtimes_.push_back(std::make_unique<PlacedRuntime>(scenario_, RuntimePlacement::BundledJre, directory,
                                                             RuntimeShape::Jre, bits(), "java version \"1.8.0_121\""));
        EXPECT_TRUE(writeStandinJvmConfig(directory / "jre/bin/server", steps));
        return program;
    }

    // This test's directories in the temporary path, each checked whole.
    std::set<fs::path> ourDirectories() {
        std::set<fs::path> found;
        for (const auto& entry : fs::directory_iterator(tempPath_)) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_directory() || name.rfind("zkr", 0) != 0 || !fs::exists(entry.path() / markerName_)) continue;
            EXPECT_EQ(readFile(entry.path() / markerName_), marker_) << entry.path();
            EXPECT_EQ(readFile(entry.path() / "lib" / "data.bin"), data_) << entry.path();
            found.insert(entry.path());
        }
        return found;
    }

    // Waits until `count` stand-in sessions beside `program` have entered
    // main's sleep. Several sessions write at once, so the lines are counted
    // rather than the transcript parsed.
    bool waitForSleepers(const fs::path& program, size_t count) {
        const fs::path transcript = program.parent_path() / "jre/bin/server/standin-jvm-transcript.txt";
        for (int i = 0; i < 300; ++i) {
            std::istringstream lines(readFile(transcript));
            size_t sleeping = 0;
            for (std::string line; std::getline(lines, line);) sleeping += line.rfind("main sleep", 0) == 0;
            if (sleeping >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    WineScenario scenario_{"temp_directory"};
    std::vector<std::unique_ptr<PlacedRuntime>> runtimes_;
    const std::string markerName_ = "marker-" + std::to_string(::getpid()) + ".txt";
    const std::string marker_ = "run of process " + std::to_string(::getpid());
    const std::string data_ = std::string(70000, 'd') + "end";
    fs::path tempPath_;
};

TEST_P(TempDirectoryScenarioTest, OnlyRunningLaunchersKeepTheirFilesAndTheNextStartTakesTheRest) {
    const fs::path normal = launcher("normal", "app.exe", {});
    const fs::path exits = launcher("exits", "app.exe", {{"main", "exit"}, {"main.exit-code", "3"}});
    // The service child, run the way the service process starts it, follows the same rules.
    const fs::path serviceNormal = launcher("service-normal", "svc.exe", {}, true);
    const fs::path serviceExits = launcher("service-exits", "svc.exe", {{"main", "exit"}, {"main.exit-code", "3"}}, true);
    const std::vector<std::pair<std::string, std::string>> sleeps{{"main", "sleep"}, {"main.sleep-ms", "120000"}};
    const fs::path running = launcher("running", "sleeper" + std::to_string(::getpid()) + ".exe", sleeps);
    const fs::path killed = launcher("killed", "victim" + std::to_string(::getpid()) + ".exe", sleeps);

    const LauncherRun first = scenario_.run(normal, {}, {{"ZELKOR_LOG", "yes"}});
    SKIP_IF_UNRUNNABLE(first);
    ASSERT_EQ(first.exitCode, 0) << describe(first);
    const std::string announced = first.announcedTempDir();
    ASSERT_FALSE(announced.empty()) << first.log.value_or("(no log)");
    tempPath_ = WineScenario::unixPath(announced).parent_path();
    EXPECT_TRUE(ourDirectories().empty()) << "a normal return removes its directory";

    std::vector<StartedRun> instances;
    for (int i = 0; i < 3; ++i) instances.push_back(scenario_.start(running));
    ASSERT_TRUE(waitForSleepers(running, 3));
    const std::set<fs::path> kept = ourDirectories();
    ASSERT_EQ(kept.size(), 3u);

    const fs::path taskkill = WineScenario::driveC() / "windows/system32/taskkill.exe";
    for (int run = 1; run < 30; ++run) {
        SCOPED_TRACE(run);
        if (run % 3 == 0) {
            // A plain start, a language restart and the service child in turn.
            const LauncherRun returned = run % 9 == 0   ? scenario_.run(normal)
                                         : run % 9 == 3 ? scenario_.run(normal, {"__btl_lang_restart"})
                                                        : scenario_.run(serviceNormal, {"__btl_restart"});
            EXPECT_EQ(returned.exitCode, 0) << describe(returned);
        } else if (run % 3 == 1) {
            const LauncherRun exited =
                run % 2 == 0 ? scenario_.run(exits) : scenario_.run(serviceExits, {"__btl_restart"});
            EXPECT_EQ(exited.exitCode, 3) << describe(exited);
        } else {
            StartedRun victim = scenario_.start(killed);
            ASSERT_TRUE(waitForSleepers(killed, static_cast<size_t>(run / 3 + 1)));
            // TerminateProcess, as the task manager does it.
            scenario_.run(taskkill, {"/F", "/IM", killed.filename().string()});
            scenario_.finish(victim);
        }
    }
    // What the last runs left may still be there; one more start takes it.
    EXPECT_EQ(scenario_.run(normal).exitCode, 0);
    EXPECT_EQ(ourDirectories(), kept) << "only the running launchers' directories, every file intact";

    scenario_.run(taskkill, {"/F", "/IM", running.filename().string()});
    for (StartedRun& instance : instances) scenario_.finish(instance);
    EXPECT_EQ(scenario_.run(normal).exitCode, 0);
    EXPECT_TRUE(ourDirectories().empty());
}

INSTANTIATE_TEST_SUITE_P(Bitness, TempDirectoryScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
