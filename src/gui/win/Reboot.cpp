// The reboot the Java side asks for with "__btl_reboot".
#include "gui/ConsoleAndReboot.h"

#include "core/WinApi.h"
#include "core/win/Handles.h"
#include "gui/win/RebootCalls.h"

// The GUI launcher's main thread is the only one that reboots, so the table
// needs no guard (-fno-threadsafe-statics).
RebootCalls& rebootCalls() {
    static RebootCalls calls;
    return calls;
}

void rebootSystem(unsigned long delayMs) {
    // Time for the process that asked for the reboot to end.
    ::Sleep(delayMs);
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    const KernelHandle ownedToken(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
    rebootCalls().adjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // The call succeeds even when it granted nothing; only the last error
    // tells (ERROR_NOT_ALL_ASSIGNED).
    if (::GetLastError() != ERROR_SUCCESS) return;
    rebootCalls().exitWindows(EWX_REBOOT, 0);
}
