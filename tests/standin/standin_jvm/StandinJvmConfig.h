#pragma once

// What a test asks of the stand-in jvm.dll, read from "standin-jvm.cfg" beside
// the DLL at every JNI_CreateJavaVM. Lines are key=value; blank lines and lines
// starting with '#' are skipped. An unknown key or a bad value makes
// JNI_CreateJavaVM fail with JNI_ERR and a config-error line, so a typo in a
// test never passes silently. Without the file every default holds.
//
//   create.result=<int>         JNI_CreateJavaVM returns this; non-zero leaves
//                               the JavaVM and JNIEnv outputs null (default 0)
//   main=<step>[,<step>...]     what the static method "main" does, in order
//                               (default: returns at once):
//       sleep                   sleeps main.sleep-ms
//       exit                    ends the process with main.exit-code
//       window                  creates a visible top-level window, titled
//                               main.window-title, which lives until the
//                               process ends
//       stdin                   reads standard input up to a line feed
//       instance-file           main.instance-count times: waits for the file
//                               main.instance-file, records and deletes it
//       priority                records the process's priority class
//       print                   writes main.print-bytes bytes to standard output
//   main.sleep-ms=<n>           default 0
//   main.exit-code=<n>          default 0
//   main.window-title=<text>    default "Stand-in JVM window"
//   main.instance-file=<path>   default: the value of the option
//                               -D<anything>.processCommFile=<path>
//   main.instance-count=<n>     default 1
//   main.print-bytes=<n>        default 0
//   main.wait-ms=<n>            how long stdin and instance-file wait (30000)
//   main.throws=true|false      after its steps main leaves a pending
//                               java/lang/RuntimeException (default false)
//   firstRun=true|false|throw   what a static boolean "firstRun" does
//                               (default true)
//   missing-methods=<a>[,<b>]   GetStaticMethodID finds no method of these names
//
// While main sleeps or waits, it dispatches the thread's window messages.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

enum class MainStep { Sleep, Exit, Window, StandardInput, InstanceFile, Priority, Print };
enum class FirstRunOutcome { ReturnTrue, ReturnFalse, Throw };

struct StandinJvmConfig {
    int32_t createResult = 0;
    std::vector<MainStep> mainSteps;
    uint32_t sleepMs = 0;
    uint32_t exitCode = 0;
    std::string windowTitle = "Stand-in JVM window";
    std::string instanceFile;
    uint32_t instanceCount = 1;
    uint32_t printBytes = 0;
    uint32_t waitMs = 30000;
    bool mainThrows = false;
    FirstRunOutcome firstRun = FirstRunOutcome::ReturnTrue;
    std::vector<std::string> missingMethods;
};

// Fills `config` from the file's text. On failure `config` is untouched and
// `badLine` holds the offending line.
bool parseStandinJvmConfig(std::string_view text, StandinJvmConfig& config, std::string& badLine);

}  // namespace standin
