// Stages of the start-up sequence that are not built yet. Each keeps its place
// in the sequence and says plainly what it does not do; none pretends to have
// found, loaded or started Java. A stage moves out of this file into its own
// module when it is built.
#include "gui/ConsoleAndReboot.h"
#include "launch/JavaVMLauncher.h"
#include "launch/NativeLibraryPath.h"
#include "launch/Splash.h"
#include "service/ServiceCommands.h"

#include "diag/ErrorReport.h"
#include "diag/Log.h"

#include <cstdio>

namespace {

// A Java runtime was found and bound, but nothing starts it yet.
constexpr int kExitJvmStartNotBuilt = 86;

void reportNotBuilt(const char* stage) {
    logMessage("%s: not built yet", stage);
}

}  // namespace

// No splash screen is ever shown yet, so there is nothing to close either.
void splashScreen(bool) {}

void setNativeLibraryPath() { reportNotBuilt("native library path"); }

bool launchProgram(bool) {
    reportNotBuilt("JVM launch");
    showError("This launcher found and loaded a Java runtime but cannot start the JVM yet; "
              "no Java application was started.");
    exitLauncher(kExitJvmStartNotBuilt);
}

bool attachConsole() {
    reportNotBuilt("console attachment");
    return false;
}

void rebootSystem() { std::fputs("reboot request: not built yet; the machine was not rebooted\n", stderr); }

bool runServiceCommand(const char*, int&) { return false; }

int runServiceDispatcher() {
    reportNotBuilt("service dispatcher");
    showError("This launcher cannot run as a service yet; no Java application was started.");
    return 1;
}

void registerConsoleEventHandler() { reportNotBuilt("console control handler"); }
