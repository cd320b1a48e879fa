#include "gui/WindowActivation.h"

#include "core/WinApi.h"
#include "log/Log.h"

#include <utility>

namespace {

BOOL CALLBACK activateWindow(HWND window, LPARAM context) {
    const auto* target = reinterpret_cast<const std::pair<DWORD, bool>*>(context);
    DWORD owner = 0;
    if (!::IsWindowVisible(window) || (::GetWindowThreadProcessId(window, &owner), owner != target->first))
        return TRUE;
    logMessage("found window %p", static_cast<void*>(window));
    if (target->second && ::IsIconic(window)) {
        logMessage("restore");
        ::ShowWindow(window, SW_RESTORE);
    }
    logMessage("foreground");
    ::SetForegroundWindow(window);
    logMessage("popup");
    ::SetForegroundWindow(::GetLastActivePopup(window));
    logMessage("done");
    return TRUE;
}

}  // namespace

void activateProcessWindows(unsigned long processId, bool restore) {
    std::pair<DWORD, bool> target(processId, restore);
    ::EnumWindows(activateWindow, reinterpret_cast<LPARAM>(&target));
}
