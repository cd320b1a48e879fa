// Scenarios that point the prefix's temporary path (TMP and TEMP of the
// registry, restored after) somewhere else: a 1 MiB tmpfs, where an embedded
// file larger than that must end with message 1009 and "16" and leave nothing
// behind, and a path that the ANSI code page cannot express. They run
// serially: the prefix's temporary path is shared by every scenario.
#include "support/HostCommand.h"
#include "support/PayloadBuilder.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>

namespace fs = std::filesystem;

namespace {

int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads a value of HKCU\Environment as "reg query" prints it.
std::string environmentRegistryValue(const std::string& name) {
    const std::string output =
        hostCommandOutput(std::string(LAUNCHER_WINE_RUN) + " reg query 'HKCU\\Environment' /v " + name);
    std::smatch match;
    const std::regex line(name + "\\s+REG_\\w+\\s+([^\\r\\n]*)");
    return std::regex_search(output, match, line) ? match[1].str() : std::string();
}

void setEnvironmentRegistryValue(const std::string& name, const std::string& value) {
    runCommand(std::string(LAUNCHER_WINE_RUN) + " reg add 'HKCU\\Environment' /v " + name + " /t REG_SZ /d " +
               shellQuoted(value) + " /f >/dev/null 2>&1");
}

// Points the prefix's TMP and TEMP at another directory for its lifetime.
class TempPathOverride {
public:
    explicit TempPathOverride(const fs::path& directory)
        : savedTmp_(environmentRegistryValue("TMP")), savedTemp_(environmentRegistryValue("TEMP")) {
        const std::string path = WineScenario::windowsPath(directory);
        setEnvironmentRegistryValue("TMP", path);
        setEnvironmentRegistryValue("TEMP", path);
    }
    ~TempPathOverride() {
        setEnvironmentRegistryValue("TMP", savedTmp_);
        setEnvironmentRegistryValue("TEMP", savedTemp_);
    }
    bool valid() const { return !savedTmp_.empty() && !savedTemp_.empty(); }

private:
    std::string savedTmp_, savedTemp_;
};

class DiskFullScenarioTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        mountPoint_ = scenario_.directory() / "tiny";
        fs::create_directories(mountPoint_);
        if (runCommand("mount -t tmpfs -o size=1m tmpfs " + shellQuoted(mountPoint_.string()) + " 2>/dev/null") != 0)
            GTEST_SKIP() << "a tmpfs cannot be mounted here (needs root and mount permission)";
        mounted_ = true;
        override_ = std::make_unique<TempPathOverride>(mountPoint_);
        ASSERT_TRUE(override_->valid());
    }

    void TearDown() override {
        override_.reset();
        if (mounted_) runCommand("umount " + shellQuoted(mountPoint_.string()));
    }

    WineScenario scenario_{"diskfull"};
    fs::path mountPoint_;
    bool mounted_ = false;
    std::unique_ptr<TempPathOverride> override_;
};

TEST_P(DiskFullScenarioTest, ExtractionIntoAFullDiskFailsCleanly) {
    const fs::path big = scenario_.directory() / "big.bin";
    std::ofstream(big, std::ios::binary) << std::string(2 * 1024 * 1024, 'x');
    const PayloadBuilder payload = PayloadBuilder()
                                       .set(config::kLauncherKind, "1")
                                       .set(config::kMessageInternalError, "An internal error occurred (error code: {0})")
                                       .embed("big.jar", big);
    const fs::path launcher =
        scenario_.makeLauncher("guilauncher" + std::to_string(GetParam()) + ".exe", payload);
    const LauncherRun run = scenario_.run(launcher, {"-q_btl_internal"});
    if (run.skipped) GTEST_SKIP() << run.skipReason;
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError, "An internal error occurred (error code: 16)\n");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(mountPoint_)) left.push_back(entry.path().filename().string());
    EXPECT_TRUE(left.empty()) << "left behind: " << (left.empty() ? "" : left.front());
}

// A temporary path that the ANSI code page cannot express is replaced by the
// first usable fallback: the Windows directory's "temp".
class TempPathFallbackTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        // CJK characters: the ANSI functions turn them into "?". (Letters such
        // as a Greek omega get a best-fit "O" instead, a different directory.)
        unicodeDirectory_ = scenario_.directory() / "\u65E5\u672C";
        fs::create_directories(unicodeDirectory_);
        override_ = std::make_unique<TempPathOverride>(unicodeDirectory_);
        ASSERT_TRUE(override_->valid());
    }
    void TearDown() override { override_.reset(); }

    WineScenario scenario_{"tempfallback"};
    fs::path unicodeDirectory_;
    std::unique_ptr<TempPathOverride> override_;
};

TEST_P(TempPathFallbackTest, UnrepresentableTempPathFallsBackToTheWindowsTempDirectory) {
    std::ofstream(scenario_.directory() / "a.bin", std::ios::binary) << "abc";
    const PayloadBuilder payload =
        PayloadBuilder().set(config::kLauncherKind, "4").embed("a.jar", scenario_.directory() / "a.bin");
    const LauncherRun run = scenario_.run(scenario_.makeLauncherFrom(testProgram("extraction_probe", GetParam()), payload));
    if (run.skipped) GTEST_SKIP() << run.skipReason;
    ASSERT_EQ(run.exitCode, 0) << run.standardOutput;
    std::smatch match;
    const std::string output = run.standardOutput;
    ASSERT_TRUE(std::regex_search(output, match, std::regex("tempDir ([^\n]*)"))) << output;
    const std::string tempDir = match[1].str();
    EXPECT_EQ(tempDir.rfind("C:\\windows\\temp\\zkr", 0), 0u) << tempDir;
    EXPECT_TRUE(fs::is_empty(unicodeDirectory_)) << "nothing is written under the unusable path";
    const fs::path kept = WineScenario::unixPath(tempDir);
    fs::remove_all(kept);
    fs::remove(kept.string().substr(0, kept.string().rfind("_dir")));
}

INSTANTIATE_TEST_SUITE_P(Bitness, TempPathFallbackTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

INSTANTIATE_TEST_SUITE_P(Bitness, DiskFullScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
