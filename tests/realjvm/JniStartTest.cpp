// The launcher's own JVM start (createJvm, callMain) against the host's real
// JVM, with the shipped bootstrap jar calling the echo class of
// java/WinLauncher.java as the application. One forked child per run.
#include "RealJvm.h"

#include "launch/BootstrapArguments.h"
#include "launch/JniStart.h"
#include "launch/LauncherProperties.h"

#include <gtest/gtest.h>

#include <cstddef>

using namespace realjvm;

namespace {

// The launcher's declarations are its own: every slot it calls must sit where
// the JDK's jni.h puts it.
static_assert(offsetof(jni::NativeInterface, FindClass) == offsetof(JNINativeInterface_, FindClass));
static_assert(offsetof(jni::NativeInterface, ExceptionOccurred) == offsetof(JNINativeInterface_, ExceptionOccurred));
static_assert(offsetof(jni::NativeInterface, ExceptionDescribe) == offsetof(JNINativeInterface_, ExceptionDescribe));
static_assert(offsetof(jni::NativeInterface, ExceptionClear) == offsetof(JNINativeInterface_, ExceptionClear));
static_assert(offsetof(jni::NativeInterface, GetStaticMethodID) == offsetof(JNINativeInterface_, GetStaticMethodID));
static_assert(offsetof(jni::NativeInterface, CallStaticBooleanMethod) ==
              offsetof(JNINativeInterface_, CallStaticBooleanMethod));
static_assert(offsetof(jni::NativeInterface, CallStaticVoidMethod) == offsetof(JNINativeInterface_, CallStaticVoidMethod));
static_assert(offsetof(jni::NativeInterface, NewString) == offsetof(JNINativeInterface_, NewString));
static_assert(offsetof(jni::NativeInterface, NewObjectArray) == offsetof(JNINativeInterface_, NewObjectArray));
static_assert(offsetof(jni::NativeInterface, SetObjectArrayElement) ==
              offsetof(JNINativeInterface_, SetObjectArrayElement));
static_assert(offsetof(jni::InvokeInterface, DestroyJavaVM) == offsetof(JNIInvokeInterface_, DestroyJavaVM));
static_assert(sizeof(jni::JavaVMInitArgs) == sizeof(JavaVMInitArgs));
static_assert(offsetof(jni::JavaVMInitArgs, ignoreUnrecognized) == offsetof(JavaVMInitArgs, ignoreUnrecognized));
static_assert(jni::kJniVersion1_2 == JNI_VERSION_1_2 && jni::kJniOk == JNI_OK && jni::kJniTrue == JNI_TRUE);

const char* outcomeName(MainCallOutcome outcome) {
    switch (outcome) {
        case MainCallOutcome::Returned: return "returned";
        case MainCallOutcome::StoppedByFirstRun: return "stopped-by-first-run";
        case MainCallOutcome::Exception: return "exception";
        case MainCallOutcome::ClassNotFound: return "class-not-found";
        case MainCallOutcome::MethodNotFound: return "method-not-found";
        case MainCallOutcome::FirstRunClassNotFound: return "first-run-class-not-found";
        case MainCallOutcome::FirstRunMethodNotFound: return "first-run-method-not-found";
        case MainCallOutcome::ArgumentArrayFailed: return "argument-array-failed";
        case MainCallOutcome::ArgumentStringFailed: return "argument-string-failed";
    }
    return "?";
}

struct Launch {
    std::vector<std::string> options;
    const char* bootstrapClass = "com/zelkor/runtime/WinLauncher";
    std::vector<std::u16string> userArguments;
    bool firstRunHook = false;
};

class JniStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string_view(REALJVM_BOOTSTRAP_CLASS_PATH).empty())
            GTEST_SKIP() << "no JDK at configure time: the bootstrap jar and the test classes were not built";
        libJvm_ = findLibJvm();
        if (!libJvm_) GTEST_SKIP() << "no libjvm.so in $JAVA_HOME/lib/server or /usr/lib/jvm/java-17-openjdk-amd64";
    }

    // The launcher's path from the options to the outcome, in a child.
    IsolatedRun run(Launch launch) const {
        launch.options.insert(launch.options.begin(), {"-Xmx64m", "-XX:TieredStopAtLevel=1", "-XX:+UseSerialGC"});
        launch.options.push_back(std::string("-Djava.class.path=") + REALJVM_BOOTSTRAP_CLASS_PATH);
        BootstrapFacts facts;
        facts.guiLauncher = true;
        facts.mainClass = u"WinLauncher";
        std::vector<std::u16string> launcherArguments{u"C:\\App\\tool.exe"};
        launcherArguments.insert(launcherArguments.end(), launch.userArguments.begin(), launch.userArguments.end());
        const std::vector<std::u16string> arguments = bootstrapArguments(facts, launcherArguments, false);

        return runIsolated(*libJvm_, [&](CreateJavaVmFunction createJavaVm, const ReportCheckpoint& checkpoint) {
            MainCallReport report;
            report.createEntered = true;
            checkpoint(report);
            JvmHandles jvm;
            const bool created =
                createJvm(reinterpret_cast<jni::CreateJavaVmFunction>(createJavaVm), launch.options, jvm);
            report.createResult = created ? JNI_OK : JNI_ERR;
            checkpoint(report);
            if (!created) return report;
            MainCall call;
            call.className = launch.bootstrapClass;
            call.arguments = &arguments;
            call.runFirstRunHook = launch.firstRunHook;
            const MainCallOutcome outcome = callMain(jvm.env, call);
            report.outcome = outcomeName(outcome);
            checkpoint(report);
            (*jvm.vm)->DestroyJavaVM(jvm.vm);
            return report;
        });
    }

private:
    std::optional<std::filesystem::path> libJvm_;
};

TEST_F(JniStartTest, UserArgumentsReachTheApplicationExactly) {
    for (const auto& [name, arguments] : exactArgumentGroups()) {
        SCOPED_TRACE(name);
        const IsolatedRun result = run({{}, "com/zelkor/runtime/WinLauncher", arguments});
        EXPECT_EQ(result.report.outcome, "returned") << describe(result);
        const BootstrapEcho echo = parseBootstrapEcho(result.standardOutput);
        EXPECT_TRUE(echo.wellFormed) << result.standardOutput;
        EXPECT_EQ(echo.arguments, arguments);
    }
}

TEST_F(JniStartTest, LauncherPropertiesAreSystemPropertiesOfTheApplication) {
    LauncherFacts facts;
    facts.semaphoreName = "Local\\c:_app_tool.exe0";
    facts.modulePath = "C:\\App\\tool.exe";
    facts.tempDir = "C:\\T\\zkr \xc3\xa9";  // narrow option text is UTF-8 in the child
    facts.unextractedPosition = -1;
    facts.consoleCodePage = 0;
    const IsolatedRun result = run({launcherProperties(facts), "com.zelkor.runtime.WinLauncher", {u"x"}});
    EXPECT_EQ(result.report.outcome, "returned") << describe(result);
    const BootstrapEcho echo = parseBootstrapEcho(result.standardOutput);
    const std::map<std::string, std::u16string> expected{
        {"java.class.path", utf16(REALJVM_BOOTSTRAP_CLASS_PATH)},
        {"sun.java.command", u"C:\\App\\tool.exe"},
        {"zelkor.consoleCodepage", u"cp0"},
        {"zelkor.moduleName", u"C:\\App\\tool.exe"},
        {"zelkor.semaphoreName", u"Local\\c:_app_tool.exe0"},
        {"zelkor.tempDir", u"C:\\T\\zkr \u00e9"},
        {"zelkor.unextractedPosition", u"-1"},
    };
    EXPECT_EQ(echo.properties, expected) << result.standardOutput;
}

TEST_F(JniStartTest, FailuresOfTheBootstrapClassAndOfMainAreTheirOwnOutcomes) {
    const struct {
        const char* name;
        Launch launch;
        const char* outcome;
        const char* onErrorStream;
    } cases[] = {
        {"main throws", {{}, "com/zelkor/runtime/WinLauncher", {u"throw"}}, "exception", "IllegalStateException"},
        {"no bootstrap class", {{}, "com/zelkor/runtime/Missing", {}}, "class-not-found", ""},
        {"no static main", {{}, "java/lang/Object", {}}, "method-not-found", ""},
        {"unknown option ignored", {{"-XXunknownLauncherOption"}, "com/zelkor/runtime/WinLauncher", {}}, "returned", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IsolatedRun result = run(c.launch);
        EXPECT_TRUE(result.exited && result.exitCode == 0) << describe(result);
        EXPECT_EQ(result.report.outcome, c.outcome) << describe(result);
        EXPECT_NE(result.standardError.find(c.onErrorStream), std::string::npos) << describe(result);
    }
}

TEST_F(JniStartTest, FirstRunHookDecidesWhetherMainRuns) {
    const struct {
        const char* answer;
        const char* outcome;
        bool mainRan;
    } cases[] = {
        {"true", "returned", true},
        {"false", "stopped-by-first-run", false},
        // A hook that fails is a failed launch, not a quiet success.
        {"throw", "exception", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Launch launch{{std::string("-Dfirstrun.answer=") + c.answer}, "com/brantel/runtime/launcher/WinLauncher",
                      {u"ran"}, true};
        const IsolatedRun result = run(launch);
        EXPECT_EQ(result.report.outcome, c.outcome) << describe(result);
        EXPECT_NE(result.standardOutput.find(std::string("firstRun ") + c.answer), std::string::npos)
            << describe(result);
        EXPECT_EQ(parseBootstrapEcho(result.standardOutput).arguments.size() == 1, c.mainRan) << describe(result);
    }
}

}  // namespace
