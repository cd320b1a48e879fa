// Entry point of the service launcher. It is a console program, but its entry
// takes the same ANSI command tail that WinMain would receive.
#include "core/WinApi.h"
#include "text/CommandLine.h"
#include "programs/StartupSequence.h"

#include <string>

int main() {
    const std::string tail(commandTail(::GetCommandLineA()));
    return runServiceLauncher(tail.c_str());
}
