// Attaching the GUI launcher to a console, for "-console" and "-c".
#include "gui/ConsoleAndReboot.h"

#include "core/WinApi.h"
#include "core/win/ModuleFunction.h"

#include <cstdio>
#include <io.h>

namespace {

using AttachConsoleFunction = BOOL(WINAPI*)(DWORD processId);

// A GUI program's C runtime streams have no system handle behind them unless
// the starter redirected them, and attaching a console later does not change
// that: quiet-mode messages written to stderr would vanish. Such a stream is
// opened on the console; a redirected one stays where it goes.
void connectToConsole(FILE* stream) {
    const intptr_t handle = ::_get_osfhandle(::_fileno(stream));
    if (handle == -1 || handle == -2 || handle == 0) std::freopen("CONOUT$", "w", stream);
}

bool attachOrAllocate() {
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const auto attach =
        kernel ? moduleFunction<AttachConsoleFunction>(kernel, "AttachConsole") : nullptr;
    if (attach != nullptr) {
        if (attach(ATTACH_PARENT_PROCESS)) return true;
        // Denied: the process has a console already.
        if (::GetLastError() == ERROR_ACCESS_DENIED) return true;
    }
    return ::AllocConsole() != FALSE;
}

}  // namespace

bool attachConsole() {
    if (!attachOrAllocate()) return false;
    connectToConsole(stdout);
    connectToConsole(stderr);
    return true;
}
