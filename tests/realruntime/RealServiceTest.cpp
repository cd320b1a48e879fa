// Services with the real Windows runtime for applications that know nothing
// of the bootstrap library: the stop line still ends them through their
// shutdown hooks, an application that does not end is ended after the stop
// timeout, and a real database server from Maven Central, in a launcher that
// launchergen writes, serves a client on Linux until it is stopped.
#include "support/HostCommand.h"
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

bool waitFor(const fs::path& file, int seconds) {
    for (int i = 0; i < seconds * 10 && !fs::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return fs::exists(file);
}

// Whether a process whose command line names `exeName` runs (Wine shows a
// Windows program's own path there).
bool processRuns(const std::string& exeName) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        if (!std::isdigit(static_cast<unsigned char>(entry.path().filename().string()[0]))) continue;
        if (readFile(entry.path() / "cmdline").find(exeName) != std::string::npos) return true;
    }
    return false;
}

bool portAccepts(int port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

// A TOML literal string.
std::string quoted(const std::string& text) { return "'" + text + "'"; }

class RealServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!realRuntimeHome()) GTEST_SKIP() << "the real Windows runtime has not been fetched (scripts/setup.sh)";
    }

    // The service's exe name, unique on this machine so that its processes can be found.
    std::string exeName(const std::string& role) const { return role + "_" + std::to_string(::getpid()) + ".exe"; }

    // -stop, timed; the time is printed, not asserted.
    LauncherRun stop(const fs::path& launcher) {
        const Clock::time_point start = Clock::now();
        LauncherRun result = scenario_.run(launcher, {"-stop"}, {}, 120);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        std::cout << "[ info     ] -stop of " << launcher.filename().string() << " took " << ms << " ms\n";
        RecordProperty("stopMilliseconds", static_cast<int>(ms));
        return result;
    }

    // After the stop: no process of the service, "Not running." with 3, and
    // an uninstall that removes the service at once.
    void expectGoneAndUninstall(const fs::path& launcher, const std::string& name) {
        EXPECT_FALSE(processRuns(launcher.filename().string())) << "a process of the service is left";
        const LauncherRun status = scenario_.run(launcher, {"-status"});
        EXPECT_EQ(status.exitCode, 3) << describe(status);
        const LauncherRun removed = scenario_.run(launcher, {"-uninstall"});
        EXPECT_EQ(removed.standardOutput, "Service is already stopped.\nUninstalled service '" + name + "'.\n");
        const LauncherRun probe = scenario_.run(testProgram("service_probe", 64), {"config", name}, {}, 60);
        EXPECT_NE(probe.exitCode, 0) << "the service is still registered:\n" << probe.standardOutput;
    }

    void stopPlainServer(const std::string& role, bool blockHook);

    // Deletes the test's service whatever happened; runs while the scenario exists.
    struct Cleanup {
        WineScenario& scenario;
        std::string name;
        ~Cleanup() {
            if (!name.empty()) scenario.run(testProgram("service_probe", 64), {"delete", name}, {}, 60);
        }
    };

    WineScenario scenario_{"real_service"};
};

PayloadBuilder plainServerPayload(const std::string& name, const fs::path& hookFile, bool blockHook) {
    return PayloadBuilder()
        .set(config::kLauncherKind, "4")
        .set(config::kApplicationName, name)
        .set(config::kJvmSearchSequence, "Rjre")
        .set(config::kMainClass, "realruntime.PlainServer")
        .set(config::kServiceStopTimeout, "3")
        .set(config::kVmOptions, "-Xmx64m -Dplain.file=\"" + WineScenario::windowsPath(hookFile) + "\"" +
                                     (blockHook ? " -Dplain.blockHook=true" : ""))
        .embed("launcher-bootstrap.jar", REALRUNTIME_BOOTSTRAP_JAR)
        .embed("plain.jar", REALRUNTIME_PLAIN_JAR);
}

// Installs and starts the plain server as a service, stops it and checks
// that the stop reached the application and nothing of the service is left.
void RealServiceTest::stopPlainServer(const std::string& role, bool blockHook) {
    const std::string name = "btl" + role + "_" + std::to_string(::getpid());
    const Cleanup cleanup{scenario_, name};
    const fs::path hookFile = scenario_.directory() / "hook.txt";
    const fs::path launcher =
        scenario_.makeLauncher("svclauncher64.exe", plainServerPayload(name, hookFile, blockHook), exeName(role));
    const PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, scenario_.directory(), RuntimeShape::Real, 64);

    EXPECT_EQ(scenario_.run(launcher, {"-install-and-start"}).exitCode, 0);
    ASSERT_TRUE(waitFor(hookFile.string() + ".running", 60)) << "the application did not start";
    const LauncherRun stopped = stop(launcher);
    EXPECT_EQ(stopped.exitCode, 0) << describe(stopped);
    EXPECT_EQ(stopped.standardOutput, "Stopping service '" + name + "'.\nService stopped\n");
    EXPECT_EQ(readFile(hookFile), "hook ran");  // the stop reached the application
    expectGoneAndUninstall(launcher, name);
}

// The stop line ends the JVM with System.exit(0): the shutdown hook runs and
// the non-daemon thread does not keep the service alive.
TEST_F(RealServiceTest, ApplicationWithoutTheLibraryStopsThroughItsShutdownHook) { stopPlainServer("plainsvc", false); }

// A shutdown hook that never returns keeps the JVM from ending: the service
// ends its child after the stop timeout (3 seconds here) and reports stopped.
TEST_F(RealServiceTest, ApplicationThatNeverFinishesStoppingIsEndedAfterTheStopTimeout) {
    stopPlainServer("blocksvc", true);
}

// A database server as people run it: the jar from Maven Central, a launcher
// written by launchergen from a TOML file, SQL from a client on Linux.
TEST_F(RealServiceTest, ThirdPartyDatabaseServerServesUntilStopped) {
    const fs::path h2Jar = REALRUNTIME_H2_JAR;
    if (!fs::exists(h2Jar)) GTEST_SKIP() << "the H2 database jar was not fetched from Maven Central (scripts/third-party.sh)";
    const std::string name = "btlh2svc_" + std::to_string(::getpid());
    const Cleanup cleanup{scenario_, name};
    const int port = 20000 + ::getpid() % 20000;
    const fs::path data = scenario_.directory() / "h2data";
    fs::create_directories(data);
    const fs::path toml = scenario_.directory() / "h2.toml";
    std::ofstream(toml) << "[application]\nname = \"" << name << "\"\nmainClass = \"org.h2.tools.Server\"\n"
                        << "arguments = '-tcp -tcpPort " << port << " -ifNotExists -baseDir "
                        << WineScenario::windowsPath(data) << "'\n"
                        << "[files]\nbootstrapJar = " << quoted(REALRUNTIME_BOOTSTRAP_JAR) << "\n"
                        << "[[files.embed]]\nsource = " << quoted(h2Jar.string()) << "\n"
                        << "[java]\nsearch = [{ kind = \"bundled\", path = \"jre\" }]\n"
                        << "[vm]\noptions = [\"-Xmx128m\"]\n"
                        << "[service]\ndescription = \"H2 database\"\nstopTimeout = 10\n";
    const fs::path launcher = scenario_.directory() / exeName("h2svc");
    const std::string written =
        launchergenBuild(REALRUNTIME_LAUNCHERGEN, toml, templateDirectory() / "svclauncher64.exe", launcher);
    ASSERT_TRUE(fs::exists(launcher)) << written;
    const PlacedRuntime runtime(scenario_, RuntimePlacement::BundledJre, scenario_.directory(), RuntimeShape::Real, 64);

    const LauncherRun started = scenario_.run(launcher, {"-install-and-start"});
    EXPECT_EQ(started.exitCode, 0) << describe(started);
    for (int i = 0; i < 600 && !portAccepts(port); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(portAccepts(port)) << "the server does not listen on " << port;
    const std::string client = std::string(REALRUNTIME_HOST_JAVA) + " -cp " + shellQuoted(h2Jar.string()) +
                               " org.h2.tools.Shell -url jdbc:h2:tcp://127.0.0.1:" + std::to_string(port) +
                               "/launcher -user sa -password sa -sql ";
    const std::string answer = hostCommandOutput(
        client +
        shellQuoted("CREATE TABLE IF NOT EXISTS T(X INT); INSERT INTO T VALUES (40), (2); SELECT SUM(X) AS TOTAL FROM T") +
        " 2>&1");
    EXPECT_NE(answer.find("42"), std::string::npos) << answer;

    const LauncherRun stopped = stop(launcher);
    EXPECT_EQ(stopped.exitCode, 0) << describe(stopped);
    EXPECT_EQ(stopped.standardOutput, "Stopping service '" + name + "'.\nService stopped\n");
    EXPECT_FALSE(portAccepts(port)) << "the port is still open";
    expectGoneAndUninstall(launcher, name);
    // The data outlived the service.
    EXPECT_TRUE(fs::exists(data / "launcher.mv.db"));
}

}  // namespace
