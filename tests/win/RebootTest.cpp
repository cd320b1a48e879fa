// The reboot request under Wine with the machine's reboot itself recorded
// instead of made: it happens only when the shutdown privilege was granted.
#include "gui/ConsoleAndReboot.h"
#include "gui/win/RebootCalls.h"

#include <gtest/gtest.h>

namespace {

int reboots = 0;
UINT rebootFlags = 0;

BOOL WINAPI recordReboot(UINT flags, DWORD) {
    ++reboots;
    rebootFlags = flags;
    return TRUE;
}

// What AdjustTokenPrivileges does for a user without the privilege: it
// succeeds and says so only through the last error.
BOOL WINAPI grantNothing(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    ::SetLastError(ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}

TEST(RebootTest, RebootsOnlyWhenTheShutdownPrivilegeWasGranted) {
    rebootCalls().exitWindows = recordReboot;
    rebootSystem(0);
    EXPECT_EQ(reboots, 1);
    EXPECT_EQ(rebootFlags, static_cast<UINT>(EWX_REBOOT));

    rebootCalls().adjustTokenPrivileges = grantNothing;
    rebootSystem(0);
    EXPECT_EQ(reboots, 1);
    rebootCalls() = RebootCalls{};
}

}  // namespace
