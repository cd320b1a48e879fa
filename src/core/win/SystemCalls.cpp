#include "core/win/SystemCalls.h"

SystemCalls realSystemCalls() {
    return SystemCalls{
        ::CreateFileA,      ::ReadFile,         ::WriteFile,           ::CreateDirectoryA,
        ::RemoveDirectoryA, ::DeleteFileA,      ::GetTempPathA,        ::GetTempFileNameA,
        ::RegOpenKeyExA,    ::RegCreateKeyExA,  ::RegQueryValueExA,    ::RegSetValueExA,
        ::RegEnumKeyExA,    ::CreateProcessA,   ::WaitForSingleObject, ::GetExitCodeProcess,
        ::GetShortPathNameA,
        ::ExitProcess,
    };
}

SystemCalls& systemCalls() {
    // Filled on first use, which is on the main thread during start-up.
    static SystemCalls calls = realSystemCalls();
    return calls;
}
