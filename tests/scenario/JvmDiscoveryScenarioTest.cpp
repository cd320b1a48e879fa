// The runtime search, library binding and version cache of real launchers
// under Wine, with stand-in runtimes placed where a user would have them.
// A launcher that bound JNI_CreateJavaVM goes on to start the stand-in JVM,
// which finds the bootstrap class in "classes": the run ends with 0.
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace payload;

constexpr int kExitLaunched = 0;
constexpr int kExitNoJvm = 83;

class JvmDiscoveryScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }
    bool sixtyFour() const { return bits() == 64; }

    // A GUI launcher with the search's messages; `payload` may add keys and files.
    fs::path launcher(const std::string& sequence, const std::string& minVersion = "1.6",
                      PayloadBuilder payload = {}) {
        payload.set(config::kLauncherKind, "1")
            .set(config::kJvmSearchSequence, sequence)
            .set(config::kMinVersion, minVersion)
            .set(config::kMessageJvmStartFailed, "The JVM could not be started.")
            .set(config::kMessageNoJvmOfBitnessFound, "No {0}-bit JVM found.")
            .set(config::kMessageVariableJvmNot32Bit,
                 "The {0} environment variable does not point to a working 32-bit JVM.")
            .set(config::kMessageVariableJvmNot64Bit,
                 "The {0} environment variable does not point to a working 64-bit JVM.")
            .set(config::kMessageJvmAtDamaged32Bit, "The 32-bit JVM at {0} is damaged.")
            .set(config::kMessageJvmAtDamaged64Bit, "The 64-bit JVM at {0} is damaged.");
        return makeLauncher(payload);
    }

    // The launcher of `payload` with the bootstrap class on its class path.
    fs::path makeLauncher(PayloadBuilder payload) {
        payload.set(config::kClassPath, "D0classes;");
        const fs::path bootstrapClass = scenario_.directory() / "classes/com/zelkor/runtime/WinLauncher.class";
        fs::create_directories(bootstrapClass.parent_path());
        std::ofstream(bootstrapClass) << "class bytes";
        return scenario_.makeLauncher("guilauncher" + std::to_string(bits()) + ".exe", payload);
    }

    LauncherRun run(const fs::path& program, std::map<std::string, std::string> environment = {}) {
        environment.emplace("ZELKOR_LOG", "yes");
        return scenario_.run(program, {"-q_btl_internal"}, environment);
    }

    WineScenario scenario_{"jvm_discovery"};
};

TEST_P(JvmDiscoveryScenarioTest, NothingFoundEndsWith83AndTheMessageForTheBitness) {
    const LauncherRun result = run(launcher("Rno_such_jre;EJVM_DISCOVERY_UNSET"));
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitNoJvm) << describe(result);
    EXPECT_EQ(result.standardError.rfind("No " + std::to_string(bits()) + "-bit JVM found.", 0), 0u) << describe(result);
    EXPECT_TRUE(result.logHas("ERROR: No JVM found")) << describe(result);
    EXPECT_TRUE(result.logHas("LoadDLL (1, (null), 0)"));
}

TEST_P(JvmDiscoveryScenarioTest, BundledRuntimeIsCheckedOnceThenTakenFromTheCache) {
    const fs::path program = launcher("Rjre");
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::Jre, bits(),
                          "java version \"1.8.0_121\"");
    const LauncherRun cold = run(program);
    SKIP_IF_UNRUNNABLE(cold);
    EXPECT_EQ(cold.exitCode, kExitLaunched) << describe(cold);
    EXPECT_TRUE(cold.logHas("got version from execution 1.8.0_121")) << describe(cold);
    EXPECT_TRUE(cold.logHas("Loading of JVM-DLL successful")) << describe(cold);
    EXPECT_TRUE(cold.logHasPrefix("Setting PATH ")) << describe(cold);
    const int coldRuns = countRuns(runtime.home());
    EXPECT_EQ(coldRuns, 1);

    // Warm: no java.exe is started at all.
    const LauncherRun warm = run(program);
    EXPECT_EQ(warm.exitCode, kExitLaunched) << describe(warm);
    EXPECT_TRUE(warm.logHas("got version from registry 1.8.0_121")) << describe(warm);
    EXPECT_EQ(countRuns(runtime.home()), coldRuns);

    // A java.exe touched since is run again, exactly once.
    const fs::path javaExe = runtime.home() / "bin" / "java.exe";
    fs::last_write_time(javaExe, fs::last_write_time(javaExe) + std::chrono::hours(1));
    const LauncherRun touched = run(program);
    EXPECT_EQ(touched.exitCode, kExitLaunched) << describe(touched);
    EXPECT_EQ(countRuns(runtime.home()), coldRuns + 1);
}

TEST_P(JvmDiscoveryScenarioTest, ExtractedFilesAreRemovedWhenTheStartFailsAfterTheBind) {
    const fs::path source = scenario_.directory() / "app.jar";
    std::ofstream(source, std::ios::binary) << "jar bytes";
    const fs::path program = launcher("Rjre", "1.6", PayloadBuilder().embed("app.jar", source));
    fs::remove_all(scenario_.directory() / "classes");  // no bootstrap class: the start fails
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::Jre, bits(),
                          "java version \"1.8.0_121\"");
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 1) << describe(result);
    EXPECT_TRUE(result.logHas("ERROR: could not find main class")) << describe(result);
    std::string directory;
    for (const std::string& line : result.logLines())
        if (line.rfind("Temp dir: ", 0) == 0) directory = line.substr(10);
    ASSERT_FALSE(directory.empty()) << describe(result);
    EXPECT_FALSE(fs::exists(WineScenario::unixPath(directory))) << directory;
}

TEST_P(JvmDiscoveryScenarioTest, VariableEntryFindsTheRuntimeItNames) {
    const fs::path program = launcher("EJVM_DISCOVERY_HOME");
    PlacementNames names;
    names.variable = "JVM_DISCOVERY_HOME";
    PlacedRuntime runtime(scenario_, RuntimePlacement::NamedByVariable, program.parent_path(), RuntimeShape::Jre,
                          bits(), "java version \"11.0.2\"", names);
    const LauncherRun result = run(program, runtime.environment());
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitLaunched) << describe(result);
    EXPECT_TRUE(result.logHas("Testing location JVM_DISCOVERY_HOME (type E)")) << describe(result);
}

TEST_P(JvmDiscoveryScenarioTest, RegistryEntryFindsAJavaSoftRuntime) {
    const fs::path program = launcher("Y");
    PlacementNames names;
    names.javaSoftVersion = "1.8.0_977" + std::to_string(bits());
    PlacedRuntime runtime(scenario_, RuntimePlacement::JavaSoftRegistry, program.parent_path(), RuntimeShape::Jre,
                          bits(), "java version \"" + names.javaSoftVersion + "\"", names);
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitLaunched) << describe(result);
    EXPECT_TRUE(result.logHas("Loading of JVM-DLL successful")) << describe(result);
}

TEST_P(JvmDiscoveryScenarioTest, LibrarySubdirectoriesAreTriedInTheirOrder) {
    const fs::path program = launcher("Rjre");
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(),
                          RuntimeShape::JvmOnlyUnderServer, bits(), "java version \"1.8.0_121\"");
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitLaunched) << describe(result);
    const std::string bin = WineScenario::windowsPath(runtime.home() / "bin");
    const std::string lowerBin = lowered(bin);
    EXPECT_TRUE(result.logHas("Trying " + lowerBin + "\\hotspot\\jvm.dll (exists 0)")) << describe(result);
    EXPECT_TRUE(result.logHas("Trying " + lowerBin + "\\client\\jvm.dll (exists 0)")) << describe(result);
    EXPECT_TRUE(result.logHas("Trying " + lowerBin + "\\server\\jvm.dll (exists 1)")) << describe(result);
    EXPECT_FALSE(result.logHasPrefix("Failed with error code")) << describe(result);
}

TEST_P(JvmDiscoveryScenarioTest, LibraryOfTheOtherBitnessFailsWithTheMessageOfItsVariable) {
    const fs::path program = launcher("EJVM_DISCOVERY_HOME");
    PlacementNames names;
    names.variable = "JVM_DISCOVERY_HOME";
    PlacedRuntime runtime(scenario_, RuntimePlacement::NamedByVariable, program.parent_path(),
                          RuntimeShape::WrongBitness, bits(), "java version \"1.8.0_121\"", names);
    const LauncherRun result = run(program, runtime.environment());
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitNoJvm) << describe(result);
    EXPECT_EQ(result.standardError.rfind("The JVM_DISCOVERY_HOME environment variable does not point to a working " +
                                             std::to_string(bits()) + "-bit JVM.",
                                         0),
              0u)
        << describe(result);
    EXPECT_TRUE(result.logHasPrefix("Failed with error code")) << describe(result);
    EXPECT_TRUE(result.logHas("ERROR: Could not get DLL-Handle.")) << describe(result);
    // Both bin directories (its own and ..\jre\bin) were tried, PATH put back after each.
    const std::vector<std::string> lines = result.logLines();
    std::vector<std::string> pathLines;
    for (const std::string& line : lines)
        if (line.rfind("Setting PATH ", 0) == 0 && line.rfind("Setting PATH (native libs)", 0) != 0)
            pathLines.push_back(line);
    ASSERT_EQ(pathLines.size(), 4u) << describe(result);
    EXPECT_EQ(pathLines[1], pathLines[3]);
    EXPECT_NE(pathLines[0].find("\\bin"), std::string::npos);
    EXPECT_NE(pathLines[2].find("\\..\\jre\\bin"), std::string::npos) << pathLines[2];
    EXPECT_EQ(pathLines[0].rfind(pathLines[1] + ";", 0), 0u) << "appended, not put in front";
}

TEST_P(JvmDiscoveryScenarioTest, ConfiguredLibrarySubdirectoryIsTriedFirst) {
    const fs::path program = makeLauncher(PayloadBuilder()
                                              .set(config::kLauncherKind, "1")
                                              .set(config::kJvmSearchSequence, "Rjre")
                                              .set(config::kMinVersion, "1.6")
                                              .set(config::kPreferredJvmDllDirectory, "server"));
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::ClientAndServer,
                          bits(), "java version \"1.8.0_121\"");
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitLaunched) << describe(result);
    const std::vector<std::string> lines = result.logLines();
    const auto isLibraryTry = [](const std::string& line) {
        return line.rfind("Trying ", 0) == 0 && line.find("jvm.dll") != std::string::npos;
    };
    const auto firstTry = std::find_if(lines.begin(), lines.end(), isLibraryTry);
    ASSERT_NE(firstTry, lines.end()) << describe(result);
    EXPECT_NE(firstTry->find("\\server\\jvm.dll (exists 1)"), std::string::npos) << *firstTry;
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), isLibraryTry), 1) << "client is not tried once server loaded";
}

TEST_P(JvmDiscoveryScenarioTest, AnOldBundledRuntimeIsStillTakenByTheFallbackPass) {
    const fs::path program = launcher("Rjre", "1.8");
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::Jre, bits(),
                          "java version \"1.6.0_45\"");
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitLaunched) << describe(result);
    EXPECT_TRUE(result.logHas("Testing relative location jre")) << describe(result);
}

// The fixed frame around the sequence, seen in the log: the location files
// below the installation directory (key 10003, here the launcher's own), the
// entries, the fallback pass, then the variables of last resort.
TEST_P(JvmDiscoveryScenarioTest, FrameRunsFromThePreferredLocationToTheLastResortVariables) {
    const fs::path program = makeLauncher(PayloadBuilder()
                                              .set(config::kLauncherKind, "1")
                                              .set(config::kJvmSearchSequence, "Rnone;EJVM_FRAME_UNSET")
                                              .set(config::kMinVersion, "1.6")
                                              .set(config::kApplicationDirectory, ""));
    fs::create_directories(program.parent_path() / ".brantel");
    const auto writeLocation = [&](const char* file, const std::string& line) {
        std::ofstream(program.parent_path() / ".brantel" / file) << line << "\r\n";
    };
    writeLocation("pref_jre.cfg", "nopref");
    writeLocation("inst_jre.cfg", "noinst");
    PlacedRuntime runtime(scenario_, RuntimePlacement::NamedByVariable, program.parent_path(), RuntimeShape::Jre,
                          bits(), "java version \"1.8.0_121\"");
    const LauncherRun last = run(program, runtime.environment());
    SKIP_IF_UNRUNNABLE(last);
    EXPECT_EQ(last.exitCode, kExitLaunched) << describe(last);
    const std::vector<std::string> steps = {"Has preferred location nopref", "Testing location none (type R)",
                                            "Testing location JVM_FRAME_UNSET (type E)", "Has installer location noinst",
                                            "Testing relative location none", "Search sequence finished",
                                            "Loading of JVM-DLL successful"};
    const std::vector<std::string> lines = last.logLines();
    auto at = lines.begin();
    for (const std::string& step : steps) {
        at = std::find(at, lines.end(), step);
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << step << "\n" << describe(last);
    }

    // A preferred location that holds a runtime wins over every entry.
    writeLocation("pref_jre.cfg", WineScenario::windowsPath(runtime.home()));
    const LauncherRun preferred = run(program);
    EXPECT_EQ(preferred.exitCode, kExitLaunched) << describe(preferred);
    EXPECT_TRUE(preferred.logHas("Using preferred location")) << describe(preferred);
    EXPECT_FALSE(preferred.logHas("Testing location none (type R)")) << describe(preferred);
}

INSTANTIATE_TEST_SUITE_P(Bitness, JvmDiscoveryScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
