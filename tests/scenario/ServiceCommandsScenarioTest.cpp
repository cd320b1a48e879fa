// The service launcher's control commands against the real service control
// manager of the test prefix: exact console lines and exit codes, and what
// the manager holds afterwards (read back by service_probe). Every service is
// installed under a name of its own and deleted when its test ends.
#include "support/JvmTranscript.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace payload;

int serviceCounter = 0;

class ServiceCommandsScenarioTest : public ::testing::TestWithParam<int> {
protected:
    int bits() const { return GetParam(); }

    // A service name that no other test, bitness or concurrent run uses; it
    // is deleted when the test ends, together with `suffix` variants.
    std::string uniqueName() {
        std::string name = "btlsvc" + std::to_string(bits()) + "_" + std::to_string(::getpid()) + "_" +
                           std::to_string(++serviceCounter);
        cleanup_.names.insert(name);
        return name;
    }
    void alsoDelete(const std::string& name) { cleanup_.names.insert(name); }

    // A service launcher's payload: key 101 names the service when the command line does not.
    static PayloadBuilder servicePayload(const std::string& name) {
        return PayloadBuilder().set(config::kLauncherKind, "4").set(config::kApplicationName, name);
    }

    fs::path launcher(const PayloadBuilder& payload, const std::string& exeName = "app.exe") {
        if (exeName.find('/') != std::string::npos)
            fs::create_directories((scenario_.directory() / exeName).parent_path());
        return scenario_.makeLauncher("svclauncher" + std::to_string(bits()) + ".exe", payload, exeName);
    }

    LauncherRun run(const fs::path& program, const std::vector<std::string>& arguments) {
        return scenario_.run(program, arguments, {{"ZELKOR_LOG", "yes"}}, 60);
    }

    // A service launcher with the bundled stand-in runtime, whose Java side
    // runs until the stop line comes.
    struct StandInService {
        fs::path program;
        std::unique_ptr<PlacedRuntime> runtime;
    };
    StandInService standInService(const std::string& name) {
        StandInService service;
        service.program = launcher(servicePayload(name).withBundledStandIn());
        const fs::path bootstrapClass = scenario_.directory() / "classes/com/zelkor/runtime/WinLauncher.class";
        fs::create_directories(bootstrapClass.parent_path());
        std::ofstream(bootstrapClass) << "class bytes";
        service.runtime = std::make_unique<PlacedRuntime>(scenario_, RuntimePlacement::BundledJre,
                                                          service.program.parent_path(), RuntimeShape::Jre, bits(),
                                                          "java version \"1.8.0_121\"");
        EXPECT_TRUE(writeStandinJvmConfig(service.runtime->home() / "bin" / "server",
                                          {{"main", "stdin"}, {"main.wait-ms", "60000"}}));
        return service;
    }
    void waitUntilRunning(const fs::path& program) {
        for (int i = 0; i < 100 && run(program, {"-status"}).exitCode != 0; ++i) ::usleep(100000);
    }

    // The service's configuration as service_probe prints it; empty when the
    // service does not exist.
    std::map<std::string, std::string> serviceConfig(const std::string& name) {
        const LauncherRun probe = scenario_.run(testProgram("service_probe", bits()), {"config", name}, {}, 60);
        std::map<std::string, std::string> fields;
        if (probe.exitCode != 0) return fields;
        std::istringstream lines(probe.standardOutput);
        for (std::string line; std::getline(lines, line);) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return fields;
    }

    // Deletes the test's services whatever the launcher under test did.
    // Declared after the scenario, so it runs while the scenario still exists.
    struct ServiceCleanup {
        WineScenario& scenario;
        int bits;
        std::set<std::string> names;
        ~ServiceCleanup() {
            for (const std::string& name : names) scenario.run(testProgram("service_probe", bits), {"delete", name}, {}, 60);
        }
    };

    WineScenario scenario_{"service_commands"};
    ServiceCleanup cleanup_{scenario_, GetParam(), {}};
};

TEST_P(ServiceCommandsScenarioTest, CommandsOnAMissingServiceFailWithTheirLines) {
    const std::string name = uniqueName();
    const fs::path program = launcher(servicePayload(name));
    const struct {
        const char* command;
        const char* output;
    } cases[] = {
        {"-status", "Could not get status.\n"},
        {"-stop", "Could not stop service.\n"},
        {"-start", "Could not start service. Error code: 1060\n"},  // ERROR_SERVICE_DOES_NOT_EXIST
        {"-uninstall", "Could not delete service.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const LauncherRun result = run(program, {c.command});
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.standardOutput, c.output) << describe(result);
        EXPECT_EQ(result.exitCode, 1) << describe(result);
    }
}

TEST_P(ServiceCommandsScenarioTest, InstallStatusStopReinstallAndUninstall) {
    const fs::path program = launcher(servicePayload("ConfiguredName"));
    const std::string name = uniqueName();
    const struct {
        std::vector<std::string> arguments;
        std::string output;
        int exitCode;
    } steps[] = {
        {{"-install", name}, "Installed service '" + name + "'.\n", 0},
        {{"/status", name}, "Not running.\nAuto-start.\n", 3},
        {{"--stop", name}, "Service is already stopped.\n", 0},
        // The old entry is stopped (quietly, but its outcome is told) and recreated.
        {{"/-install", name}, "Service is already stopped.\nInstalled service '" + name + "'.\n", 0},
        {{"-uninstall", name}, "Service is already stopped.\nUninstalled service '" + name + "'.\n", 0},
        {{"-status", name}, "Could not get status.\n", 1},
        {{"-stop", name}, "Could not stop service.\n", 1},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].arguments.front());
        const LauncherRun result = run(program, steps[i].arguments);
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.standardOutput, steps[i].output) << describe(result);
        EXPECT_EQ(result.exitCode, steps[i].exitCode) << describe(result);
        if (i == 0) {
            // A path without blanks is registered bare.
            const auto config = serviceConfig(name);
            EXPECT_EQ(config.at("path"), WineScenario::windowsPath(program));
            EXPECT_EQ(config.at("type"), "0x110");  // own process, interactive
            EXPECT_EQ(config.at("dependencies"), "");
            EXPECT_EQ(config.at("description"), "");
        }
    }
    EXPECT_TRUE(serviceConfig(name).empty());
}

TEST_P(ServiceCommandsScenarioTest, TextsWithoutACommandTakeTheRunPath) {
    const std::string name = uniqueName();
    const fs::path program = launcher(servicePayload("ConfiguredName"));
    // Under Wine the dispatcher takes ten seconds to refuse a program it did
    // not start, so only two of the texts that are no command run here; the
    // others ("-INSTALL", "-/install", "---install") are covered by the
    // parser's table.
    const std::vector<std::string> texts[] = {{"install", name}, {"-installer", name}};
    for (const auto& arguments : texts) {
        SCOPED_TRACE(arguments.front());
        const LauncherRun result = run(program, arguments);
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.standardOutput, "") << describe(result);
        // The whole command line, program word included (quoted by Wine).
        const std::string exe = WineScenario::windowsPath(program);
        EXPECT_TRUE(result.logHas("command line \"" + exe + "\" " + arguments[0] + " " + name) ||
                    result.logHas("command line " + exe + " " + arguments[0] + " " + name))
            << result.log.value_or("(no log)");
        EXPECT_TRUE(serviceConfig(name).empty());
        // Started from a console, the dispatcher fails at once.
        EXPECT_EQ(result.exitCode, 0) << describe(result);
        EXPECT_TRUE(result.logHas("StartServiceCtrlDispatcher returned")) << result.log.value_or("(no log)");
    }
}

// A service whose Java side runs until the stop line: started, queried,
// started again, installed over while it runs, stopped, and the combined
// install-and-start.
TEST_P(ServiceCommandsScenarioTest, CommandsDriveARunningService) {
    const std::string name = uniqueName();
    const StandInService service = standInService(name);
    const fs::path& program = service.program;

    const LauncherRun installed = run(program, {"-install"});
    SKIP_IF_UNRUNNABLE(installed);
    EXPECT_EQ(installed.standardOutput, "Installed service '" + name + "'.\n") << describe(installed);
    const LauncherRun started = run(program, {"-start"});
    EXPECT_EQ(started.exitCode, 0) << describe(started);
    EXPECT_EQ(started.standardOutput, "Starting service '" + name + "'.\n");
    waitUntilRunning(program);
    const LauncherRun status = run(program, {"-status"});
    EXPECT_EQ(status.exitCode, 0) << describe(status);
    EXPECT_EQ(status.standardOutput, "Running.\nAuto-start.\n");
    const LauncherRun again = run(program, {"-start"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.standardOutput, "Service is already running.\n");

    // Installing over the running service stops it first.
    const LauncherRun over = run(program, {"-install-demand"});
    EXPECT_EQ(over.exitCode, 0) << describe(over);
    EXPECT_EQ(over.standardOutput,
              "Stopping service '" + name + "'.\nService stopped\nInstalled service '" + name + "'.\n");
    const LauncherRun both = run(program, {"-install-and-start"});
    EXPECT_EQ(both.exitCode, 0) << describe(both);
    // The quiet stop of the installed, stopped service still says so.
    EXPECT_EQ(both.standardOutput, "Service is already stopped.\nInstalled service '" + name + "'.\nStarting service '" +
                                       name + "'.\n");
    waitUntilRunning(program);
    const LauncherRun stopped = run(program, {"-stop"});
    EXPECT_EQ(stopped.exitCode, 0) << describe(stopped);
    EXPECT_EQ(stopped.standardOutput, "Stopping service '" + name + "'.\nService stopped\n");
    const LauncherRun after = run(program, {"-status"});
    EXPECT_EQ(after.exitCode, 3);
    EXPECT_EQ(after.standardOutput, "Not running.\nAuto-start.\n");
}

// -restart stops a running service and starts it again once it has stopped;
// on a stopped service it only starts it, and on a missing one it fails.
TEST_P(ServiceCommandsScenarioTest, RestartStopsARunningServiceAndStartsItAgain) {
    const std::string name = uniqueName();
    const StandInService service = standInService(name);
    const fs::path& program = service.program;

    const LauncherRun installed = run(program, {"-install-and-start"});
    SKIP_IF_UNRUNNABLE(installed);
    EXPECT_EQ(installed.exitCode, 0) << describe(installed);
    waitUntilRunning(program);
    const LauncherRun restarted = run(program, {"-restart"});
    EXPECT_EQ(restarted.exitCode, 0) << describe(restarted);
    EXPECT_EQ(restarted.standardOutput,
              "Stopping service '" + name + "'.\nService stopped\nStarting service '" + name + "'.\n");
    waitUntilRunning(program);
    EXPECT_EQ(run(program, {"-status"}).standardOutput, "Running.\nAuto-start.\n");

    EXPECT_EQ(run(program, {"-stop"}).exitCode, 0);
    const LauncherRun restartedStopped = run(program, {"-restart"});
    EXPECT_EQ(restartedStopped.exitCode, 0) << describe(restartedStopped);
    EXPECT_EQ(restartedStopped.standardOutput, "Service is already stopped.\nStarting service '" + name + "'.\n");
    const LauncherRun missing = run(launcher(servicePayload(uniqueName()), "other.exe"), {"-restart"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.standardOutput, "Could not stop service.\n");
}

// The failure actions are handed over at install; Wine keeps none of them and
// refuses the delayed start (error 124), which -install names without failing.
TEST_P(ServiceCommandsScenarioTest, InstallSetsFailureActionsAndDelayedStartOrNamesWhatWasRefused) {
    const std::string name = uniqueName();
    const fs::path program = launcher(servicePayload(name)
                                          .set(config::kServiceFailureActions, "86400;1:10000;0:0")
                                          .set(config::kServiceDelayedAutoStart, "1"));
    const LauncherRun result = run(program, {"-install"});
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    const std::string installedLine = "Installed service '" + name + "'.\n";
    EXPECT_TRUE(result.standardOutput == installedLine ||
                result.standardOutput == "Could not set the delayed automatic start. Error code: 124\n" + installedLine)
        << describe(result);
    EXPECT_EQ(serviceConfig(name).at("start"), "2");
}

TEST_P(ServiceCommandsScenarioTest, NonInteractiveCountsOnlyBeforeTheName) {
    const fs::path program = launcher(servicePayload("ConfiguredName"));
    const std::string first = uniqueName() + " x";
    const std::string second = uniqueName() + " non-interactive";
    alsoDelete(first);
    alsoDelete(second);
    const struct {
        std::vector<std::string> arguments;
        std::string service;
        const char* type;
    } cases[] = {
        {{"-install", "non-interactive", first.substr(0, first.size() - 2), "x"}, first, "0x10"},
        {{"-install", second.substr(0, second.size() - 16), "non-interactive"}, second, "0x110"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.service);
        const LauncherRun result = run(program, c.arguments);
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.standardOutput, "Installed service '" + c.service + "'.\n") << describe(result);
        EXPECT_EQ(result.exitCode, 0);
        const auto config = serviceConfig(c.service);
        ASSERT_FALSE(config.empty());
        EXPECT_EQ(config.at("type"), c.type);
    }
}

TEST_P(ServiceCommandsScenarioTest, RegistersDependenciesDescriptionAndAQuotedPath) {
    const std::string name = uniqueName();
    const fs::path program = launcher(servicePayload(name)
                                          .set(config::kServiceDependencies, "Tcpip,,Dhcp")
                                          .set(config::kServiceDescription, u"Dienst f\u00fcr Tests"),
                                      "dir with blank/app.exe");
    const LauncherRun result = run(program, {"-install"});
    SKIP_IF_UNRUNNABLE(result);
    EXPECT_EQ(result.standardOutput, "Installed service '" + name + "'.\n") << describe(result);
    EXPECT_EQ(result.exitCode, 0);
    const auto config = serviceConfig(name);
    ASSERT_FALSE(config.empty());
    EXPECT_EQ(config.at("dependencies"), "Tcpip|Dhcp");
    EXPECT_EQ(config.at("description"), "Dienst f\u00fcr Tests");
    EXPECT_EQ(config.at("path"), "\"" + WineScenario::windowsPath(program) + "\"");
    EXPECT_EQ(config.at("start"), "2");
}

TEST_P(ServiceCommandsScenarioTest, StartTypeFollowsTheCommandAndTheLauncherKind) {
    const struct {
        const char* kind;
        const char* command;
        const char* status;
    } cases[] = {
        {"4", "-install-demand", "Not running.\n"},
        {"4", "-install-auto", "Not running.\nAuto-start.\n"},
        {"3", "-install", "Not running.\n"},  // not the service launcher kind: demand start
        {"3", "-install-auto", "Not running.\nAuto-start.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.command);
        const std::string name = uniqueName();
        const fs::path program = launcher(servicePayload(name).set(config::kLauncherKind, c.kind));
        const LauncherRun install = run(program, {c.command});
        SKIP_IF_UNRUNNABLE(install);
        EXPECT_EQ(install.standardOutput, "Installed service '" + name + "'.\n") << describe(install);
        const LauncherRun status = run(program, {"-status"});
        EXPECT_EQ(status.standardOutput, c.status) << describe(status);
        EXPECT_EQ(status.exitCode, 3);
    }
}

TEST_P(ServiceCommandsScenarioTest, AFailedInstallIsNotStartedAndFails) {
    // A dependency list beyond its capacity is refused, so the install fails
    // in the launcher itself; so is a value too long to be read whole, even
    // when what could be read would fit.
    const struct {
        std::string dependencies;
        const char* command;
    } cases[] = {
        {std::string(8191, 'd'), "-install"},
        {std::string(8191, 'd'), "-install-and-start"},
        {std::string(9000, ',') + "Tcpip", "-install"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const std::string name = uniqueName();
        const fs::path program = launcher(servicePayload(name).set(config::kServiceDependencies, c.dependencies));
        const LauncherRun result = run(program, {c.command});
        SKIP_IF_UNRUNNABLE(result);
        EXPECT_EQ(result.standardOutput, "Could not create service.\n") << describe(result);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(serviceConfig(name).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Bitness, ServiceCommandsScenarioTest, ::testing::Values(64, 32),
                         [](const auto& info) { return std::string("x").append(std::to_string(info.param)); });

}  // namespace
