// Launchers of one executable started side by side under Wine. In numbered
// mode every start takes a number of its own; in single-instance mode second
// starts hand their arguments to the running first instance and end with 0.
//
// The first instance here is instance_holder, a test program that holds the
// launcher's instance semaphore and stores its pid as a first launcher would;
// the test itself does what the first instance's Java side does with the
// communication file: reads and deletes it.
#include "files/InstanceNames.h"
#include "support/JvmTranscript.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using namespace payload;

// The instance semaphore's name for a launcher in local mode.
std::string semaphoreBase(const fs::path& launcher) {
    return instanceSemaphoreBase(false, lowered(WineScenario::windowsPath(launcher)));
}

class SingleInstanceScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }
    std::string launcherTemplate() const { return "guilauncher" + std::to_string(bits()) + ".exe"; }

    // Starts instance_holder for `launcher` and returns the Unix path of its
    // communication file; empty when the holder could not run (then
    // `skipReason` says why).
    fs::path startHolder(const fs::path& launcher, StartedRun& holder, std::string& skipReason) {
        holder = scenario_.start(testProgram("instance_holder", bits()), {WineScenario::windowsPath(launcher)}, {},
                                 300, true);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string printed = readFile(holder.outputPath);
            const size_t end = printed.find_first_of("\r\n");
            if (end != std::string::npos) return WineScenario::unixPath(printed.substr(0, end));
            int status = 0;
            if (::waitpid(holder.processId, &status, WNOHANG) == holder.processId) {
                skipReason = readFile(holder.errorPath);
                holder.processId = -1;
                return {};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "instance_holder printed nothing";
        return {};
    }

    WineScenario scenario_{"single_instance"};
};

TEST_P(SingleInstanceScenarioTest, NumberedStartsSideBySideTakeNumbersZeroOneTwo) {
    const fs::path launcher = scenario_.makeLauncher(launcherTemplate(), PayloadBuilder()
                                                                          .set(config::kLauncherKind, "1")
                                                                          .set(config::kJvmSearchSequence, "Rjre")
                                                                          .set(config::kMinVersion, "1.6")
                                                                          .set(config::kSingleInstance, "0"));
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, launcher.parent_path(), RuntimeShape::Jre, bits(),
                          "java version \"1.8.0_121\"");
    // The version run keeps each launcher alive long after its check, so the
    // three hold their numbers at the same time.
    setJavaBehaviour(runtime.home(), {"java version \"1.8.0_121\"", {}, 0, false, 8000});

    std::vector<StartedRun> starts;
    for (int i = 0; i < 3; ++i) starts.push_back(scenario_.start(launcher, {"-q_btl_internal"}, {{"ZELKOR_LOG", "yes"}}));
    std::set<std::string> names;
    const std::string prefix = "semaphore name " + semaphoreBase(launcher);
    for (StartedRun& started : starts) {
        const LauncherRun run = scenario_.finish(started);
        SKIP_IF_UNRUNNABLE(run);
        ASSERT_TRUE(run.log) << run.standardError;
        EXPECT_FALSE(run.logHas("exiting")) << *run.log;
        for (const std::string& line : run.logLines()) {
            if (line.rfind(prefix, 0) != 0) continue;
            const size_t comma = line.find(", code 0, value ", prefix.size());
            EXPECT_NE(comma, std::string::npos) << line;
            names.insert(line.substr(prefix.size(), comma - prefix.size()));
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"0", "1", "2"}));
}

// Reads the communication file like the first instance's Java side: once it
// holds a whole line (the writer's one write has landed), takes it and deletes it.
class CommFileConsumer {
public:
    explicit CommFileConsumer(fs::path path) : path_(std::move(path)), thread_([this] { consume(); }) {}
    ~CommFileConsumer() { stop(); }

    std::vector<std::string> stop() {
        done_ = true;
        if (thread_.joinable()) thread_.join();
        return received_;
    }

private:
    void consume() {
        while (!done_) {
            std::string bytes = fs::exists(path_) ? readFile(path_) : std::string();
            if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, std::string("\n\0", 2)) == 0) {
                std::string text;
                for (size_t i = 0; i < bytes.size(); i += 2) text += bytes[i + 1] == 0 ? bytes[i] : '?';
                received_.push_back(text);
                fs::remove(path_);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    fs::path path_;
    std::vector<std::string> received_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

fs::path singleInstanceLauncher(WineScenario& scenario, const std::string& templateName) {
    const PayloadBuilder payload = PayloadBuilder().set(config::kSingleInstance, "1");
    // A blank in the name: the program name arrives quoted on the command line.
    return scenario.makeLauncher(templateName, payload, "my app.exe");
}

TEST_P(SingleInstanceScenarioTest, TwentySecondStartsHandOverTheirArgumentsOnceEach) {
    const fs::path launcher = singleInstanceLauncher(scenario_, launcherTemplate());
    StartedRun holder;
    std::string skipReason;
    const fs::path commFile = startHolder(launcher, holder, skipReason);
    if (commFile.empty() && !skipReason.empty()) GTEST_SKIP() << skipReason;
    ASSERT_FALSE(commFile.empty());

    CommFileConsumer consumer(commFile);
    std::vector<StartedRun> starts;
    std::multiset<std::string> expected;
    for (int i = 0; i < 20; ++i) {
        const std::string word = "arg" + std::to_string(i);
        starts.push_back(scenario_.start(launcher, {word, "b c"}, {}, 240));
        expected.insert(word + " \"b c\"\n");
    }
    for (StartedRun& started : starts) {
        const LauncherRun run = scenario_.finish(started);
        EXPECT_EQ(run.exitCode, 0) << run.standardError;
    }
    const std::vector<std::string> received = consumer.stop();
    EXPECT_EQ(std::multiset<std::string>(received.begin(), received.end()), expected);
    EXPECT_FALSE(fs::exists(commFile));

    WineScenario::closeInput(holder);
    EXPECT_EQ(scenario_.finish(holder).exitCode, 0);
}

TEST_P(SingleInstanceScenarioTest, SecondStartRemovesItsFileWhenTheFirstInstanceEnds) {
    const fs::path launcher = singleInstanceLauncher(scenario_, launcherTemplate());
    StartedRun holder;
    std::string skipReason;
    const fs::path commFile = startHolder(launcher, holder, skipReason);
    if (commFile.empty() && !skipReason.empty()) GTEST_SKIP() << skipReason;
    ASSERT_FALSE(commFile.empty());

    StartedRun second = scenario_.start(launcher, {"late"}, {{"ZELKOR_LOG", "yes"}});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!fs::exists(commFile) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(fs::exists(commFile));
    WineScenario::closeInput(holder);
    EXPECT_EQ(scenario_.finish(holder).exitCode, 0);

    const LauncherRun run = scenario_.finish(second);
    EXPECT_EQ(run.exitCode, 0) << run.standardError;
    EXPECT_FALSE(fs::exists(commFile));
    EXPECT_TRUE(run.logHas("main process already released semaphore.")) << run.log.value_or("(no log)");
}

// A start for a language restart beside a running first instance is a normal
// start: no hand-off, the files extracted again, -1 as the unextracted
// position and no semaphore name for Java.
TEST_P(SingleInstanceScenarioTest, LanguageRestartStartsBesideTheFirstInstance) {
    const fs::path bootstrapClass = scenario_.directory() / "classes/com/zelkor/runtime/WinLauncher.class";
    fs::create_directories(bootstrapClass.parent_path());
    std::ofstream(bootstrapClass) << "class bytes";
    const fs::path readme = scenario_.directory() / "readme.txt";
    std::ofstream(readme) << "read me";
    const PayloadBuilder payload = PayloadBuilder()
                                       .set(config::kLauncherKind, "1")
                                       .withBundledStandIn()
                                       .set(config::kSingleInstance, "1")
                                       .embed("readme.txt", readme);
    const fs::path launcher = scenario_.makeLauncher(launcherTemplate(), payload);
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, launcher.parent_path(), RuntimeShape::Jre, bits(),
                          "java version \"1.8.0_121\"");
    StartedRun holder;
    std::string skipReason;
    const fs::path commFile = startHolder(launcher, holder, skipReason);
    if (commFile.empty() && !skipReason.empty()) GTEST_SKIP() << skipReason;
    ASSERT_FALSE(commFile.empty());

    const LauncherRun run = scenario_.run(launcher, {"__btl_lang_restart"}, {{"ZELKOR_LOG", "yes"}});
    EXPECT_EQ(run.exitCode, 0) << run.standardError << run.log.value_or("(no log)");
    EXPECT_FALSE(run.logHas("single instance mode")) << run.log.value_or("(no log)");
    EXPECT_TRUE(run.logHasPrefix("Temp dir: ")) << run.log.value_or("(no log)");
    EXPECT_FALSE(fs::exists(commFile));
    std::vector<JvmSession> sessions;
    std::string error;
    ASSERT_TRUE(readJvmTranscript(runtime.home() / "bin" / "server", sessions, error)) << error;
    ASSERT_EQ(sessions.size(), 1u);
    const std::vector<std::string>& options = sessions[0].options;
    EXPECT_NE(std::find(options.begin(), options.end(), "-Dzelkor.unextractedPosition=-1"), options.end());
    EXPECT_EQ(std::count_if(options.begin(), options.end(),
                            [](const std::string& option) { return option.starts_with("-Dzelkor.semaphoreName="); }),
              0);

    WineScenario::closeInput(holder);
    EXPECT_EQ(scenario_.finish(holder).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Bitness, SingleInstanceScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
