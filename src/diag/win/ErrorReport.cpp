#include "diag/ErrorReport.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32Text.h"
#include "diag/ErrorText.h"
#include "diag/ExitActions.h"
#include "diag/LogControl.h"

#include <cstdio>
#include <string>

namespace {

// The long form of the log path, for the "Log: " line of every message.
std::string longLogPath(const char* path) {
    return boundedTextOr([path](char* buffer, DWORD capacity) { return ::GetLongPathNameA(path, buffer, capacity); },
                         path);
}

}  // namespace

void showError(const char* text) {
    runBeforeErrorActions();
    const char* path = logFilePath();
    const std::string logPath = path != nullptr ? longLogPath(path) : std::string();
    const std::string message = composeErrorMessage(text, path != nullptr ? logPath.c_str() : nullptr);
    if (!quiet()) {
        char caption[kBufferCapacity];
        configString(config::kMessageErrorCaption, caption, sizeof caption);
        ::MessageBoxA(nullptr, message.c_str(), caption, MB_ICONERROR);
    } else {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
    }
}

void showConfiguredError(int32_t messageKey, const char* detail) {
    char text[kBufferCapacity];
    configString(messageKey, text, sizeof text);
    showError(fillPlaceholder(text, detail).c_str());
}

void exitLauncher(int exitCode) {
    runExitActions();
    systemCalls().exitProcess(static_cast<UINT>(exitCode));
    // A test's replacement of exitProcess ends only its own thread.
    __builtin_unreachable();
}

void fatalError(const char* text) {
    showError(text);
    exitLauncher(1);
}

void fatalConfiguredError(int32_t messageKey, const char* detail) {
    showConfiguredError(messageKey, detail);
    exitLauncher(1);
}
