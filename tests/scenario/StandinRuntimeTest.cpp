// The stand-in runtime under Wine: homes made by RuntimeLayout hold the files
// of their kind, java.exe and javaw.exe print the configured banner and count
// their runs, unpack200.exe unpacks and removes packs and refuses bad calls;
// a home placed through the JavaSoft registry keys is named in the registry
// view of its bitness for as long as the placement lasts.
#include "core/LittleEndian.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The machine field of a PE file's header: 0x8664 (x86-64) or 0x14c (x86).
unsigned peMachine(const fs::path& path) {
    const std::string text = readFile(path);
    if (text.size() < 0x40) return 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const uint32_t header = loadLittleEndian<uint32_t>(bytes + 0x3c);
    if (header > text.size() || text.size() - header < 6) return 0;
    return loadLittleEndian<uint16_t>(bytes + header + 4);
}

unsigned machineOf(int bits) { return bits == 64 ? 0x8664 : 0x14c; }

class StandinRuntimeTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    fs::path makeHome(RuntimeShape::Kind kind, const std::string& banner = "java version \"1.8.0_202\"") {
        // A blank in the path, as in "Program Files".
        return makeRuntimeHome(scenario_.directory() / "java home", kind, bits(), banner);
    }

    LauncherRun run(const fs::path& program, const std::vector<std::string>& arguments) {
        return scenario_.run(program, arguments, {}, 60);
    }

    WineScenario scenario_{"standin_runtime"};
};

TEST_P(StandinRuntimeTest, HomesHoldTheFilesOfTheirKind) {
    const bool haveJvm = fs::exists(standinDirectory(bits()) / "jvm.dll");
    struct Case {
        RuntimeShape::Kind kind;
        std::vector<const char*> present;
        std::vector<const char*> absent;
    };
    const std::vector<Case> cases = {
        {RuntimeShape::Jre, {"bin/java.exe", "bin/javaw.exe", "bin/server/jvm.dll", "lib/jsse.jar"}, {"bin/client", "jre"}},
        {RuntimeShape::Jdk, {"bin/java.exe", "bin/javaw.exe", "lib/tools.jar", "jre/bin/java.exe", "jre/bin/javaw.exe",
                             "jre/bin/server/jvm.dll", "jre/bin/splashscreen.dll"}, {"bin/server"}},
        {RuntimeShape::JvmOnlyUnderServer, {"bin/server/jvm.dll"}, {"bin/client", "bin/hotspot", "bin/jvm.dll"}},
        {RuntimeShape::ClientAndServer, {"bin/client/jvm.dll", "bin/server/jvm.dll"}, {}},
        {RuntimeShape::NoJavaw, {"bin/java.exe"}, {"bin/javaw.exe"}},
        {RuntimeShape::WrongBitness, {"bin/java.exe", "bin/javaw.exe", "bin/server/jvm.dll"}, {}},
        {RuntimeShape::Packed, {"lib/rt.jar.pack", "lib/jsse.jar.pack", "lib/ext/localedata.jar.pack"},
         {"lib/rt.jar", "lib/jsse.jar"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const fs::path home = makeHome(c.kind, "java version \"1." + std::to_string(c.kind) + "\"");
        for (const char* file : c.present) {
            const bool expected = haveJvm || fs::path(file).filename() != "jvm.dll";
            EXPECT_TRUE(!expected || fs::exists(home / file)) << file;
        }
        for (const char* file : c.absent) EXPECT_FALSE(fs::exists(home / file)) << file;
        for (const fs::path& bin : javaBinDirectories(home)) {
            EXPECT_TRUE(fs::exists(bin / "unpack200.exe")) << bin;
            EXPECT_NE(readFile(bin / kJavaConfigFile).find("1." + std::to_string(c.kind)), std::string::npos) << bin;
        }
        const int libraryBits = c.kind == RuntimeShape::WrongBitness ? 96 - bits() : bits();
        EXPECT_EQ(peMachine(home / "bin" / "splashscreen.dll"), machineOf(libraryBits));
        if (haveJvm && c.kind != RuntimeShape::Jdk) {
            EXPECT_EQ(peMachine(home / "bin" / "server" / "jvm.dll"), machineOf(libraryBits));
        }
        EXPECT_EQ(peMachine(home / "bin" / "java.exe"), machineOf(c.kind == RuntimeShape::WrongBitness ? 64 : bits()));
        fs::remove_all(home);
    }
}

TEST_P(StandinRuntimeTest, JavaPrintsItsBannerEndsWithItsCodeAndCountsRuns) {
    const std::vector<JavaBehaviour> behaviours = {
        {"java version \"1.8.0_202\"", {"Java(TM) SE Runtime Environment (build 1.8.0_202-b08)", "VM (mixed mode)"}, 0},
        {"openjdk version \"17.0.2\" 2022-01-18", {}, 0},
        {"Picked up _JAVA_OPTIONS: -Xmx64m", {"java version \"1.7.0_80\""}, 0},
        {"java version \"1.6.0_45\"", {}, 3},
        {"", {}, 1},
    };
    const fs::path home = makeHome(RuntimeShape::Jre);
    int runs = 0;
    for (const char* program : {"java.exe", "javaw.exe"}) {
        for (const JavaBehaviour& behaviour : behaviours) {
            SCOPED_TRACE(std::string(program) + ": " + behaviour.banner);
            setJavaBehaviour(home, behaviour);
            const LauncherRun result = run(home / "bin" / program, {"-version"});
            if (result.skipped) GTEST_SKIP() << result.skipReason;
            std::string expected = behaviour.banner.empty() ? "" : behaviour.banner + "\n";
            for (const std::string& line : behaviour.moreLines) expected += line + "\n";
            EXPECT_EQ(result.standardError, expected);
            EXPECT_EQ(result.exitCode, behaviour.exitCode);
            const std::vector<JavaRun> recorded = javaRuns(home);
            ASSERT_EQ(recorded.size(), static_cast<size_t>(++runs));
            EXPECT_EQ(recorded.back().program, program);
            EXPECT_NE(recorded.back().commandLine.find("-version"), std::string::npos) << recorded.back().commandLine;
        }
    }
}

TEST_P(StandinRuntimeTest, JdkCountsRunsInBothBinDirectories) {
    const fs::path home = makeHome(RuntimeShape::Jdk, "openjdk version \"11.0.2\" 2019-01-15");
    for (const fs::path& program : {home / "jre" / "bin" / "java.exe", home / "bin" / "java.exe"}) {
        const LauncherRun result = run(program, {"-version"});
        if (result.skipped) GTEST_SKIP() << result.skipReason;
        EXPECT_EQ(result.standardError, "openjdk version \"11.0.2\" 2019-01-15\n");
    }
    EXPECT_EQ(countRuns(home), 2);
}

TEST_P(StandinRuntimeTest, UnpackWritesTheJarAndRemovesThePackOnRequest) {
    const fs::path home = makeHome(RuntimeShape::Packed);
    struct Case {
        fs::path jar;
        bool remove;
    };
    for (const Case& c : {Case{packedJars().front(), true}, Case{packedJars().back(), false}}) {
        SCOPED_TRACE(c.jar);
        const fs::path pack = home / (c.jar.string() + ".pack");
        const fs::path jar = home / c.jar;
        std::vector<std::string> arguments = {WineScenario::windowsPath(pack), WineScenario::windowsPath(jar)};
        if (c.remove) arguments.insert(arguments.begin(), "-r");
        const LauncherRun result = run(home / "bin" / "unpack200.exe", arguments);
        if (result.skipped) GTEST_SKIP() << result.skipReason;
        EXPECT_EQ(result.exitCode, 0) << result.standardError;
        EXPECT_EQ(readFile(jar), packContent(c.jar));
        EXPECT_EQ(fs::exists(pack), !c.remove);
        ASSERT_FALSE(unpackRuns(home).empty());
        EXPECT_NE(unpackRuns(home).back().find(arguments.back()), std::string::npos) << unpackRuns(home).back();
    }
    EXPECT_EQ(unpackRuns(home).size(), 2u);
}

TEST_P(StandinRuntimeTest, UnpackRefusesBadCallsAndTouchesNothing) {
    const fs::path home = makeHome(RuntimeShape::Packed);
    const std::string pack = WineScenario::windowsPath(home / "lib" / "rt.jar.pack");
    const std::string jar = WineScenario::windowsPath(home / "lib" / "rt.jar");
    const std::string missing = WineScenario::windowsPath(home / "lib" / "none.jar.pack");
    struct Case {
        std::vector<std::string> arguments;
        int configuredExit;
        int exitCode;  // 2: bad arguments, 1: a file it cannot read
    };
    const std::vector<Case> cases = {
        {{}, 0, 2}, {{"-r", pack}, 0, 2}, {{"-r", pack, jar, jar}, 0, 2}, {{"-x", pack, jar}, 0, 2},
        {{"-r", missing, jar}, 0, 1}, {{"-r", pack, jar}, 5, 5},
    };
    size_t runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        setUnpackExitCode(home, c.configuredExit);
        const LauncherRun result = run(home / "bin" / "unpack200.exe", c.arguments);
        if (result.skipped) GTEST_SKIP() << result.skipReason;
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_NE(result.standardError.find("standin unpack200: "), std::string::npos) << result.standardError;
        EXPECT_TRUE(fs::exists(home / "lib" / "rt.jar.pack"));
        EXPECT_FALSE(fs::exists(home / "lib" / "rt.jar"));
        EXPECT_EQ(unpackRuns(home).size(), ++runs);
    }
}

TEST_P(StandinRuntimeTest, JavaSoftPlacementNamesTheHomeInItsOwnRegistryViewWhileItLasts) {
    PlacementNames names;
    names.javaSoftVersion = "1.8.0_placement" + std::to_string(::getpid());
    const std::string ownView = bits() == 64 ? "/reg:64" : "/reg:32";
    const std::string otherView = bits() == 64 ? "/reg:32" : "/reg:64";
    std::string key;
    {
        const PlacedRuntime runtime(scenario_, RuntimePlacement::JavaSoftRegistry, scenario_.directory(),
                                    RuntimeShape::Jre, bits(), "java version \"1.8.0_202\"", names);
        key = runtime.registryKey();
        EXPECT_TRUE(fs::exists(runtime.home() / "bin" / "java.exe"));
        EXPECT_TRUE(runtime.environment().empty());
        const LauncherRun own = run("reg", {"query", key, "/v", "JavaHome", ownView});
        EXPECT_EQ(own.exitCode, 0) << own.standardError;
        const std::string value = "JavaHome    REG_SZ    " + WineScenario::windowsPath(runtime.home()) + "\n";
        EXPECT_NE(own.standardOutput.find(value), std::string::npos) << own.standardOutput;
        EXPECT_NE(run("reg", {"query", key, otherView}).exitCode, 0);
    }
    EXPECT_NE(run("reg", {"query", key, ownView}).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Bitness, StandinRuntimeTest, ::testing::Values(64, 32),
                         [](const ::testing::TestParamInfo<int>& info) { return "Win" + std::to_string(info.param); });

}  // namespace
