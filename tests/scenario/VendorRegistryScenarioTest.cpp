// Runtimes registered the way today's packages register them, found by a
// launcher that launchergen writes with the default search: each package's
// key in the registry view of the launcher's bitness, the greatest version
// across packages, a per-user install, a key that names a missing home, and
// a JAVA_HOME given with quotes and a closing backslash. The keys are shared
// by the whole prefix, so these scenarios run alone.
#include "support/HostCommand.h"
#include "support/JvmTranscript.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <set>

namespace {

namespace fs = std::filesystem;

// A package's registration: the key below the hive (as reg.exe names it),
// the value and what follows the home in it.
struct Registration {
    std::string vendor;
    std::string key;
    std::string value;
    std::string suffix;
};

// The key a package's installer creates below SOFTWARE: its own, or its
// folder in one that others share ("Microsoft\JDK", "JavaSoft\JDK").
std::string packageRoot(const std::string& key) {
    size_t end = key.find('\\', key.find("SOFTWARE\\") + 9);
    const std::string vendor = key.substr(0, end);
    if (vendor.ends_with("\\Microsoft") || vendor.ends_with("\\JavaSoft")) end = key.find('\\', end + 1);
    return key.substr(0, end);
}

class VendorRegistryScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    // Removing the leaf key leaves its parents, which every later search of
    // the prefix would walk: the package's whole key goes.
    void TearDown() override {
        placed_.clear();
        for (const std::string& root : packageRoots_) deleteRegistryKey(scenario_, root, bits());
    }

    void removeAfterwards(const std::string& key) { packageRoots_.insert(packageRoot(key)); }

    // The launcher, written by launchergen from a file without a search list.
    fs::path writeLauncher(const std::string& mainClass = "demo.Main", const std::string& more = {}) {
        const fs::path toml = scenario_.directory() / "app.toml";
        std::ofstream(toml) << "[application]\nname = \"Vendor Search\"\nmainClass = \"" << mainClass << "\"\n" << more;
        const fs::path launcher = scenario_.directory() / "app.exe";
        const std::string output = launchergenBuild(
            VENDOR_LAUNCHERGEN, toml, templateDirectory() / ("guilauncher" + std::to_string(bits()) + ".exe"), launcher);
        EXPECT_TRUE(fs::exists(launcher)) << output;
        return launcher;
    }

    // A stand-in runtime of the launcher's bitness in its own folder, named by
    // `registration`'s value.
    PlacedRuntime& place(const Registration& registration, const std::string& banner, const std::string& folder) {
        PlacementNames names;
        names.homeFolder = folder;
        names.registryKey = registration.key;
        names.registryValue = registration.value;
        names.valueSuffix = registration.suffix;
        removeAfterwards(registration.key);
        placed_.push_back(std::make_unique<PlacedRuntime>(scenario_, RuntimePlacement::RegistryValue,
                                                          scenario_.directory(), RuntimeShape::Jre, bits(), banner,
                                                          names));
        return *placed_.back();
    }

    LauncherRun run(const fs::path& launcher, std::map<std::string, std::string> environment = {}) {
        environment["ZELKOR_LOG"] = "yes";
        return scenario_.run(launcher, {"-q_btl_internal"}, environment, 120);
    }

    // Whether the runtime's jvm.dll created the JVM.
    static bool started(const PlacedRuntime& runtime) {
        std::vector<JvmSession> sessions;
        std::string error;
        readJvmTranscript(runtime.home() / "bin" / "server", sessions, error);
        return !sessions.empty();
    }

    WineScenario scenario_{"vendor_registry"};
    std::vector<std::unique_ptr<PlacedRuntime>> placed_;
    std::set<std::string> packageRoots_;
};

TEST_P(VendorRegistryScenarioTest, EachPackagesRegistrationIsFoundByTheDefaultSearch) {
    const std::string zulu = bits() == 32 ? "Zulu 32-bit" : "Zulu";
    const Registration registrations[] = {
        {"Oracle", "HKLM\\SOFTWARE\\JavaSoft\\JDK\\17.0.1", "JavaHome", ""},
        {"Eclipse Adoptium", "HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", "Path", "\\"},
        {"Eclipse Adoptium", "HKLM\\SOFTWARE\\AdoptOpenJDK\\JRE\\11.0.2.9\\openj9\\MSI", "Path", "\\"},
        {"Microsoft", "HKLM\\SOFTWARE\\Microsoft\\JDK\\17.0.9.8\\hotspot\\EXE", "Path", "\\"},
        {"IBM Semeru", "HKLM\\SOFTWARE\\Semeru\\JRE\\17.0.8.1\\openj9\\MSI", "Path", "\\"},
        {"Azul Zulu", "HKLM\\SOFTWARE\\Azul Systems\\" + zulu + "\\zulu-17", "InstallationPath", "\\"},
        {"BellSoft Liberica", "HKLM\\SOFTWARE\\BellSoft\\Liberica\\17", "InstallationPath", ""},
        {"SapMachine", "HKLM\\SOFTWARE\\SapMachine\\JDK\\17", "JavaHome", ""},
    };
    const fs::path launcher = writeLauncher();
    int package = 0;
    for (const Registration& registration : registrations) {
        SCOPED_TRACE(registration.key);
        // A folder of its own each: nothing the last run started is rewritten.
        const PlacedRuntime& runtime = place(registration, "openjdk version \"17.0.9\" 2023-10-17",
                                             "home " + std::to_string(++package));
        if (registration.value == "Path") {
            // Beside the path, the packages' flag of the same name as the JavaSoft value.
            addRegistryValue(scenario_, registration.key, "JavaHome", "REG_DWORD", "1", runtime.bits());
        }
        const LauncherRun result = run(launcher);
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.exitCode, 0) << describe(result);
        EXPECT_TRUE(started(runtime)) << describe(result);
        EXPECT_TRUE(result.logHas("registered by " + registration.vendor + ": " +
                                  WineScenario::windowsPath(runtime.home())))
            << result.log.value_or("(no log)");
        placed_.clear();
    }
}

TEST_P(VendorRegistryScenarioTest, GreatestVersionWinsAcrossPackagesAndAPerUserInstallCounts) {
    const fs::path launcher = writeLauncher();
    place({"Oracle", "HKLM\\SOFTWARE\\JavaSoft\\JDK\\17.0.1", "JavaHome", ""}, "java version \"17.0.1\"", "oracle");
    const PlacedRuntime& newest = place({"Azul Zulu", "HKCU\\SOFTWARE\\Azul Systems\\Zulu\\zulu-21", "InstallationPath", "\\"},
                                        "openjdk version \"21.0.2\" 2024-01-16", "zulu per user");
    place({"BellSoft Liberica", "HKLM\\SOFTWARE\\BellSoft\\Liberica\\11", "InstallationPath", ""},
          "openjdk version \"11.0.22\" 2024-01-16", "liberica");
    const LauncherRun result = run(launcher);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_TRUE(started(newest)) << result.log.value_or("(no log)");
    EXPECT_FALSE(started(*placed_[0]));
    EXPECT_FALSE(started(*placed_[2]));
}

TEST_P(VendorRegistryScenarioTest, KeyNamingAMissingHomeIsSkippedWithALogLine) {
    const fs::path launcher = writeLauncher();
    const std::string missing = WineScenario::windowsPath(scenario_.directory() / "removed jdk");
    const std::string missingKey = "HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.1.12\\hotspot\\MSI";
    removeAfterwards(missingKey);
    addRegistryValue(scenario_, missingKey, "Path", "REG_SZ", missing + "\\", bits());
    const PlacedRuntime& present =
        place({"Microsoft", "HKLM\\SOFTWARE\\Microsoft\\JDK\\17.0.9.8\\hotspot\\MSI", "Path", "\\"},
              "openjdk version \"17.0.9\" 2023-10-17", "microsoft");
    const LauncherRun result = run(launcher);
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_TRUE(started(present));
    const std::vector<std::string> lines = result.logLines();
    const auto named = std::find(lines.begin(), lines.end(), "registered by Eclipse Adoptium: " + missing);
    ASSERT_NE(named, lines.end()) << result.log.value_or("(no log)");
    EXPECT_NE(std::find(named, lines.end(), "file doesn't exist"), lines.end()) << result.log.value_or("(no log)");
}

// JAVA_HOME as people write it: in quotes, with a closing backslash.
TEST_P(VendorRegistryScenarioTest, QuotedJavaHomeWithAClosingBackslashNamesTheSameHome) {
    const fs::path launcher = writeLauncher();
    PlacementNames names;
    names.variable = "UNUSED_JAVA_HOME";
    const PlacedRuntime runtime(scenario_, RuntimePlacement::NamedByVariable, scenario_.directory(), RuntimeShape::Jre,
                                bits(), "java version \"1.8.0_392\"", names);
    const LauncherRun result =
        run(launcher, {{"JAVA_HOME", "\"" + WineScenario::windowsPath(runtime.home()) + "\\\""}});
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_TRUE(started(runtime)) << result.log.value_or("(no log)");
}

// The real Windows runtime registered as its package's installer does it
// (the path with a closing backslash): an application starts from it.
class RealRuntimeRegistryTest : public VendorRegistryScenarioTest {};

TEST_P(RealRuntimeRegistryTest, RuntimeRegisteredAsAPackageInstallStartsTheApplication) {
#ifdef VENDOR_PLAIN_JAR
    if (!realRuntimeHome()) GTEST_SKIP() << "the real Windows runtime has not been fetched (scripts/setup.sh)";
    const fs::path launcher =
        writeLauncher("realruntime.Exits", "[[files.embed]]\nsource = '" + std::string(VENDOR_PLAIN_JAR) + "'\n");
    PlacementNames names;
    names.homeFolder = "Eclipse Adoptium jdk";
    names.registryKey = "HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI";
    names.registryValue = "Path";
    names.valueSuffix = "\\";
    removeAfterwards(names.registryKey);
    const PlacedRuntime runtime(scenario_, RuntimePlacement::RegistryValue, scenario_.directory(), RuntimeShape::Real,
                                64, "", names);
    const LauncherRun result = scenario_.run(launcher, {"return"}, {{"ZELKOR_LOG", "yes"}}, 120);
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    for (const std::string& line : {"registered by Eclipse Adoptium: " + WineScenario::windowsPath(runtime.home()),
                                   std::string("JVM created"), std::string("main returned")})
        EXPECT_TRUE(result.logHas(line)) << line << "\n" << result.log.value_or("(no log)");
#else
    GTEST_SKIP() << "no JDK at configure time: the test application was not built";
#endif
}

INSTANTIATE_TEST_SUITE_P(Bitness, VendorRegistryScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return "x" + std::to_string(info.param); });
// The real runtime is an x86-64 one.
INSTANTIATE_TEST_SUITE_P(Bitness, RealRuntimeRegistryTest, ::testing::Values(64),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

}  // namespace
