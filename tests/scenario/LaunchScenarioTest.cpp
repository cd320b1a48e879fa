// The JVM start of real launchers under Wine with the stand-in runtime: the
// exact option list and bootstrap arguments the JVM receives, and how each
// outcome of the start ends the launcher.
#include "files/InstanceNames.h"
#include "support/JvmTranscript.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace payload;

// The first number of a launcher's instance semaphore (no other instance runs).
std::string firstSemaphoreName(const std::string& exe) {
    return numberedSemaphoreName(instanceSemaphoreBase(false, lowered(exe)), 0);
}

class LaunchScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    // A GUI (or service) launcher beside a bundled stand-in runtime, its
    // bootstrap classes in "classes" on the configured class path; `changes`
    // set further keys or replace these.
    fs::path launcher(const PayloadBuilder& changes = {}, bool service = false,
                      const char* bootstrapClass = "com/zelkor/runtime/WinLauncher") {
        PayloadBuilder payload = PayloadBuilder()
                                     .set(config::kLauncherKind, service ? "4" : "1")
                                     .withBundledStandIn()
                                     .set(config::kMessageJvmStartFailed, "JVM start failed.")
                                     .set(config::kMessageClassPathEntryMissing, "Missing {0}.")
                                     .set(config::kMessageMainClassNotFound, "No main class.")
                                     .set(config::kMessageMainMethodNotFound, "No main method.");
        for (const NarrowEntry& entry : changes.record().narrowEntries) payload.set(entry.key, entry.value);
        const fs::path program =
            scenario_.makeLauncher((service ? "svclauncher" : "guilauncher") + std::to_string(bits()) + ".exe", payload);
        runtime_.emplace(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::Jre, bits(),
                         "java version \"1.8.0_121\"");
        const fs::path classFile = scenario_.directory() / "classes" / (std::string(bootstrapClass) + ".class");
        fs::create_directories(classFile.parent_path());
        std::ofstream(classFile) << "class bytes";
        return program;
    }

    void behave(const std::vector<std::pair<std::string, std::string>>& entries) {
        ASSERT_TRUE(writeStandinJvmConfig(jvmDirectory(), entries));
    }

    fs::path jvmDirectory() const { return runtime_->home() / "bin" / "server"; }

    LauncherRun run(const fs::path& program, std::vector<std::string> arguments = {"-q_btl_internal"}) {
        return scenario_.run(program, arguments, {{"ZELKOR_LOG", "yes"}});
    }

    JvmSession onlySession() {
        std::vector<JvmSession> sessions;
        std::string error;
        EXPECT_TRUE(readJvmTranscript(jvmDirectory(), sessions, error)) << error;
        EXPECT_EQ(sessions.size(), 1u);
        return sessions.empty() ? JvmSession{} : sessions.front();
    }

    WineScenario scenario_{"launch"};
    std::optional<PlacedRuntime> runtime_;
};

TEST_P(LaunchScenarioTest, JvmReceivesTheOptionsInTheirOrderAndMainItsArguments) {
    const fs::path program =
        launcher(PayloadBuilder()
                     .set(config::kVmOptions, "-Xss1m -Dconfigured=\"a b\"")
                     .set(config::kDashJArgumentsAreJvmOptions, "1")
                     .set(config::kNativeLibraryDirectories, "native")
                     .set(config::kApplicationArguments, "'conf arg'"));
    std::ofstream(scenario_.directory() / "app.vmoptions") << "# comment\r\n-Dfrom.file=1\r\n";
    const LauncherRun result = run(program, {"-q_btl_internal", "-J-Dfrom.argument=1", "user arg"});
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 0) << describe(result);

    const JvmSession session = onlySession();
    EXPECT_EQ(session.version, 0x00010002u);
    EXPECT_TRUE(session.ignoreUnrecognized);
    const std::string exe = WineScenario::windowsPath(program);
    const std::string directory = WineScenario::windowsPath(scenario_.directory());
    ASSERT_EQ(session.options.size(), 12u) << describe(result);
    const std::vector<std::string> leading{"-Dzelkor.semaphoreName=" + firstSemaphoreName(exe),
                                           "-Dzelkor.moduleName=" + exe, "-Dsun.java.command=" + exe,
                                           "-Dzelkor.tempDir=",
                                           "-Dzelkor.unextractedPosition=0"};  // nothing was extracted
    EXPECT_EQ(std::vector<std::string>(session.options.begin(), session.options.begin() + 5), leading);
    // PATH begins with the native directory and ends with the runtime's bin.
    const std::string& libraryPath = session.options[5];
    EXPECT_EQ(libraryPath.rfind("-Djava.library.path=" + directory + "\\native;", 0), 0u) << libraryPath;
    EXPECT_TRUE(libraryPath.ends_with(";" + lowered(WineScenario::windowsPath(runtime_->home() / "bin"))))
        << libraryPath;
    const std::vector<std::string> trailing{"-Dzelkor.consoleCodepage=cp0", "-Xss1m", "-Dconfigured=a b",
                                            "-Dfrom.argument=1", "-Dfrom.file=1",
                                            "-Djava.class.path=" + directory + "\\classes;"};
    EXPECT_EQ(std::vector<std::string>(session.options.begin() + 6, session.options.end()), trailing);

    const std::vector<std::string> expectedCalls{"FindClass", "GetStaticMethodID", "FindClass", "NewObjectArray"};
    const std::vector<std::string> calls = session.functions();
    ASSERT_GE(calls.size(), expectedCalls.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 4), expectedCalls);
    std::vector<std::u16string> arguments;
    for (const JvmCall* call : session.callsOf("NewString")) arguments.insert(arguments.end(), call->texts.begin(), call->texts.end());
    // The program word as the command line has it, the configured arguments,
    // then the user's ("-q_btl_internal" is one of them).
    const std::u16string programWord(exe.begin(), exe.end());
    const std::vector<std::u16string> expected{u"true", u"",       u"",        u"", u"false", programWord, u"conf arg",
                                               u"-q_btl_internal", u"user arg"};
    EXPECT_EQ(arguments, expected);
    EXPECT_EQ(session.callsOf("CallStaticVoidMethod").size(), 1u);
    EXPECT_EQ(session.callsOf("DestroyJavaVM").size(), 1u);
    EXPECT_TRUE(result.logHas("launch done")) << describe(result);
}

TEST_P(LaunchScenarioTest, EachFailureOfTheStartEndsWithItsMessage) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> behaviour;
        PayloadBuilder changes;
        const char* message;
        const char* logLine;
    } cases[] = {
        {"creation refused", {{"create.result", "-1"}}, {}, "JVM start failed.", "ERROR: could not initialize JVM"},
        {"main throws", {{"main.throws", "true"}}, {}, "JVM start failed.", "ERROR: an exception occured"},
        {"no main method", {{"missing-methods", "main"}}, {}, "No main method.", "ERROR: could not find main method"},
        {"no bootstrap class", {}, PayloadBuilder().set(config::kClassPath, "D0elsewhere;"), "No main class.", "ERROR: could not find main class"},
        {"required entry missing", {}, PayloadBuilder().set(config::kClassPath, "D0classes;S1no\\lib"), "Missing no\\lib.", "launching program"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path program = launcher(c.changes);
        behave(c.behaviour);
        const LauncherRun result = run(program);
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.exitCode, 1) << describe(result);
        EXPECT_NE(result.standardError.find(std::string(c.message) + "\n"), std::string::npos) << describe(result);
        EXPECT_TRUE(result.logHas(c.logLine)) << describe(result);
    }
}

TEST_P(LaunchScenarioTest, FirstRunHookRunsOnlyWithItsMarkerAndCanStopTheLaunch) {
    const struct {
        const char* answer;
        bool marker;
        int exitCode;
        size_t mainCalls;
    } cases[] = {
        {"false", false, 0, 1},  // no marker: the hook is not asked
        {"false", true, 0, 0},
        {"true", true, 0, 1},
        {"throw", true, 1, 0},  // a failing hook is a failed launch
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + (c.marker ? " with marker" : " without marker"));
        const fs::path program =
            launcher(PayloadBuilder().set(config::kFlavor, "b").set(config::kApplicationDirectory, "app"), false,
                     "com/brantel/runtime/launcher/WinLauncher");
        const fs::path hook = scenario_.directory() / "classes" / "com/brantel/runtime/launcher/FirstRun.class";
        std::ofstream(hook) << "class bytes";
        fs::create_directories(scenario_.directory() / "app" / ".brantel");
        fs::remove(scenario_.directory() / "app" / ".brantel" / "firstrun");
        if (c.marker) std::ofstream(scenario_.directory() / "app" / ".brantel" / "firstrun") << "";
        behave({{"firstRun", c.answer}});
        const LauncherRun result = run(program);
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.exitCode, c.exitCode) << describe(result);
        const JvmSession session = onlySession();
        EXPECT_EQ(session.callsOf("CallStaticBooleanMethod").size(), c.marker ? 1u : 0u);
        EXPECT_EQ(session.callsOf("CallStaticVoidMethod").size(), c.mainCalls);
        // The brantel runtime jar comes before the configured entries, whether it exists or not.
        EXPECT_NE(session.options.back().find("\\app\\.brantel\\btlruntime.jar;"), std::string::npos)
            << session.options.back();
        fs::remove(jvmDirectory() / "standin-jvm-transcript.txt");
    }
}

TEST_P(LaunchScenarioTest, ServiceChildSaysItIsAServiceAndEndsSilentlyOnFailure) {
    const fs::path program = launcher({}, true);
    behave({{"main.throws", "true"}});
    const LauncherRun result = run(program, {"MyService", "start arg", "__btl_restart"});
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 1) << describe(result);
    EXPECT_EQ(result.standardError.find("JVM start failed."), std::string::npos) << describe(result);
    const JvmSession session = onlySession();
    EXPECT_NE(std::find(session.options.begin(), session.options.end(), "-Dzelkor.isService=true"),
              session.options.end());
    std::vector<std::u16string> arguments;
    for (const JvmCall* call : session.callsOf("NewString")) arguments.insert(arguments.end(), call->texts.begin(), call->texts.end());
    const std::vector<std::u16string> expected{u"false", u"", u"", u"", u"false", u"MyService", u"start arg"};
    EXPECT_EQ(arguments, expected);
}

INSTANTIATE_TEST_SUITE_P(Bitness, LaunchScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
