#include "diag/ErrorReport.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/WinApi.h"
#include "diag/ErrorText.h"
#include "diag/LogControl.h"
#include "files/TempDirectory.h"
#include "launch/Splash.h"

#include <cstdio>
#include <string>

namespace {

bool dialogsEnabled = true;

// The long form of the log path, for the "Log: " line of every message.
std::string longLogPath(const char* path) {
    char longPath[8192];
    const DWORD length = ::GetLongPathNameA(path, longPath, sizeof longPath);
    return length > 0 && length < sizeof longPath ? std::string(longPath, length) : std::string(path);
}

}  // namespace

void setQuiet() { dialogsEnabled = false; }

bool errorDialogsEnabled() { return dialogsEnabled; }

void showError(const char* text) {
    // A splash screen must not cover the message.
    splashScreen(false);
    const char* path = logFilePath();
    const std::string logPath = path != nullptr ? longLogPath(path) : std::string();
    const std::string message = composeErrorMessage(text, path != nullptr ? logPath.c_str() : nullptr);
    if (dialogsEnabled) {
        char caption[8192];
        configString(config::kMessageErrorCaption, caption, sizeof caption);
        ::MessageBoxA(nullptr, message.c_str(), caption, MB_ICONERROR);
    } else {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
    }
}

void showConfiguredError(int32_t messageKey, const char* detail) {
    char text[8192];
    configString(messageKey, text, sizeof text);
    showError(fillPlaceholder(text, detail).c_str());
}

void exitLauncher(int exitCode) {
    removeTempDirectory();
    ::ExitProcess(static_cast<UINT>(exitCode));
}

void fatalError(const char* text) {
    showError(text);
    exitLauncher(1);
}

void fatalConfiguredError(int32_t messageKey, const char* detail) {
    showConfiguredError(messageKey, detail);
    exitLauncher(1);
}
