// The JNI start and main call against the host's real JVM, one forked child
// per case, with the test bootstrap class of java/WinLauncher.java.

#include "RealJvm.h"

#include <gtest/gtest.h>

#include <utility>

using namespace realjvm;

namespace {

class RealJvmTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string_view(REALJVM_CLASSES_DIR).empty()) {
            GTEST_SKIP() << "javac was not found at configure time, so the test bootstrap class was not built";
        }
        libJvm_ = findLibJvm();
        if (!libJvm_) {
            GTEST_SKIP() << "no libjvm.so in $JAVA_HOME/lib/server or /usr/lib/jvm/java-17-openjdk-amd64";
        }
    }

    // A small, quick JVM; the class path comes last, as the launcher puts it.
    static MainCallRequest request(std::vector<std::u16string> arguments, std::vector<std::string> extraOptions = {},
                                   std::string className = "WinLauncher") {
        std::vector<std::string> options{"-Xmx64m", "-Xshare:auto", "-XX:TieredStopAtLevel=1", "-XX:+UseSerialGC",
                                         "-XX:-UsePerfData"};
        options.insert(options.end(), extraOptions.begin(), extraOptions.end());
        options.push_back(std::string("-Djava.class.path=") + REALJVM_CLASSES_DIR);
        return {std::move(options), std::move(className), std::move(arguments)};
    }

    IsolatedRun run(const MainCallRequest& request) const { return runMainInChild(*libJvm_, request); }

    // main ran to its end without an exception, and the child ended normally.
    static void expectCleanRun(const IsolatedRun& run) {
        EXPECT_TRUE(run.exited && run.exitCode == 0) << describe(run);
        EXPECT_EQ(run.report.createResult, JNI_OK) << describe(run);
        EXPECT_TRUE(run.report.mainReturned) << describe(run);
        EXPECT_EQ(run.report.uncaughtException, "") << describe(run);
    }

private:
    std::optional<std::filesystem::path> libJvm_;
};

TEST_F(RealJvmTest, ArgumentsReachMainAsExactCodeUnits) {
    for (const auto& [name, arguments] : exactArgumentGroups()) {
        SCOPED_TRACE(name);
        IsolatedRun result = run(request(arguments));
        expectCleanRun(result);
        BootstrapEcho echo = parseBootstrapEcho(result.standardOutput);
        EXPECT_TRUE(echo.wellFormed) << result.standardOutput;
        EXPECT_EQ(echo.arguments, arguments);
    }
}

TEST_F(RealJvmTest, SystemPropertiesFromOptionsReachJava) {
    // Narrow option text is UTF-8 in the child, as it is ANSI on Windows.
    const std::vector<std::pair<std::string, std::string>> properties{
        {"zelkor.tempDir", "/tmp/zkr dir \xc3\xa9t\xc3\xa9"},
        {"zelkor.moduleName", "/opt/\xe6\x97\xa5\xe6\x9c\xac/tool.exe"},
        {"zelkor.outsideBmp", "\xf0\x9f\x98\x80"},
        {"zelkor.unextractedPosition", "-1"},
        {"zelkor.empty", ""},
        {"zelkor.withEquals", "a=b=c"},
        {"sun.java.command", "/opt/app/tool.exe"},
    };
    std::vector<std::string> options;
    for (const auto& [name, value] : properties) options.push_back("-D" + name + "=" + value);
    // A later option for the same property wins.
    options.push_back("-Dzelkor.tempDir=/tmp/later");

    IsolatedRun result = run(request({}, options));
    expectCleanRun(result);
    BootstrapEcho echo = parseBootstrapEcho(result.standardOutput);
    EXPECT_TRUE(echo.wellFormed) << result.standardOutput;
    for (const auto& [name, value] : properties) {
        if (name == "zelkor.tempDir") continue;
        EXPECT_EQ(echo.properties[name], utf16(value)) << name;
    }
    EXPECT_EQ(echo.properties["zelkor.tempDir"], u"/tmp/later");
    EXPECT_EQ(echo.properties["java.class.path"], utf16(REALJVM_CLASSES_DIR));
}

// ignoreUnrecognized covers unknown -X and -XX options only. A refused option
// comes back as a result, but some failures found while the JVM starts end
// the process from inside JNI_CreateJavaVM: nothing after the call runs then.
TEST_F(RealJvmTest, CreationEitherSucceedsReturnsAnErrorOrEndsTheProcess) {
    enum class Outcome { created, refused, processEnded };
    const struct {
        const char* name;
        std::vector<std::string> options;
        Outcome outcome;
    } cases[]{
        {"unknown -X option", {"-Xzelkor-no-such-option"}, Outcome::created},
        {"unknown -XX flag", {"-XX:+ZelkorNoSuchFlag"}, Outcome::created},
        {"malformed heap size", {"-XX:MaxHeapSize=abc"}, Outcome::refused},
        {"initial heap above the maximum", {"-Xms256m"}, Outcome::processEnded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IsolatedRun result = run(request({u"probe"}, c.options));
        EXPECT_TRUE(result.report.createEntered) << describe(result);
        EXPECT_EQ(result.report.createResult.has_value(), c.outcome != Outcome::processEnded) << describe(result);
        EXPECT_EQ(result.report.createResult == JNI_OK, c.outcome == Outcome::created) << describe(result);
        EXPECT_EQ(result.report.mainReturned, c.outcome == Outcome::created);
        EXPECT_TRUE(result.exited) << describe(result);
        EXPECT_EQ(result.exitCode != 0, c.outcome == Outcome::processEnded) << describe(result);
        EXPECT_EQ(parseBootstrapEcho(result.standardOutput).arguments.size(), c.outcome == Outcome::created ? 1u : 0u);
    }
}

TEST_F(RealJvmTest, UncaughtExceptionIsReportedAndDescribed) {
    IsolatedRun result = run(request({u"throw", u"\u00e9"}));
    EXPECT_TRUE(result.exited && result.exitCode == 0) << describe(result);
    EXPECT_TRUE(result.report.mainReturned);
    EXPECT_EQ(result.report.uncaughtException, "java.lang.IllegalStateException");
    // ExceptionDescribe prints the trace on the error stream.
    EXPECT_NE(result.standardError.find("java.lang.IllegalStateException: thrown on request"), std::string::npos)
        << result.standardError;
    EXPECT_NE(result.standardError.find("at WinLauncher.main"), std::string::npos) << result.standardError;
    EXPECT_EQ(parseBootstrapEcho(result.standardOutput).arguments,
              (std::vector<std::u16string>{u"throw", u"\u00e9"}));
}

TEST_F(RealJvmTest, MissingClassOrMainIsReportedWithoutCallingAnything) {
    const struct {
        const char* className;
        bool classFound;
    } cases[]{
        {"NoSuchLauncher", false},
        {"winlauncher", false},
        {"WinLauncher$WrongMain", true},  // main(String[]) returns int
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        IsolatedRun result = run(request({u"x"}, {}, c.className));
        EXPECT_TRUE(result.exited && result.exitCode == 0) << describe(result);
        EXPECT_EQ(result.report.createResult, JNI_OK);
        EXPECT_EQ(result.report.classFound, c.classFound);
        EXPECT_FALSE(result.report.mainFound);
        EXPECT_FALSE(result.report.mainEntered);
        EXPECT_EQ(result.standardOutput, "");
    }
}

TEST_F(RealJvmTest, ProcessEndedFromInsideMainKeepsItsStatus) {
    IsolatedRun result = run(request({u"exit", u"7"}));
    EXPECT_TRUE(result.exited) << describe(result);
    EXPECT_EQ(result.exitCode, 7) << describe(result);
    EXPECT_TRUE(result.report.mainEntered);
    EXPECT_FALSE(result.report.mainReturned);
}

}  // namespace
