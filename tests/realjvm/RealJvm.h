#pragma once

// Runs the JNI start and main call against the host's real JVM.
//
// A JVM can be created only once per process, and a failed creation cannot be
// retried either, so every run happens in a forked child: the test process
// never loads the JVM itself, and each case starts from a clean process. The
// child's standard output and error go to memory files that the parent reads
// once the child has ended; its progress comes back as a report written after
// every step, so a child that dies or ends the process from inside main still
// tells how far it got.

#include "support/BootstrapEcho.h"

#include <jni.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace realjvm {

using CreateJavaVmFunction = jint(JNICALL*)(JavaVM**, void**, void*);

// What the launcher's JNI start is given: the narrow JVM options in order, the
// bootstrap class in JNI form ("pkg/Name") and the UTF-16 arguments of main.
struct MainCallRequest {
    std::vector<std::string> vmOptions;
    std::string className;
    std::vector<std::u16string> arguments;
};

// How far a run got. Fields stay at their defaults for steps not reached.
struct MainCallReport {
    bool createEntered = false;        // JNI_CreateJavaVM was called
    std::optional<jint> createResult;  // ... and returned this
    bool classFound = false;
    bool mainFound = false;
    bool mainEntered = false;   // CallStaticVoidMethod was called
    bool mainReturned = false;  // ... and control came back from it
    std::string uncaughtException;  // class name when main ended with an exception
    std::string outcome;            // the launcher's own verdict, one word, when it ran the start
};

// Called after every step with the report so far.
using ReportCheckpoint = std::function<void(const MainCallReport&)>;

// The reference sequence: create the JVM (JNI_VERSION_1_2, ignoreUnrecognized),
// find the class and its static main(String[]), pass the arguments as exact
// UTF-16 strings, call main, describe an uncaught exception, destroy the JVM.
// Creates a JVM, so it may run once per process: use it inside runIsolated.
MainCallReport startAndCallMain(CreateJavaVmFunction createJavaVm, const MainCallRequest& request,
                                const ReportCheckpoint& checkpoint);

// The libjvm.so to use: $JAVA_HOME/lib/server/libjvm.so when it exists,
// otherwise the Debian OpenJDK 17 one; nothing when neither exists.
std::optional<std::filesystem::path> findLibJvm();

struct IsolatedRun {
    MainCallReport report;     // the last checkpoint the child wrote
    bool exited = false;       // the child ended through exit, not a signal
    int exitCode = -1;         // 0 once the body returned
    int signal = 0;            // the signal that ended the child, or 0
    bool timedOut = false;     // killed at the deadline
    std::string standardOutput;
    std::string standardError;
};

// A child's run as a failed expectation shows it: how it ended, the launcher's
// verdict when it gave one, and both output streams.
std::string describe(const IsolatedRun& run);

// The code under test: runs in the child with JNI_CreateJavaVM bound from the
// library, calls the checkpoint as it goes and returns the final report.
using IsolatedBody = std::function<MainCallReport(CreateJavaVmFunction, const ReportCheckpoint&)>;

// Forks, binds JNI_CreateJavaVM from `libJvm` in the child, runs `body` there
// and waits for the child, killing it at `timeout`. In the child the C locale
// comes from C.UTF-8, so the JVM reads narrow option text as UTF-8.
IsolatedRun runIsolated(const std::filesystem::path& libJvm, const IsolatedBody& body,
                        std::chrono::seconds timeout = std::chrono::seconds(60));

// runIsolated with startAndCallMain.
IsolatedRun runMainInChild(const std::filesystem::path& libJvm, const MainCallRequest& request);

// UTF-8 to UTF-16 for building expectations; the text must be valid UTF-8.
std::u16string utf16(std::string_view utf8);

}  // namespace realjvm
