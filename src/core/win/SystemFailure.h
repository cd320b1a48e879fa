#pragma once

#include "core/WinApi.h"
#include "log/Log.h"

// A failed Win32 call logged in one statement: the last error is read before
// anything else can overwrite it, then logged as the last argument of
// `format` (after the subject: the path, name or step the call was about),
// and returned for the caller's decision.
template <typename... Subject>
DWORD logSystemFailure(const char* format, Subject... subject) {
    const DWORD error = ::GetLastError();
    logMessage(format, subject..., error);
    return error;
}

// The same as an "ERROR: " line.
template <typename... Subject>
DWORD logSystemError(const char* format, Subject... subject) {
    const DWORD error = ::GetLastError();
    logError(format, subject..., error);
    return error;
}
