// The real runtime's class loader holds the jars of the launcher's temporary
// directory open: after a normal return and after System.exit, whatever could
// not go at once is gone once the next launcher has started.
#include "support/PayloadBuilder.h"
#include "support/RuntimeLayout.h"
#include "support/RuntimePlacement.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

namespace fs = std::filesystem;

TEST(RealTempDirectoryTest, NormalReturnAndSystemExitLeaveNothingAfterTheNextStart) {
    if (!realRuntimeHome()) GTEST_SKIP() << "the real Windows runtime has not been fetched (scripts/setup.sh)";
    WineScenario scenario("real_temp_directory");
    const fs::path launcher = scenario.makeLauncher("guilauncher64.exe",
                                                    PayloadBuilder()
                                                        .set(config::kLauncherKind, "1")
                                                        .set(config::kJvmSearchSequence, "Rjre")
                                                        .set(config::kMainClass, "realruntime.Exits")
                                                        .embed("launcher-bootstrap.jar", REALRUNTIME_BOOTSTRAP_JAR)
                                                        .embed("plain.jar", REALRUNTIME_PLAIN_JAR));
    const PlacedRuntime runtime(scenario, RuntimePlacement::BundledJre, scenario.directory(), RuntimeShape::Real, 64);

    const struct {
        std::vector<std::string> arguments;
        int exitCode;
    } runs[] = {{{"return"}, 0}, {{"exit", "3"}, 3}, {{"return"}, 0}};
    std::vector<fs::path> directories;
    for (const auto& run : runs) {
        const LauncherRun result = scenario.run(launcher, run.arguments, {{"ZELKOR_LOG", "yes"}}, 120);
        EXPECT_EQ(result.exitCode, run.exitCode) << describe(result);
        const std::string directory = result.announcedTempDir();
        ASSERT_FALSE(directory.empty()) << result.log.value_or("(no log)");
        directories.push_back(WineScenario::unixPath(directory));
        std::cout << "[ info     ] after " << run.arguments[0] << ": its directory "
                  << (fs::exists(directories.back()) ? "stays for the next start" : "is gone") << "\n";
    }
    for (size_t i = 0; i + 1 < directories.size(); ++i) {
        SCOPED_TRACE(directories[i]);
        EXPECT_FALSE(fs::exists(directories[i]));
        const std::string text = directories[i].string();
        EXPECT_FALSE(fs::exists(text.substr(0, text.rfind("_dir")))) << "its reservation";
    }
}

}  // namespace
