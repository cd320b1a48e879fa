// A service launcher installed as a real service in the Wine prefix's service
// control manager, its child running the stand-in runtime. The driver program
// (tests/win/ServiceDriver.cpp) starts, stops and watches the service; the
// stand-in's transcript shows what the child's Java side saw.
#include "support/JvmTranscript.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <fstream>
#include <sstream>
#include <optional>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace payload;

class ServiceScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    void SetUp() override {
        program_ = scenario_.makeLauncher("svclauncher" + std::to_string(bits()) + ".exe",
                                          PayloadBuilder()
                                              .set(config::kLauncherKind, "4")
                                              .set(config::kApplicationName, "unused")
                                              .withBundledStandIn());
        runtime_.emplace(scenario_, RuntimePlacement::BundledJre, program_.parent_path(), RuntimeShape::Jre, bits(),
                         "java version \"1.8.0_121\"");
        const fs::path classFile = scenario_.directory() / "classes/com/zelkor/runtime/WinLauncher.class";
        fs::create_directories(classFile.parent_path());
        std::ofstream(classFile) << "class bytes";
    }

    fs::path jvmDirectory() const { return runtime_->home() / "bin" / "server"; }

    // Runs the driver's steps on a service of its own (deleted again at the
    // end of the test, whatever happens); its output lines.
    std::string drive(const std::string& service, std::vector<std::string> steps) {
        steps.insert(steps.begin(), service);
        const LauncherRun result = scenario_.run(testProgram("service_driver", bits()), steps);
        skipped_ = result.skipped;
        return result.standardOutput;
    }

    // A service name no other test or run uses.
    std::string uniqueService(const std::string& what) {
        const std::string service = "svcrt " + what + " " + std::to_string(bits()) + "-" + std::to_string(::getpid());
        created_.push_back(service);
        return service;
    }

    std::string install(const std::string& what, const std::vector<std::pair<std::string, std::string>>& behaviour) {
        fs::remove(jvmDirectory() / "standin-jvm-transcript.txt");
        EXPECT_TRUE(writeStandinJvmConfig(jvmDirectory(), behaviour));
        const std::string service = uniqueService(what);
        EXPECT_EQ(drive(service, {"create=" + WineScenario::windowsPath(program_)}), "create ok\n");
        return service;
    }

    // The main steps that the Java side reported: step word and its text.
    std::vector<std::vector<std::string>> mainSteps() {
        std::vector<JvmSession> sessions;
        std::string error;
        EXPECT_TRUE(readJvmTranscript(jvmDirectory(), sessions, error)) << error;
        std::vector<std::vector<std::string>> steps;
        for (const JvmSession& session : sessions)
            for (const JvmCall* call : session.callsOf("main")) steps.push_back(call->words);
        return steps;
    }

    void TearDown() override {
        for (const std::string& service : created_) drive(service, {"delete"});
    }

    WineScenario scenario_{"service"};
    fs::path program_;
    std::optional<PlacedRuntime> runtime_;
    std::vector<std::string> created_;
    bool skipped_ = false;
};

#define SKIP_IF_DRIVER_UNRUNNABLE() \
    if (!skipped_) {               \
    } else                         \
        GTEST_SKIP() << "this bitness cannot run here"

TEST_P(ServiceScenarioTest, StopWhileJavaRunsIsPendingUntilTheChildEndsAndSendsOneLine) {
    const std::string service = install("stop", {{"main", "stdin,sleep,stdin"}, {"main.sleep-ms", "2000"}});
    SKIP_IF_DRIVER_UNRUNNABLE();
    const std::string output = drive(service, {"start=-x,start arg", "wait=4", "stop", "query", "stop", "wait=1", "query"});
    std::istringstream lines(output);
    std::vector<std::string> seen;
    for (std::string line; std::getline(lines, line);) seen.push_back(line);
    ASSERT_EQ(seen.size(), 7u) << output;
    EXPECT_EQ(seen[0], "start ok");
    EXPECT_TRUE(seen[1].starts_with("reached 4")) << output;
    EXPECT_EQ(seen[2], "stop ok");
    EXPECT_EQ(seen[3], "state 3 checkpoint 0 exit 0 0");  // the child sleeps after the line
    // A second stop finds the service stop pending: refused or taken, it sends nothing more.
    EXPECT_TRUE(seen[4] == "stop ok" || seen[4] == "stop failed 1061") << output;
    EXPECT_EQ(seen[5], "reached 1, met 3 1");
    // While the child slept after the line, each second of the wait moved the check point on.
    int checkPoint = 0;
    EXPECT_EQ(std::sscanf(seen[6].c_str(), "state 1 checkpoint %d exit 0 0", &checkPoint), 1) << output;
    EXPECT_GE(checkPoint, 1) << output;

    const std::vector<std::vector<std::string>> steps{{"stdin", "0"}, {"sleep", "2000"}, {"stdin-eof", ""}};
    EXPECT_EQ(mainSteps(), steps);
    // The child's arguments reach Java after the five bootstrap values: the
    // name the service control manager passed, then the start arguments.
    std::vector<JvmSession> sessions;
    std::string error;
    ASSERT_TRUE(readJvmTranscript(jvmDirectory(), sessions, error)) << error;
    ASSERT_EQ(sessions.size(), 1u);
    std::vector<std::u16string> arguments;
    for (const JvmCall* call : sessions[0].callsOf("NewString"))
        arguments.insert(arguments.end(), call->texts.begin(), call->texts.end());
    const std::u16string name(service.begin(), service.end());
    const std::vector<std::u16string> expected{u"false", u"", u"", u"", u"false", name, u"-x", u"start arg"};
    EXPECT_EQ(arguments, expected);
}

TEST_P(ServiceScenarioTest, ChildEndingOnItsOwnIsReportedStoppedOnlyWithExitCodeZero) {
    for (const char* code : {"0", "3"}) {
        SCOPED_TRACE(code);
        const std::string service = install(std::string("exit ") + code, {{"main", "exit"}, {"main.exit-code", code}});
        SKIP_IF_DRIVER_UNRUNNABLE();
        const bool clean = code == std::string("0");
        const std::string output = drive(service, {"start", "wait=4", clean ? "wait=1" : "ended", "query"});
        // Without a stop report the service control manager is told nothing:
        // the last report (running) stands after the process is gone, and on
        // Windows its recovery actions run.
        const std::string state = clean ? "state 1 checkpoint 0 exit 0 0\n"
                                        : "process ended\nstate 4 checkpoint 0 exit 0 0\n";
        EXPECT_TRUE(output.ends_with(state)) << output;
    }
}

// 0x4 is CREATE_SUSPENDED: taken as creation flags, it would leave the child
// and the service hanging. (Wine starts every child with the normal class, so
// the class of 0x80 shows only in the unit test's creation flags.)
TEST_P(ServiceScenarioTest, ChildOutputIsDrainedAndAFlagThatIsNoPriorityClassIsRefused) {
    const std::string service = install("drain", {{"main", "priority,print,stdin"}, {"main.print-bytes", "8388608"}});
    SKIP_IF_DRIVER_UNRUNNABLE();
    const std::string output = drive(service, {"priority=0x4", "start", "wait=4", "stop", "wait=1", "query"});
    EXPECT_TRUE(output.ends_with("state 1 checkpoint 0 exit 0 0\n")) << output;
    const std::vector<std::vector<std::string>> steps{{"priority", "32"}, {"printed", "8388608"}, {"stdin", "0"}};
    EXPECT_EQ(mainSteps(), steps);
}

TEST_P(ServiceScenarioTest, ChildThatCannotBeStartedStopsTheServiceWithTheServiceError) {
    const std::string service = install("unstartable", {});
    SKIP_IF_DRIVER_UNRUNNABLE();
    // Two start arguments of 8191 characters: the child's command line would not fit its buffer.
    const std::string longArgument(8191, 'a');
    const std::string output = drive(service, {"start=" + longArgument + "," + longArgument, "wait=1", "query"});
    EXPECT_TRUE(output.ends_with("state 1 checkpoint 0 exit 1066 5000\n")) << output;
    EXPECT_TRUE(mainSteps().empty());
}

INSTANTIATE_TEST_SUITE_P(Bitness, ServiceScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
