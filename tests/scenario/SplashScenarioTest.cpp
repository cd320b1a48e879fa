// The splash screen of the GUI launcher under Wine with the stand-in
// splashscreen.dll, which records every call: what the launcher hands it, and
// when it asks for the splash to close.
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace payload;

std::string describe(const LauncherRun& run) {
    return "exit " + std::to_string(run.exitCode) + "\nstderr: " + run.standardError + "\nlog:\n" +
           run.log.value_or("(none)");
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int shell(const std::string& command) { return std::system(command.c_str()); }

// Signs `program` in place with a self-signed certificate made for the test,
// and checks the signature; false (with a message) when the tools are missing
// or refuse.
bool signLauncher(const fs::path& program, std::string& problem) {
    const fs::path dir = program.parent_path() / "signing";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string d = "'" + dir.string() + "/";
    if (shell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Launcher-Test-Signing -keyout " + d +
              "key.pem' -out " + d + "cert.pem' > " + d + "openssl.log' 2>&1") != 0) {
        problem = "openssl could not make a test certificate: " + readText(dir / "openssl.log");
        return false;
    }
    if (shell("osslsigncode sign -certs " + d + "cert.pem' -key " + d + "key.pem' -n Launcher -in '" + program.string() +
              "' -out " + d + "signed.exe' > " + d + "sign.log' 2>&1") != 0) {
        problem = "osslsigncode sign failed: " + readText(dir / "sign.log");
        return false;
    }
    if (shell("osslsigncode verify -CAfile " + d + "cert.pem' -in " + d + "signed.exe' > " + d + "verify.log' 2>&1") != 0) {
        problem = "osslsigncode verify failed: " + readText(dir / "verify.log");
        return false;
    }
    fs::rename(dir / "signed.exe", program);
    return true;
}

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// What the stand-in records for the test template's image.
std::string imageCall() {
    std::ifstream in(LAUNCHER_SPLASH_IMAGE, std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", crc32(image));
    return "SplashLoadMemory bytes=" + std::to_string(image.size()) + " crc32=" + crc;
}

class SplashScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    struct Outcome {
        LauncherRun run;
        std::vector<std::string> calls;
    };

    // A launcher from `templatePath` beside a bundled stand-in runtime, its
    // bootstrap class in "classes" unless `withBootstrap` is false.
    Outcome launch(const fs::path& templatePath, std::vector<std::pair<int32_t, std::string>> entries,
                   bool withBootstrap = true, bool withSplashLibrary = true) {
        LauncherPayload payload;
        payload.record.narrowEntries = {{107, "1"}, {128, "Rjre"}, {126, "1.6"}, {121, "D0classes;"},
                                        {1010, "No main class."}};
        for (auto& [key, value] : entries) payload.record.narrowEntries.push_back({key, std::move(value)});
        payload.resources = resources_;
        const fs::path program = scenario_.makeLauncherFrom(templatePath, payload);
        if (sign_) {
            std::string problem;
            EXPECT_TRUE(signLauncher(program, problem)) << problem;
        }
        const PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::Jre,
                                    bits(), "java version \"1.8.0_121\"");
        fs::remove(runtime.home() / "bin" / kSplashCallsFile);  // a home may be placed again
        if (!withSplashLibrary) fs::remove(runtime.home() / "bin" / "splashscreen.dll");
        fs::remove_all(scenario_.directory() / "classes");
        if (withBootstrap) {
            const fs::path classFile = scenario_.directory() / "classes/com/zelkor/runtime/WinLauncher.class";
            fs::create_directories(classFile.parent_path());
            std::ofstream(classFile) << "class bytes";
        }
        LauncherRun run = scenario_.run(program, {"-q_btl_internal"}, {{"ZELKOR_LOG", "yes"}});
        return {std::move(run), splashCalls(runtime.home())};
    }

    fs::path splashTemplate() const { return testProgram("splash_guilauncher", bits()); }
    fs::path plainTemplate() const { return templateDirectory() / ("guilauncher" + std::to_string(bits()) + ".exe"); }

    WineScenario scenario_{"splash"};
    resources::ResourceChanges resources_;  // written into the launcher
    bool sign_ = false;
};

TEST_P(SplashScenarioTest, ImageOfTheLauncherGoesToTheRuntimesSplashLibrary) {
    const Outcome shown = launch(splashTemplate(), {{108, "1"}, {10123, "1"}});
    SKIP_IF_UNRUNNABLE(shown.run);
    EXPECT_EQ(shown.run.exitCode, 0) << describe(shown.run);
    EXPECT_EQ(shown.calls, (std::vector<std::string>{"SplashInit", imageCall()}));
    EXPECT_TRUE(shown.run.logHasPrefix("loading splashscreen dll from ")) << describe(shown.run);
    EXPECT_TRUE(shown.run.logHasPrefix("splash load memory returned 1 (")) << describe(shown.run);

    // Without the resource the library gets nothing to show.
    const Outcome bare = launch(plainTemplate(), {{108, "1"}, {10123, "1"}});
    EXPECT_EQ(bare.calls, (std::vector<std::string>{"SplashInit", "SplashLoadMemory bytes=0 data=null"}));
}

TEST_P(SplashScenarioTest, BothKeysAreNeededAndAMissingLibraryOnlyLogs) {
    for (const auto& keys : std::vector<std::vector<std::pair<int32_t, std::string>>>{
             {{108, "1"}, {10123, "0"}}, {{108, "0"}, {10123, "1"}}}) {
        const Outcome outcome = launch(splashTemplate(), keys);
        SKIP_IF_UNRUNNABLE(outcome.run);
        EXPECT_EQ(outcome.run.exitCode, 0) << describe(outcome.run);
        EXPECT_TRUE(outcome.calls.empty());
        EXPECT_FALSE(outcome.run.logHasPrefix("loading splashscreen dll")) << describe(outcome.run);
    }
    // A runtime without the library: the application starts anyway.
    const Outcome missing = launch(splashTemplate(), {{108, "1"}, {10123, "1"}}, true, false);
    EXPECT_EQ(missing.run.exitCode, 0) << describe(missing.run);
    EXPECT_TRUE(missing.run.logHas("ERROR: Could not load splashscreen.dll")) << describe(missing.run);
}

TEST_P(SplashScenarioTest, FatalErrorClosesTheSplashBeforeItsMessage) {
    const Outcome failed = launch(splashTemplate(), {{108, "1"}, {10123, "1"}}, false);
    SKIP_IF_UNRUNNABLE(failed.run);
    EXPECT_EQ(failed.run.exitCode, 1) << describe(failed.run);
    EXPECT_EQ(failed.run.standardError.rfind("No main class.", 0), 0u) << describe(failed.run);
    EXPECT_EQ(failed.calls, (std::vector<std::string>{"SplashInit", imageCall(), "SplashClose"}));
}

// The generator's splash resource in a plain template reaches the library just
// like the test template's own; signed, the launcher still finds its payload
// and does the same.
TEST_P(SplashScenarioTest, WrittenSplashImageShowsAndSurvivesSigning) {
    if (shell("osslsigncode --version > /dev/null 2>&1") != 0 || shell("openssl version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "osslsigncode or openssl missing";
    const std::string image = readText(LAUNCHER_SPLASH_IMAGE);
    resources_.splash.assign(image.begin(), image.end());
    resources_.version = resources::VersionInfo{{2, 0, 0, 1}, {2, 0, 0, 0}, "2.0.0.1", "2.0", "Splash Test", "Acme",
                                                "Splash test launcher", "(c) Acme"};
    for (const bool sign : {false, true}) {
        SCOPED_TRACE(sign ? "signed" : "unsigned");
        sign_ = sign;
        const Outcome shown = launch(plainTemplate(), {{108, "1"}, {10123, "1"}});
        SKIP_IF_UNRUNNABLE(shown.run);
        EXPECT_EQ(shown.run.exitCode, 0) << describe(shown.run);
        EXPECT_EQ(shown.calls, (std::vector<std::string>{"SplashInit", imageCall()}));
        EXPECT_TRUE(shown.run.logHasPrefix("splash load memory returned 1 (")) << describe(shown.run);
    }
}

INSTANTIATE_TEST_SUITE_P(Bitness, SplashScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
