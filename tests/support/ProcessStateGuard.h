#pragma once

#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/win/SystemCalls.h"
#include "diag/ExitActions.h"
#include "files/TempDirectory.h"

// Puts back, when it ends, the process-wide state that tests of the Windows
// edge change: the system-call table (first, so the clean-up itself runs on
// the real calls), a temporary directory a test made, the registered exit
// actions, the launcher state and the configuration store. A fixture holds
// one as a member, so it ends after TearDown whatever the test did.
class ProcessStateGuard {
public:
    ProcessStateGuard() = default;
    ~ProcessStateGuard() {
        systemCalls() = realSystemCalls();
        removeTempDirectory();
        clearExitActions();
        resetLauncherState();
        clearConfigStore();
    }
    ProcessStateGuard(const ProcessStateGuard&) = delete;
    ProcessStateGuard& operator=(const ProcessStateGuard&) = delete;
};
