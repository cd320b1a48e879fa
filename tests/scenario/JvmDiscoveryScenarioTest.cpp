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
constexpr const char* kSummaryHeading = "No Java runtime could be used. Candidates looked at (";

// The rows of the candidate table in a run's log, each as its cells (source,
// path, version, jvm.dll, verdict) without their padding, below the heading
// and the column names.
std::vector<std::vector<std::string>> candidateRows(const LauncherRun& run) {
    const std::vector<std::string> lines = run.logLines();
    auto line = std::find_if(lines.begin(), lines.end(),
                             [](const std::string& text) { return text.rfind(kSummaryHeading, 0) == 0; });
    std::vector<std::vector<std::string>> rows;
    if (line == lines.end() || ++line == lines.end()) return rows;
    for (++line; line != lines.end() && line->find(" | ") != std::string::npos; ++line) {
        std::vector<std::string> cells;
        for (size_t start = 0;;) {
            const size_t end = line->find(" | ", start);
            std::string cell = line->substr(start, end == std::string::npos ? std::string::npos : end - start);
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
            if (end == std::string::npos) break;
            start = end + 3;
        }
        rows.push_back(cells);
    }
    return rows;
}

int summaryCount(const LauncherRun& run) {
    const std::vector<std::string> lines = run.logLines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& text) {
        return text.rfind(kSummaryHeading, 0) == 0;
    }));
}

class JvmDiscoveryScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }
    bool sixtyFour() const { return bits() == 64; }
    std::string bitness() const { return std::to_string(bits()) + "-bit"; }
    std::string otherBitness() const { return sixtyFour() ? "32-bit" : "64-bit"; }

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

    // A stand-in runtime home of the launcher's bitness in the scenario's directory.
    fs::path placedHome(const char* name, RuntimeShape::Kind kind, const std::string& banner) {
        return makeRuntimeHome(scenario_.directory() / name, kind, bits(), banner);
    }

    // The search sequence entries of `homes` as directory entries, in order.
    static std::string directoryEntries(std::initializer_list<fs::path> homes) {
        std::string sequence;
        for (const fs::path& home : homes) sequence.append("A").append(WineScenario::windowsPath(home)).append(";");
        return sequence;
    }

    // A row of the candidate table: the search step of a directory entry, and
    // the checked program of a home as the check normalised it.
    static std::string directoryStep(const fs::path& home) { return "directory " + WineScenario::windowsPath(home); }
    static std::string checkedProgram(const fs::path& home, const char* name) {
        return lowered(WineScenario::windowsPath(home / "bin" / name));
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
    const std::string directory = result.announcedTempDir();
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

TEST_P(JvmDiscoveryScenarioTest, ARequiredJdkOfJava9OrLaterIsToldFromAJreByItsCompiler) {
    const fs::path jre = placedHome("jre17", RuntimeShape::Jre, "openjdk version \"17.0.9\"");
    const fs::path jdk = placedHome("jdk17", RuntimeShape::Jre, "openjdk version \"17.0.2\"");
    std::ofstream(jdk / "bin" / "javac.exe") << "compiler";
    const fs::path program =
        launcher(directoryEntries({jre, jdk}), "11", PayloadBuilder().set(config::kRequireJdk, "1"));
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitLaunched) << describe(result);
    EXPECT_EQ(countRuns(jre), 0) << "a JRE is not even asked for its version";
    EXPECT_EQ(countRuns(jdk), 1) << describe(result);

    // Without its compiler it is a JRE too, and the table says why neither was taken.
    fs::remove(jdk / "bin" / "javac.exe");
    const LauncherRun refused = run(program);
    EXPECT_EQ(refused.exitCode, kExitNoJvm) << describe(refused);
    const auto row = [this](const fs::path& home) {
        return std::vector<std::string>{directoryStep(home), checkedProgram(home, "java.exe"), "not checked",
                                        bitness(), "not a JDK"};
    };
    EXPECT_EQ(candidateRows(refused), (std::vector<std::vector<std::string>>{row(jre), row(jdk)}))
        << describe(refused);
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

// A runtime whose jvm.dll has the other bitness is passed over by the check:
// no load is tried. Without key 1021 the message is still the one of the
// variable that named it.
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
    EXPECT_TRUE(result.logHas("jvm.dll of another bitness")) << describe(result);
    EXPECT_TRUE(result.logHas("ERROR: No JVM found")) << describe(result);
    EXPECT_FALSE(result.logHasPrefix("Trying to load JVM-DLL from")) << describe(result);
    const std::vector<std::vector<std::string>> rows = candidateRows(result);
    ASSERT_EQ(rows.size(), 1u) << describe(result);
    EXPECT_EQ(rows[0][0], "environment JVM_DISCOVERY_HOME");
    EXPECT_EQ(rows[0][3], otherBitness());
    EXPECT_EQ(rows[0][4], "wrong bitness");
}

// A bundled runtime of the other bitness: the check passes over it, the
// fallback pass takes it unchecked and its library fails to load from both
// bin directories (its own and ..\jre\bin), PATH put back after each. Every
// runtime there had the other bitness, so key 1021 is the message.
TEST_P(JvmDiscoveryScenarioTest, OnlyARuntimeOfTheOtherBitnessGetsItsOwnMessage) {
    const std::string text(config::findKey(config::kMessageOnlyOtherBitnessFound)->shippedText);
    const fs::path program =
        launcher("Rjre", "1.6", PayloadBuilder().set(config::kMessageOnlyOtherBitnessFound, text));
    PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, program.parent_path(), RuntimeShape::WrongBitness,
                          bits(), "openjdk version \"17.0.9\" 2023-10-17");
    const LauncherRun result = run(program);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitNoJvm) << describe(result);
    const std::string expected = "No " + std::to_string(bits()) +
                                 "-bit Java could be found on your system.\nThe Java installed here has the other "
                                 "bitness: please install a JDK or JRE of this program's bitness.";
    EXPECT_EQ(result.standardError.rfind(expected, 0), 0u) << describe(result);

    EXPECT_EQ(summaryCount(result), 1) << describe(result);
    const std::vector<std::vector<std::string>> rows = candidateRows(result);
    ASSERT_EQ(rows.size(), 2u) << describe(result);
    const std::string javaw = lowered(WineScenario::windowsPath(runtime.home() / "bin" / "javaw.exe"));
    EXPECT_EQ(rows[0], (std::vector<std::string>{"bundled jre", javaw, "17.0.9", otherBitness(), "wrong bitness"}));
    EXPECT_EQ(rows[1][0], "fallback pass jre");
    EXPECT_EQ(rows[1][2], "not checked");
    EXPECT_EQ(rows[1][3], otherBitness());
    EXPECT_EQ(rows[1][4], "wrong bitness");

    EXPECT_TRUE(result.logHasPrefix("Failed with error code")) << describe(result);
    EXPECT_TRUE(result.logHas("ERROR: Could not get DLL-Handle.")) << describe(result);
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

// Seven candidates, each refused for another reason: the log has one table of
// them all, and the message is the one of the first runtime that got as far
// as its library (here: the directory whose jvm.dll has the other bitness).
// A path keeps its java.exe form unless the version was accepted.
TEST_P(JvmDiscoveryScenarioTest, EveryCandidateAndWhyItWasRefusedIsLoggedInOneTable) {
    const fs::path old = placedHome("old", RuntimeShape::Jre, "java version \"1.8.0_202\"");
    const fs::path newer = placedHome("newer", RuntimeShape::Jre, "openjdk version \"21.0.1\" 2023-10-17");
    const fs::path failing = placedHome("failing", RuntimeShape::Jre, "java version \"17.0.9\"");
    setJavaBehaviour(failing, {"Error: could not open the runtime", {}, 1, false});
    const fs::path otherBits = placedHome("other", RuntimeShape::WrongBitness, "openjdk version \"17.0.2\" 2022-01-18");
    const fs::path noLibrary = placedHome("nolib", RuntimeShape::Jre, "openjdk version \"17.0.1\" 2021-10-19");
    fs::remove(noLibrary / "bin" / "server" / "jvm.dll");
    const fs::path missing = scenario_.directory() / "missing";
    PlacementNames names;
    names.variable = "JVM_DIARY_EA_HOME";

    const std::string sequence =
        directoryEntries({old, newer, failing, otherBits, noLibrary, missing}) + "EJVM_DIARY_EA_HOME;";
    const fs::path program = launcher(sequence, "11", PayloadBuilder().set(config::kMaxVersion, "17"));
    PlacedRuntime earlyAccess(scenario_, RuntimePlacement::NamedByVariable, program.parent_path(), RuntimeShape::Jre,
                              bits(), "openjdk version \"17-ea\" 2021-03-18", names);
    const LauncherRun result = run(program, earlyAccess.environment());
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, kExitNoJvm) << describe(result);
    EXPECT_EQ(result.standardError.rfind("The " + bitness() + " JVM at " + WineScenario::windowsPath(otherBits) +
                                             " is damaged.",
                                         0),
              0u)
        << describe(result);

    EXPECT_EQ(summaryCount(result), 1) << describe(result);
    EXPECT_TRUE(result.logHas(kSummaryHeading + bitness() + " launcher, minimum version 11, maximum version 17):"))
        << describe(result);
    const std::vector<std::vector<std::string>> expected{
        {directoryStep(old), checkedProgram(old, "java.exe"), "1.8.0_202", bitness(), "below the minimum"},
        {directoryStep(newer), checkedProgram(newer, "java.exe"), "21.0.1", bitness(), "above the maximum"},
        {directoryStep(failing), checkedProgram(failing, "java.exe"), "none: exit code not 0", bitness(),
         "java.exe failed"},
        {directoryStep(otherBits), checkedProgram(otherBits, "javaw.exe"), "17.0.2", otherBitness(), "wrong bitness"},
        {directoryStep(noLibrary), checkedProgram(noLibrary, "javaw.exe"), "17.0.1", "none", "no jvm.dll"},
        {directoryStep(missing), checkedProgram(missing, "java.exe"), "-", "-", "no java.exe"},
        {"environment JVM_DIARY_EA_HOME", checkedProgram(earlyAccess.home(), "java.exe"), "17-ea", bitness(),
         "pre-release"},
    };
    EXPECT_EQ(candidateRows(result), expected) << describe(result);
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
