// Embedded files under Wine: the bytes on disk, the position after them, and
// the temporary directory removed by every fatal exit. The extraction probe is
// a test program that runs the launcher's own loading and extraction and then
// ends, leaving the files for the test (see ExtractionProbe.cpp).
#include "support/PayloadBuilder.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>

namespace fs = std::filesystem;
using namespace payload;

namespace {

constexpr const char* kInternalError = "An internal error occurred (error code: {0})";

// The value after "<key> " in the probe's report.
std::string reported(const std::string& output, const std::string& key) {
    std::smatch match;
    const std::regex pattern(key + " ([^\n]*)");
    return std::regex_search(output, match, pattern) ? match[1].str() : std::string();
}

class ExtractionScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    fs::path writeSource(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = scenario_.directory() / ("source_" + name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    // Removes what a normal end leaves behind: the directory and its reservation file.
    static void removeKept(const fs::path& directory) {
        fs::remove_all(directory);
        const std::string text = directory.string();
        fs::remove(text.substr(0, text.rfind("_dir")));
    }

    WineScenario scenario_{"extraction"};
};

TEST_P(ExtractionScenarioTest, FilesLandUnmasked) {
    const std::vector<uint8_t> a = {0x00, 0x5C, 0xFF};
    std::vector<uint8_t> c(20000);
    for (size_t i = 0; i < c.size(); ++i) c[i] = static_cast<uint8_t>(i * 7);
    const std::vector<uint8_t> d = {'d'};
    const PayloadBuilder payload = PayloadBuilder()
                                       .set(config::kLauncherKind, "4")
                                       .set(config::kEmbeddedFileCount, "5")
                                       .set(config::kEmbeddedFileNames, "a.jar;lib\\c.jar;b.exe;;lib\\d.txt;")
                                       .embed("a.jar", writeSource("a", a))
                                       .embed("lib\\c.jar", writeSource("c", c))
                                       .embed("b.exe", writeSource("b", {}))
                                       .embed("lib\\d.txt", writeSource("d", d));
    const fs::path probe = scenario_.makeLauncherFrom(testProgram("extraction_probe", bits()), payload);
    const LauncherRun run = scenario_.run(probe, {}, {{"ZELKOR_LOG", "yes"}});
    SKIP_IF_UNRUNNABLE(run);
    ASSERT_EQ(run.exitCode, 0) << run.standardOutput << run.standardError;

    const fs::path directory = WineScenario::unixPath(reported(run.standardOutput, "tempDir"));
    ASSERT_TRUE(fs::is_directory(directory)) << directory;
    EXPECT_EQ(readBytes(directory / "a.jar"), a);
    EXPECT_EQ(readBytes(directory / "lib" / "c.jar"), c);
    EXPECT_EQ(readBytes(directory / "lib" / "d.txt"), d) << "an existing sub-directory is accepted";
    EXPECT_FALSE(fs::exists(directory / "b.exe")) << "a file of size 0 is not created";

    // Four named files of five announced: the position is after the fourth.
    const unsigned long start = std::stoul(reported(run.standardOutput, "extractionStart"));
    const unsigned long after = std::stoul(reported(run.standardOutput, "unextractedPosition"));
    EXPECT_EQ(after, start + (8 + a.size()) + (8 + c.size()) + 8 + (8 + d.size()));
    const std::vector<std::string> lines = run.logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Included files: 5"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "extracting files done"), lines.end());
    removeKept(directory);
}

TEST_P(ExtractionScenarioTest, NoFilesMeansNoDirectory) {
    const PayloadBuilder payload = PayloadBuilder()
                                       .set(config::kLauncherKind, "4")
                                       .set(config::kEmbeddedFileCount, "0")
                                       .set(config::kEmbeddedFileNames, "a.jar;");
    const LauncherRun run = scenario_.run(scenario_.makeLauncherFrom(testProgram("extraction_probe", bits()), payload));
    SKIP_IF_UNRUNNABLE(run);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(reported(run.standardOutput, "tempDir"), "");
    EXPECT_EQ(reported(run.standardOutput, "unextractedPosition"), "0");
}

class LauncherExtractionTest : public ExtractionScenarioTest {
protected:
    std::string launcherTemplate() const { return "guilauncher" + std::to_string(bits()) + ".exe"; }

    // A GUI launcher that says which internal error ended it.
    static PayloadBuilder guiPayload() {
        return PayloadBuilder().set(config::kLauncherKind, "1").set(config::kMessageInternalError, kInternalError);
    }

    LauncherRun runQuiet(const fs::path& launcher) {
        return scenario_.run(launcher, {"-q_btl_internal"}, {{"ZELKOR_LOG", "yes"}});
    }
};

TEST_P(LauncherExtractionTest, FatalExitAfterExtractionRemovesTheDirectory) {
    const PayloadBuilder payload =
        guiPayload().embed("a.jar", writeSource("a", {1, 2, 3})).embed("lib\\b.jar", writeSource("b", {4}));
    const LauncherRun run = runQuiet(scenario_.makeLauncher(launcherTemplate(), payload));
    SKIP_IF_UNRUNNABLE(run);
    EXPECT_EQ(run.exitCode, 83) << "the Java runtime search ends this run";
    const std::string directory = run.announcedTempDir();
    ASSERT_FALSE(directory.empty()) << run.log.value_or("no log");
    EXPECT_FALSE(fs::exists(WineScenario::unixPath(directory)));
    const std::string reservation = directory.substr(0, directory.rfind("_dir"));
    EXPECT_FALSE(fs::exists(WineScenario::unixPath(reservation)));
}

TEST_P(LauncherExtractionTest, PayloadCutInsideAContentBlockEndsWith16AndLeavesNothing) {
    const PayloadBuilder payload = guiPayload().embed("lib\\a.jar", writeSource("a", std::vector<uint8_t>(10000, 0x41)));
    const fs::path launcher = scenario_.makeLauncher(launcherTemplate(), payload);
    fs::resize_file(launcher, fs::file_size(launcher) - 100);
    const LauncherRun run = runQuiet(launcher);
    SKIP_IF_UNRUNNABLE(run);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError.rfind("An internal error occurred (error code: 16)\n\nLog: ", 0), 0u)
        << run.standardError;
    const std::vector<std::string> lines = run.logLines();
    const auto failed = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.rfind("ERROR: ReadFile failed ", 0) == 0; });
    ASSERT_NE(failed, lines.end()) << run.log.value_or("");
    EXPECT_TRUE(std::regex_match(*failed, std::regex("ERROR: ReadFile failed 0 [0-9]+ 9900"))) << *failed;
    ASSERT_NE(failed + 1, lines.end());
    EXPECT_EQ((failed + 1)->rfind("ERROR: Failed to extract ", 0), 0u);
    const std::string directory = run.announcedTempDir();
    EXPECT_FALSE(fs::exists(WineScenario::unixPath(directory))) << "partial file and directory are removed";
}

TEST_P(LauncherExtractionTest, NamesLeavingTheDirectoryOrNamingADeviceAreRefusedBeforeAnythingIsWritten) {
    for (const char* name :
         {"..\\escaped.txt", "C:\\escaped.txt", "lib\\..\\..\\escaped.txt", "NUL", "lib\\nul.jar", "COM1.txt"}) {
        SCOPED_TRACE(name);
        const PayloadBuilder payload =
            guiPayload().embed("ok.jar", writeSource("ok", {1})).embed(name, writeSource("escaped", {2}));
        const LauncherRun run = runQuiet(scenario_.makeLauncher(launcherTemplate(), payload));
        SKIP_IF_UNRUNNABLE(run);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.standardError.rfind("An internal error occurred (error code: 11)", 0), 0u) << run.standardError;
        EXPECT_EQ(run.announcedTempDir(), "") << "no directory is created";
        EXPECT_FALSE(fs::exists(WineScenario::driveC() / "escaped.txt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Bitness, ExtractionScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });
INSTANTIATE_TEST_SUITE_P(Bitness, LauncherExtractionTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
