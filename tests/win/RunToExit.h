#pragma once

// Runs code that may end the launcher. The system-call table's exitProcess is
// swapped for one that ends only the thread running the code, so a test sees
// the exit code and looks at what was left behind. A test restores the table
// itself (realSystemCalls()).
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"

// The thread's exit code when the code returned instead of ending.
inline constexpr DWORD kBodyReturned = 0xB0D7;

inline void WINAPI exitThisThread(UINT code) { ::ExitThread(code); }

inline DWORD WINAPI runBodyOnThread(void* body) {
    reinterpret_cast<void (*)()>(body)();
    return kBodyReturned;
}

// The exit code that `body` ended with, or kBodyReturned.
inline DWORD runToExit(void (*body)()) {
    systemCalls().exitProcess = exitThisThread;
    KernelHandle thread(::CreateThread(nullptr, 0, runBodyOnThread, reinterpret_cast<void*>(body), 0, nullptr));
    if (!thread) return 0;
    ::WaitForSingleObject(thread.get(), INFINITE);
    DWORD code = 0;
    ::GetExitCodeThread(thread.get(), &code);
    return code;
}
