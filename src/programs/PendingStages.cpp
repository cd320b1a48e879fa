// Stages of the start-up sequence that are not built yet. Each keeps its place
// in the sequence and says plainly what it does not do; none pretends to have
// found, loaded or started Java. A stage moves out of this file into its own
// module when it is built.
#include "gui/ConsoleAndReboot.h"
#include "launch/Splash.h"
#include "service/ServiceCommands.h"

#include "diag/ErrorReport.h"
#include "diag/Log.h"

#include <cstdio>

namespace {

void reportNotBuilt(const char* stage) {
    logMessage("%s: not built yet", stage);
}

}  // namespace

// No splash screen is ever shown yet, so there is nothing to close either.
void splashScreen(bool) {}

bool attachConsole() {
    reportNotBuilt("console attachment");
    return false;
}

void rebootSystem() { std::fputs("reboot request: not built yet; the machine was not rebooted\n", stderr); }

int runServiceDispatcher() {
    reportNotBuilt("service dispatcher");
    showError("This launcher cannot run as a service yet; no Java application was started.");
    return 1;
}

void registerConsoleEventHandler() { reportNotBuilt("console control handler"); }
