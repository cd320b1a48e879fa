#pragma once

#include <cstdint>

// Showing errors to the user and ending the launcher.

// Messages go to standard error instead of a message box once setQuiet
// (core/LauncherState.h) was called.

// Shows `text`, followed by the log file's path when a log is active, after
// the before-error actions (a splash screen must not cover the message).
void showError(const char* text);

// Shows the configured message of `messageKey` with its first "{0}" replaced
// by `detail` (when given).
void showConfiguredError(int32_t messageKey, const char* detail);

// Runs the exit actions (the temporary directory registers its removal there)
// and ends the process with `exitCode`.
[[noreturn]] void exitLauncher(int exitCode);

[[noreturn]] void fatalError(const char* text);
[[noreturn]] void fatalConfiguredError(int32_t messageKey, const char* detail);
