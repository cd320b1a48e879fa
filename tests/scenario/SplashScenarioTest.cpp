// The splash screen of the GUI launcher under Wine with the stand-in
// splashscreen.dll, which records every call: what the launcher hands it, and
// when it asks for the splash to close.
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace payload;

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
        problem = "openssl could not make a test certificate: " + readFile(dir / "openssl.log");
        return false;
    }
    if (shell("osslsigncode sign -certs " + d + "cert.pem' -key " + d + "key.pem' -n Launcher -in '" + program.string() +
              "' -out " + d + "signed.exe' > " + d + "sign.log' 2>&1") != 0) {
        problem = "osslsigncode sign failed: " + readFile(dir / "sign.log");
        return false;
    }
    if (shell("osslsigncode verify -CAfile " + d + "cert.pem' -in " + d + "signed.exe' > " + d + "verify.log' 2>&1") != 0) {
        problem = "osslsigncode verify failed: " + readFile(dir / "verify.log");
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
    const std::string image = readFile(LAUNCHER_SPLASH_IMAGE);
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
    // bootstrap class in "classes" unless `withBootstrap` is false. The splash
    // needs both keys: `show` (108) and `enabled` (10123).
    Outcome launch(const fs::path& templatePath, const std::string& show, const std::string& enabled,
                   bool withBootstrap = true, bool withSplashLibrary = true) {
        const PayloadBuilder payload = PayloadBuilder()
                                           .set(config::kLauncherKind, "1")
                                           .withBundledStandIn()
                                           .set(config::kMessageMainClassNotFound, "No main class.")
                                           .set(config::kShowSplashScreen, show)
                                           .set(config::kSplashScreenEnabled, enabled)
                                           .resources(resources_);
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
    const Outcome shown = launch(splashTemplate(), "1", "1");
    SKIP_IF_UNRUNNABLE(shown.run);
    EXPECT_EQ(shown.run.exitCode, 0) << describe(shown.run);
    EXPECT_EQ(shown.calls, (std::vector<std::string>{"SplashInit", imageCall()}));
    EXPECT_TRUE(shown.run.logHasPrefix("loading splashscreen dll from ")) << describe(shown.run);
    EXPECT_TRUE(shown.run.logHasPrefix("splash load memory returned 1 (")) << describe(shown.run);

    // Without the resource the library gets nothing to show.
    const Outcome bare = launch(plainTemplate(), "1", "1");
    EXPECT_EQ(bare.calls, (std::vector<std::string>{"SplashInit", "SplashLoadMemory bytes=0 data=null"}));
}

TEST_P(SplashScenarioTest, BothKeysAreNeededAndAMissingLibraryOnlyLogs) {
    for (const auto& [show, enabled] : std::vector<std::pair<const char*, const char*>>{{"1", "0"}, {"0", "1"}}) {
        const Outcome outcome = launch(splashTemplate(), show, enabled);
        SKIP_IF_UNRUNNABLE(outcome.run);
        EXPECT_EQ(outcome.run.exitCode, 0) << describe(outcome.run);
        EXPECT_TRUE(outcome.calls.empty());
        EXPECT_FALSE(outcome.run.logHasPrefix("loading splashscreen dll")) << describe(outcome.run);
    }
    // A runtime without the library: the application starts anyway.
    const Outcome missing = launch(splashTemplate(), "1", "1", true, false);
    EXPECT_EQ(missing.run.exitCode, 0) << describe(missing.run);
    EXPECT_TRUE(missing.run.logHas("ERROR: Could not load splashscreen.dll")) << describe(missing.run);
}

TEST_P(SplashScenarioTest, FatalErrorClosesTheSplashBeforeItsMessage) {
    const Outcome failed = launch(splashTemplate(), "1", "1", false);
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
    const std::string image = readFile(LAUNCHER_SPLASH_IMAGE);
    resources_.splash.assign(image.begin(), image.end());
    resources_.version = resources::VersionInfo{{2, 0, 0, 1}, {2, 0, 0, 0}, "2.0.0.1", "2.0", "Splash Test", "Acme",
                                                "Splash test launcher", "(c) Acme"};
    for (const bool sign : {false, true}) {
        SCOPED_TRACE(sign ? "signed" : "unsigned");
        sign_ = sign;
        const Outcome shown = launch(plainTemplate(), "1", "1");
        SKIP_IF_UNRUNNABLE(shown.run);
        EXPECT_EQ(shown.run.exitCode, 0) << describe(shown.run);
        EXPECT_EQ(shown.calls, (std::vector<std::string>{"SplashInit", imageCall()}));
        EXPECT_TRUE(shown.run.logHasPrefix("splash load memory returned 1 (")) << describe(shown.run);
    }
}

INSTANTIATE_TEST_SUITE_P(Bitness, SplashScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
