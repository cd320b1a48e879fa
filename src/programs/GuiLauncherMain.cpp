// Entry point of the GUI launcher (GUI subsystem).
#include "core/WinApi.h"
#include "programs/StartupSequence.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int showCommand) {
    return runGuiLauncher(commandTail, showCommand);
}
