// Launchers made from each template start under Wine and read their payload:
// damaged and unusual payloads end with the exact message, exit code and log
// lines; good ones get as far as the stages that are not built yet.
#include "support/LittleEndian.h"
#include "support/PayloadBuilder.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace {

using namespace payload;

struct TemplateCase {
    const char* file;
    bool gui;
};

std::string caseName(const ::testing::TestParamInfo<TemplateCase>& info) {
    std::string name = info.param.file;
    return name.substr(0, name.find('.'));
}

bool matches(const std::string& text, const char* pattern) { return std::regex_match(text, std::regex(pattern)); }

class StartupScenarioTest : public ::testing::TestWithParam<TemplateCase> {
protected:
    bool gui() const { return GetParam().gui; }

    // Runs a launcher with the log on; the GUI launcher is made quiet by its
    // internal marker, the service launcher by a kind other than 1 and 5.
    LauncherRun runWithPayload(const std::vector<uint8_t>& payloadBytes,
                               std::map<std::string, std::string> environment = {}) {
        const auto launcher = scenario_.makeLauncherWithRawPayload(GetParam().file, payloadBytes);
        environment.emplace("ZELKOR_LOG", "yes");
        return scenario_.run(launcher, gui() ? std::vector<std::string>{"-q_btl_internal"} : std::vector<std::string>{},
                             environment);
    }

    // Exit code 1, the log's first lines and, where the launcher is quiet by
    // then, the message on standard error followed by the log path.
    void expectFatal(const LauncherRun& run, const std::string& message, bool quiet) {
        EXPECT_EQ(run.exitCode, 1);
        ASSERT_TRUE(run.log) << "no log file; stderr: " << run.standardError;
        const std::vector<std::string> lines = run.logLines();
        ASSERT_GE(lines.size(), 6u);
        EXPECT_EQ(lines[0].rfind("Started executable Z:\\", 0), 0u) << lines[0];
        EXPECT_EQ(lines[1], "");
        EXPECT_TRUE(matches(lines[2], "number of sections: [0-9]+")) << lines[2];
        EXPECT_TRUE(matches(lines[3], "size of optional headers: (240|224)")) << lines[3];
        EXPECT_TRUE(matches(lines[4], "resSectionTableStart: [0-9]+")) << lines[4];
        EXPECT_TRUE(matches(lines[5], "rawDataSize: [0-9]+, rawDataOffset: [0-9]+")) << lines[5];
        if (quiet) {
            const std::string expected = message + "\n\nLog: C:\\";
            EXPECT_EQ(run.standardError.substr(0, expected.size()), expected) << run.standardError;
            EXPECT_NE(run.standardError.find("btl_nlog"), std::string::npos);
        }
    }

    WineScenario scenario_{"startup"};
};

TEST_P(StartupScenarioTest, BareTemplateFailsAtItsFirstRead) {
    const LauncherRun run = runWithPayload({});
    SKIP_IF_UNRUNNABLE(run);
    expectFatal(run, "Internal Error: readInt", gui());
    const std::vector<std::string> lines = run.logLines();
    ASSERT_EQ(lines.size(), 8u);
    // "error %d %d\n": the format's own line feed leaves an empty line.
    EXPECT_TRUE(matches(lines[6], "error [0-9]+ 0")) << lines[6];
    EXPECT_EQ(lines[7], "");
}

TEST_P(StartupScenarioTest, DamagedMagicIsFatal) {
    std::vector<uint8_t> bytes = PayloadBuilder().encodedRecord();
    bytes[3] = 0x00;
    const LauncherRun run = runWithPayload(bytes);
    SKIP_IF_UNRUNNABLE(run);
    expectFatal(run, "Internal Error: magic", gui());
    EXPECT_EQ(run.logLines().size(), 6u) << "nothing is logged after the section table values";
}

// A payload cut inside each kind of field fails with that field's message.
TEST_P(StartupScenarioTest, TruncatedPayloadNamesTheFieldKind) {
    const std::vector<uint8_t> full = PayloadBuilder()
                                          .set(config::kFlavor, "z")
                                          .set(config::kServiceDescription, u"wxyz")
                                          .locale("de", {{config::kServiceDescription, u"uv"}})
                                          .encodedRecord();
    // magic 0-3, A 4-7, B 8-11, long 12-19, N 20-23, key 24-27, len 28-31, "z" 32,
    // W 33-36, key 37-40, len 41-44, body 45-52, S 53-56, prefix len 57-60, "de" 61-62,
    // M 63-66, key 67-70, len 71-74, body 75-78.
    ASSERT_EQ(full.size(), 79u);
    const struct {
        size_t cut;
        const char* message;
    } cases[] = {
        {14, "Internal Error: readLong"},    {22, "Internal Error: readInt"},
        {26, "Internal Error: readInt"},     {32, "Internal Error: readString"},
        {48, "Internal Error: readWString"}, {62, "Internal Error: readString"},
        {65, "Internal Error: readInt"},     {77, "Internal Error: readWString"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cut at " << c.cut);
        const LauncherRun run = runWithPayload(std::vector<uint8_t>(full.begin(), full.begin() + c.cut));
        SKIP_IF_UNRUNNABLE(run);
        // The service launcher is not quiet yet: its kind is unknown until the record is read.
        expectFatal(run, c.message, gui());
    }
}

TEST_P(StartupScenarioTest, HugeStringLengthIsRefusedWithoutExhaustingMemory) {
    std::vector<uint8_t> bytes = PayloadBuilder().set(config::kApplicationName, "x").encodedRecord();
    put32(bytes, 28, 2147483647);
    const LauncherRun run = runWithPayload(bytes);
    SKIP_IF_UNRUNNABLE(run);
    expectFatal(run, "Internal Error: readString", gui());
}

// A loaded configuration takes the GUI launcher to the runtime search, which
// finds nothing here; the service launcher to the service control dispatcher,
// which refuses a program started from a console.
void expectDispatcherRefused(const LauncherRun& run) {
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardError, "");
    const std::vector<std::string> lines = run.logLines();
    const auto calling = std::find(lines.begin(), lines.end(), "calling StartServiceCtrlDispatcher");
    ASSERT_TRUE(calling != lines.end() && lines.end() - calling >= 3) << run.log.value_or("");
    EXPECT_EQ(calling[1], "StartServiceCtrlDispatcher failed with error 1063");
    EXPECT_EQ(calling[2], "StartServiceCtrlDispatcher returned");
}

void expectLoadedToTheEnd(const LauncherRun& run, bool gui) {
    if (gui) {
        EXPECT_EQ(run.exitCode, 83);
        const std::vector<std::string> lines = run.logLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "ERROR: No JVM found"), lines.end()) << run.log.value_or("");
    } else {
        expectDispatcherRefused(run);
    }
}

TEST_P(StartupScenarioTest, NegativeCountsReadNothingAndDuplicateKeysKeepTheLast) {
    std::vector<uint8_t> bytes = PayloadBuilder()
                                     .add(config::kWorkingDirectory, "first")
                                     .set(config::kLauncherKind, gui() ? "1" : "4")
                                     .add(config::kWorkingDirectory, "second")
                                     .encodedRecord();
    const size_t wideCount = bytes.size() - 8;
    put32(bytes, wideCount, static_cast<uint32_t>(-3));
    put32(bytes, wideCount + 4, static_cast<uint32_t>(-1));
    const LauncherRun run = runWithPayload(bytes);
    SKIP_IF_UNRUNNABLE(run);
    expectLoadedToTheEnd(run, gui());
    const std::vector<std::string> lines = run.logLines();
    const std::string expected =
        "change working directory to " + WineScenario::windowsPath(scenario_.directory() / "second");
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << run.log.value_or("");
}

TEST_P(StartupScenarioTest, LocaleSectionsAndOddWideLengthsLoad) {
    std::vector<uint8_t> bytes = PayloadBuilder()
                                     .set(config::kLauncherKind, gui() ? "1" : "4")
                                     .set(config::kServiceDescription, u"abc")
                                     .locale("fr", {{config::kServiceDescription, u"fr"}})
                                     .locale("de", {{config::kServiceDescription, u"de"}})
                                     .locale("de_AT", {{config::kServiceDescription, u"at"}})
                                     .encodedRecord();
    // Make the wide value 5 bytes long: 2 characters are kept, the odd byte
    // dropped, and the sections behind it must still be read in step.
    const size_t wideLength = 20 + 4 + 4 + 4 + 1 + 4 + 4;
    ASSERT_EQ(bytes[wideLength], 6);
    put32(bytes, wideLength, 5);
    bytes.erase(bytes.begin() + wideLength + 4 + 5);
    const LauncherRun run = runWithPayload(bytes, {{"LC_ALL", "de_AT.UTF-8"}});
    SKIP_IF_UNRUNNABLE(run);
    expectLoadedToTheEnd(run, gui());
    const std::vector<std::string> lines = run.logLines();
    ASSERT_GE(lines.size(), 8u);
    if (gui()) {
        EXPECT_EQ(lines[6], "sun.locale.formatasdefault is true");
        EXPECT_EQ(lines[7], "language/country is de_AT");
    } else {
        EXPECT_EQ(lines[6], "language/country is de_AT") << "the service launcher has no argument list";
    }
}

TEST_P(StartupScenarioTest, LogStaysOffUnlessTheVariableIsExactlyYes) {
    const auto launcher = scenario_.makeLauncherWithRawPayload(GetParam().file, {});
    const LauncherRun run =
        scenario_.run(launcher, gui() ? std::vector<std::string>{"-q_btl_internal"} : std::vector<std::string>{},
                      {{"ZELKOR_LOG", "YES"}, {"BRANTEL_LOG", "1"}});
    SKIP_IF_UNRUNNABLE(run);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.log);
    if (gui()) EXPECT_EQ(run.standardError, "Internal Error: readInt\n");
}

// The service launcher started with the child marker as its last argument
// runs the child sequence instead of the dispatcher.
class ServiceStartupScenarioTest : public StartupScenarioTest {};

TEST_P(ServiceStartupScenarioTest, ServiceChildMarkerRunsTheChildSequence) {
    const auto launcher = scenario_.makeLauncherWithRawPayload(
        GetParam().file, PayloadBuilder().set(config::kLauncherKind, "4").encodedRecord());
    const LauncherRun child = scenario_.run(launcher, {"x", "__btl_restart"}, {{"ZELKOR_LOG", "yes"}});
    SKIP_IF_UNRUNNABLE(child);
    EXPECT_EQ(child.exitCode, 1);
    const std::vector<std::string> lines = child.logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ERROR: No JVM found"), lines.end()) << child.log.value_or("");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "registering ConsoleCtrlHandler"), lines.end());

    // Anywhere but last, the marker is an ordinary argument.
    const LauncherRun notLast = scenario_.run(launcher, {"__btl_restart", "x"}, {{"ZELKOR_LOG", "yes"}});
    expectDispatcherRefused(notLast);
}

INSTANTIATE_TEST_SUITE_P(Templates, StartupScenarioTest,
                         ::testing::Values(TemplateCase{"guilauncher64.exe", true},
                                           TemplateCase{"svclauncher64.exe", false},
                                           TemplateCase{"guilauncher32.exe", true},
                                           TemplateCase{"svclauncher32.exe", false}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(ServiceTemplates, ServiceStartupScenarioTest,
                         ::testing::Values(TemplateCase{"svclauncher64.exe", false},
                                           TemplateCase{"svclauncher32.exe", false}),
                         caseName);

}  // namespace
