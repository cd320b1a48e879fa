// Entry point of the GUI launcher (GUI subsystem).
#include "core/WinApi.h"
#include "programs/StartupSequence.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int showCommand) {
    // Only the GUI launcher shows windows of its own; the service launcher
    // stays clear of the common controls, whose loading alone costs every
    // service command a desktop process under some systems.
    ::InitCommonControls();
    return runGuiLauncher(commandTail, showCommand);
}
