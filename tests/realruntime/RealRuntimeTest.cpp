// The real Windows x86-64 runtime under Wine: its java.exe prints the banner
// of the release it is and runs a class from a jar, and its jvm.dll, loaded
// into a program of ours from wherever a scenario places the runtime, starts
// a JVM that sees exactly the text it is handed.
#include "support/BootstrapEcho.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// JAVA_VERSION of the runtime's release file (CR LF line ends), e.g. 17.0.9.
std::string releaseVersion(const fs::path& home) {
    std::ifstream in(home / "release");
    const std::regex versionLine("JAVA_VERSION=\"([^\"]+)\"\r?");
    std::smatch match;
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, match, versionLine)) return match[1];
    return {};
}

std::string escapedForRegex(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

class RealRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!realRuntimeHome()) GTEST_SKIP() << "the real Windows runtime has not been fetched (scripts/setup.sh)";
    }

    fs::path makeHome() { return makeRuntimeHome(scenario_.directory() / "java home", RuntimeShape::Real, 64, ""); }

    // The real runtime in the scenario directory, found through JAVA_HOME
    // (its environment() sets the variable).
    std::unique_ptr<PlacedRuntime> placeRuntimeForJavaHome() {
        PlacementNames names;
        names.variable = "JAVA_HOME";
        return std::make_unique<PlacedRuntime>(scenario_, RuntimePlacement::NamedByVariable, scenario_.directory(),
                                               RuntimeShape::Real, 64, "", names);
    }

    WineScenario scenario_{"real_runtime"};
};

TEST_F(RealRuntimeTest, HomeLinksTheRuntimeAndKeepsWhatTestsWriteToItself) {
    const fs::path home = makeHome();
    for (const char* file : {"bin/java.exe", "bin/javaw.exe", "bin/server/jvm.dll", "lib/modules", "release"}) {
        EXPECT_TRUE(fs::is_symlink(home / file)) << file;
        EXPECT_TRUE(fs::equivalent(home / file, *realRuntimeHome() / file)) << file;
    }
    setJavaBehaviour(home, {"not a real banner", {}, 0});
    EXPECT_TRUE(fs::exists(home / "bin" / kJavaConfigFile));
    EXPECT_FALSE(fs::exists(*realRuntimeHome() / "bin" / kJavaConfigFile));
    EXPECT_THROW(makeRuntimeHome(scenario_.directory() / "x86 home", RuntimeShape::Real, 32, ""), std::runtime_error);
}

TEST_F(RealRuntimeTest, JavaPrintsTheBannerOfItsRelease) {
    const fs::path home = makeHome();
    const std::string version = escapedForRegex(releaseVersion(home));
    ASSERT_NE(version, "") << "no JAVA_VERSION in " << home / "release";
    const LauncherRun run = scenario_.run(home / "bin" / "java.exe", {"-version"}, {}, 60);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.standardOutput, "");
    const std::vector<std::regex> banner = {
        std::regex("openjdk version \"" + version + "\" \\d{4}-\\d{2}-\\d{2}( LTS)?"),
        std::regex("OpenJDK Runtime Environment .*\\(build " + version + "\\+\\d+.*\\)"),
        std::regex("OpenJDK 64-Bit Server VM .*\\(build " + version + "\\+\\d+.*, mixed mode.*\\)"),
    };
    const std::vector<std::string> printed = lines(run.standardError);
    ASSERT_EQ(printed.size(), banner.size()) << describe(run);
    for (size_t i = 0; i < banner.size(); ++i) EXPECT_TRUE(std::regex_match(printed[i], banner[i])) << printed[i];
}

TEST_F(RealRuntimeTest, JavaRunsAClassFromAJar) {
    const fs::path home = makeHome();
    const std::vector<std::string> arguments = {"-cp", WineScenario::windowsPath(REALRUNTIME_JAR), "Hello", "from",
                                                "a jar"};
    const LauncherRun run = scenario_.run(home / "bin" / "java.exe", arguments, {}, 60);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.standardError, "");
    const std::vector<std::string> expected = {
        "Hello, from a jar",
        "java.version=" + releaseVersion(home),
        "os.name=Windows 10",  // the version Wine reports for a new prefix
        "os.arch=amd64",
    };
    EXPECT_EQ(lines(run.standardOutput), expected) << describe(run);
}

TEST_F(RealRuntimeTest, JniStartSeesExactTextsWhereverTheRuntimeIsPlaced) {
    const fs::path program = testProgram("real_jvm_start", 64);
    ASSERT_TRUE(fs::exists(program)) << program << " is built by the win64 preset";
    size_t texts = 2;  // the class path and the ANSI property
    for (const ArgumentGroup& group : exactArgumentGroups()) texts += group.arguments.size();

    PlacementNames names;
    names.javaSoftVersion = "17-realruntime-" + std::to_string(::getpid());  // no other scenario's key
    const struct {
        const char* name;
        RuntimePlacement where;
        std::string runtimeArgument;  // how the program finds the home
    } cases[] = {
        {"bundled jre", RuntimePlacement::BundledJre, "jre"},
        {"environment variable", RuntimePlacement::NamedByVariable, "variable=" + names.variable},
        {"JavaSoft registry", RuntimePlacement::JavaSoftRegistry,
         "registry=" + names.javaSoftProduct + "\\" + names.javaSoftVersion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path programDirectory = scenario_.directory() / "app dir";
        fs::remove_all(programDirectory);
        fs::create_directories(programDirectory);
        fs::copy_file(program, programDirectory / program.filename());
        const PlacedRuntime runtime(scenario_, c.where, programDirectory, RuntimeShape::Real, 64, "", names);
        const fs::path echoFile = scenario_.directory() / "echo.txt";
        fs::remove(echoFile);

        const LauncherRun run = scenario_.run(
            programDirectory / program.filename(),
            {c.runtimeArgument, WineScenario::windowsPath(REALRUNTIME_JAR), WineScenario::windowsPath(echoFile)},
            runtime.environment(), 120);
        EXPECT_EQ(run.exitCode, 0) << describe(run);
        const std::string& out = run.standardOutput;
        EXPECT_NE(out.find("runtime home " + WineScenario::windowsPath(runtime.home()) + "\n"), std::string::npos)
            << out;
        EXPECT_NE(out.find("JNI_CreateJavaVM returned 0 after"), std::string::npos) << out;
        EXPECT_NE(out.find("WinLauncher.main returned\n"), std::string::npos) << out;
        const std::string summary = std::to_string(texts) + " of " + std::to_string(texts) + " texts exact";
        EXPECT_NE(out.find(summary), std::string::npos) << describe(run);
    }
}

// A launcher as a user writes it: the shipped bootstrap jar and the
// application's jar embedded, the echo class of the tests as the main class.
PayloadBuilder echoApplication(const char* sequence, const fs::path& echoFile) {
    return PayloadBuilder()
        .set(config::kLauncherKind, "1")
        .set(config::kJvmSearchSequence, sequence)
        .set(config::kMinVersion, "1.8")
        .set(config::kMainClass, "WinLauncher")
        .set(config::kVmOptions, "-Xmx64m -Dwinlauncher.echoFile=\"" + WineScenario::windowsPath(echoFile) + "\"")
        .set(config::kMessageNoJvmOfBitnessFound, "No {0}-bit JVM found.")
        .embed("launcher-bootstrap.jar", REALRUNTIME_BOOTSTRAP_JAR)
        .embed("application.jar", REALRUNTIME_JAR);
}

TEST_F(RealRuntimeTest, LauncherRunsTheApplicationWithItsArgumentsAndProperties) {
    const fs::path echoFile = scenario_.directory() / "echo.txt";
    const fs::path launcher = scenario_.makeLauncher("guilauncher64.exe", echoApplication("EJAVA_HOME", echoFile));
    const std::unique_ptr<PlacedRuntime> placed = placeRuntimeForJavaHome();
    const PlacedRuntime& runtime = *placed;
    std::map<std::string, std::string> environment = runtime.environment();
    environment["ZELKOR_LOG"] = "yes";
    const std::vector<std::string> arguments{"plain", "with blank", "", "caf\xc3\xa9", "\xe6\x97\xa5\xe6\x9c\xac",
                                             "\xf0\x9f\x98\x80", "-Jnot-for-the-jvm"};
    const LauncherRun run = scenario_.run(launcher, arguments, environment, 120);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    for (const char* line : {"JVM created", "calling main", "main returned", "dest JVM", "launch done"})
        EXPECT_TRUE(run.logHas(line)) << line << "\n" << run.log.value_or("");

    const BootstrapEcho echo = parseBootstrapEcho(readFile(echoFile));
    EXPECT_TRUE(echo.wellFormed);
    std::vector<std::u16string> expected;
    for (const std::string& argument : arguments) expected.push_back(utf8ToUtf16(argument));
    EXPECT_EQ(echo.arguments, expected);

    const std::string tempDir = run.announcedTempDir();
    ASSERT_FALSE(tempDir.empty()) << run.log.value_or("");
    const std::u16string module = utf8ToUtf16(WineScenario::windowsPath(launcher));
    const std::u16string temp = utf8ToUtf16(tempDir);
    EXPECT_EQ(echo.properties.at("zelkor.moduleName"), module);
    EXPECT_EQ(echo.properties.at("sun.java.command"), module);
    EXPECT_EQ(echo.properties.at("zelkor.tempDir"), temp);
    EXPECT_EQ(echo.properties.at("zelkor.consoleCodepage"), u"cp0");  // a GUI program has no console
    EXPECT_EQ(echo.properties.at("zelkor.unextractedPosition"),
              utf8ToUtf16(std::to_string(fs::file_size(launcher))));
    // Both extracted archives, in the order the file system lists them.
    const std::u16string classPath = echo.properties.at("java.class.path");
    for (const char16_t* jar : {u"\\launcher-bootstrap.jar;", u"\\application.jar;"})
        EXPECT_NE(classPath.find(temp + jar), std::u16string::npos);
    EXPECT_EQ(classPath.size(), 2 * temp.size() + std::u16string(u"\\launcher-bootstrap.jar;\\application.jar;").size());
    EXPECT_EQ(echo.properties.count("zelkor.semaphoreName"), 1u);  // numbered mode: every launcher registers
}

// The real runtime's splashscreen.dll takes the launcher's PNG image.
TEST_F(RealRuntimeTest, RealSplashLibraryAcceptsTheLaunchersImage) {
    const fs::path echoFile = scenario_.directory() / "echo.txt";
    const PayloadBuilder payload = echoApplication("EJAVA_HOME", echoFile)
                                       .set(config::kShowSplashScreen, "1")
                                       .set(config::kSplashScreenEnabled, "1");
    const fs::path launcher = scenario_.makeLauncherFrom(testProgram("splash_guilauncher", 64), payload);
    const std::unique_ptr<PlacedRuntime> placed = placeRuntimeForJavaHome();
    const PlacedRuntime& runtime = *placed;
    std::map<std::string, std::string> environment = runtime.environment();
    environment["ZELKOR_LOG"] = "yes";
    const LauncherRun run = scenario_.run(launcher, {"splashed"}, environment, 120);
    EXPECT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_TRUE(run.logHasPrefix("splash load memory returned 1 (")) << run.log.value_or("");
    EXPECT_EQ(parseBootstrapEcho(readFile(echoFile)).arguments, std::vector<std::u16string>{u"splashed"});
}

TEST_F(RealRuntimeTest, ExceptionInMainEndsWithTheStartMessageAndTheStackTrace) {
    const fs::path echoFile = scenario_.directory() / "echo.txt";
    const PayloadBuilder payload = echoApplication("EJAVA_HOME", echoFile)
                                       .set(config::kMessageJvmStartFailed, "The JVM could not be started.")
                                       .set(config::kApplicationArguments, "throw");  // configured arguments come first
    const fs::path launcher = scenario_.makeLauncher("guilauncher64.exe", payload);
    const std::unique_ptr<PlacedRuntime> placed = placeRuntimeForJavaHome();
    const PlacedRuntime& runtime = *placed;
    const LauncherRun run = scenario_.run(launcher, {"-q_btl_internal"}, runtime.environment(), 120);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_NE(run.standardError.find("java.lang.IllegalStateException"), std::string::npos) << describe(run);
    EXPECT_NE(run.standardError.find("The JVM could not be started."), std::string::npos) << describe(run);
}

// Twenty second starts at once against a running first instance: each hands
// its arguments over through the communication file, the bootstrap library of
// the first instance delivers every one exactly once to the application's
// listener, and every second start ends with 0.
TEST_F(RealRuntimeTest, SecondStartsHandTheirArgumentsToTheRunningApplication) {
    constexpr int kSecondStarts = 20;
    const fs::path collected = scenario_.directory() / "collected.txt";
    const PayloadBuilder payload =
        PayloadBuilder()
            .set(config::kLauncherKind, "1")
            .set(config::kJvmSearchSequence, "EJAVA_HOME")
            .set(config::kMinVersion, "1.8")
            .set(config::kSingleInstance, "1")
            .set(config::kMainClass, "realruntime.InstanceCollector")
            .set(config::kVmOptions, "-Xmx64m -Dcollector.file=\"" + WineScenario::windowsPath(collected) + "\"")
            .embed("launcher-bootstrap.jar", REALRUNTIME_BOOTSTRAP_JAR)
            .embed("collector.jar", REALRUNTIME_COLLECTOR_JAR);
    const fs::path launcher = scenario_.makeLauncher("guilauncher64.exe", payload);
    const std::unique_ptr<PlacedRuntime> placed = placeRuntimeForJavaHome();
    const PlacedRuntime& runtime = *placed;

    StartedRun first = scenario_.start(launcher, {std::to_string(kSecondStarts)}, runtime.environment(), 240);
    const fs::path ready = collected.string() + ".ready";
    for (int i = 0; i < 600 && !fs::exists(ready); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(fs::exists(ready)) << describe(scenario_.finish(first));

    std::vector<StartedRun> seconds;
    std::multiset<std::string> expected;
    for (int i = 0; i < kSecondStarts; ++i) {
        const std::string number = std::to_string(i);
        seconds.push_back(scenario_.start(launcher, {"second", "n" + number, "with blank " + number}, {}, 120));
        expected.insert("second|n" + number + "|with blank " + number);
    }
    for (StartedRun& second : seconds) {
        const LauncherRun run = scenario_.finish(second);
        EXPECT_EQ(run.exitCode, 0) << describe(run);
    }
    const LauncherRun firstRun = scenario_.finish(first);
    EXPECT_EQ(firstRun.exitCode, 0) << describe(firstRun);

    std::multiset<std::string> received;
    for (const std::string& line : lines(readFile(collected))) received.insert(line);
    EXPECT_EQ(received, expected);
}

// A service whose Java side runs until the stop line comes through the
// bootstrap library's stop listener: installed, started, queried, stopped
// (the application's stop hook ran), queried again and uninstalled.
TEST_F(RealRuntimeTest, ServiceRunsTheApplicationUntilItIsStopped) {
    const std::string name = "btlrealsvc_" + std::to_string(::getpid());
    struct Cleanup {
        WineScenario& scenario;
        std::string name;
        ~Cleanup() { scenario.run(testProgram("service_probe", 64), {"delete", name}, {}, 60); }
    } cleanup{scenario_, name};
    const fs::path stopFile = scenario_.directory() / "service.txt";
    const PayloadBuilder payload =
        PayloadBuilder()
            .set(config::kLauncherKind, "4")
            .set(config::kApplicationName, name)
            .set(config::kJvmSearchSequence, "Rjre")
            .set(config::kMinVersion, "1.8")
            .set(config::kMainClass, "realruntime.ServiceApp")
            .set(config::kVmOptions, "-Xmx64m -Dservice.file=\"" + WineScenario::windowsPath(stopFile) + "\"")
            .embed("launcher-bootstrap.jar", REALRUNTIME_BOOTSTRAP_JAR)
            .embed("apps.jar", REALRUNTIME_COLLECTOR_JAR);
    const fs::path launcher = scenario_.makeLauncher("svclauncher64.exe", payload);
    const PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, scenario_.directory(), RuntimeShape::Real, 64);

    EXPECT_EQ(scenario_.run(launcher, {"-install"}).standardOutput, "Installed service '" + name + "'.\n");
    EXPECT_EQ(scenario_.run(launcher, {"-start"}).exitCode, 0);
    const fs::path running = stopFile.string() + ".running";
    for (int i = 0; i < 600 && !fs::exists(running); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(fs::exists(running)) << "the application did not start";
    EXPECT_EQ(readFile(running), name);  // the service name is the launch's program word
    const LauncherRun status = scenario_.run(launcher, {"-status"});
    EXPECT_EQ(status.exitCode, 0);
    EXPECT_EQ(status.standardOutput, "Running.\nAuto-start.\n");

    const LauncherRun stop = scenario_.run(launcher, {"-stop"}, {}, 120);
    EXPECT_EQ(stop.exitCode, 0);
    EXPECT_EQ(stop.standardOutput, "Stopping service '" + name + "'.\nService stopped\n");
    EXPECT_EQ(readFile(stopFile), "stopped 0 service=true");
    const LauncherRun after = scenario_.run(launcher, {"-status"});
    EXPECT_EQ(after.exitCode, 3);
    EXPECT_EQ(after.standardOutput, "Not running.\nAuto-start.\n");
    const LauncherRun removed = scenario_.run(launcher, {"-uninstall"});
    EXPECT_EQ(removed.exitCode, 0);
    EXPECT_EQ(removed.standardOutput, "Service is already stopped.\nUninstalled service '" + name + "'.\n");
}

TEST_F(RealRuntimeTest, LauncherFindsBindsAndCachesTheRealRuntime) {
    PlacementNames names;
    names.variable = "JAVA_HOME";
    names.javaSoftVersion = "17-launcher-" + std::to_string(::getpid());
    const struct {
        const char* name;
        RuntimePlacement where;
        const char* sequence;
    } cases[] = {
        {"bundled relative directory", RuntimePlacement::BundledJre, "Rjre"},
        {"JAVA_HOME entry", RuntimePlacement::NamedByVariable, "EJAVA_HOME"},
        {"JavaSoft registry entry", RuntimePlacement::JavaSoftRegistry, "Y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A scenario of its own: the placements share a folder name, and the
        // version cache is keyed by the path.
        WineScenario scenario(std::string("real_launcher_") + std::to_string(&c - cases));
        const fs::path echoFile = scenario.directory() / "echo.txt";
        const fs::path programDirectory = scenario.directory() / c.name;
        fs::create_directories(programDirectory);
        const fs::path launcher = scenario.makeLauncher("guilauncher64.exe", echoApplication(c.sequence, echoFile),
                                                        std::string(c.name) + ".exe");
        fs::rename(launcher, programDirectory / launcher.filename());
        const PlacedRuntime runtime(scenario, c.where, programDirectory, RuntimeShape::Real, 64, "", names);
        std::map<std::string, std::string> environment = runtime.environment();
        environment["ZELKOR_LOG"] = "yes";

        // The real banner goes on after the closing quote with a date; the
        // version is what the quotes hold.
        const std::string version = releaseVersion(runtime.home());
        const LauncherRun cold = scenario.run(programDirectory / launcher.filename(), {"cold"}, environment, 120);
        EXPECT_EQ(cold.exitCode, 0) << describe(cold);
        EXPECT_TRUE(cold.logHas("got version from execution " + version)) << cold.log.value_or("");
        EXPECT_EQ(parseBootstrapEcho(readFile(echoFile)).arguments, std::vector<std::u16string>{u"cold"});

        const LauncherRun warm = scenario.run(programDirectory / launcher.filename(), {"warm"}, environment, 120);
        EXPECT_EQ(warm.exitCode, 0) << describe(warm);
        EXPECT_TRUE(warm.logHas("got version from registry " + version)) << warm.log.value_or("");
        EXPECT_EQ(parseBootstrapEcho(readFile(echoFile)).arguments, std::vector<std::u16string>{u"warm"});
    }
}

}  // namespace
