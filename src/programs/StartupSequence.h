#pragma once

#include <string>
#include <vector>

// The spine of both launchers: the order in which one process start runs
// everything else, and the exit code of each way out.

// Loads the configuration, applies the log switch (GUI launcher: element 1 of
// `arguments`) and changes the working directory. The service launcher passes
// no argument list.
void earlyInitialisation(std::vector<std::u16string>* arguments);

// The process command line split into words, the program word first.
std::vector<std::u16string> splitOwnCommandLine();

// The GUI launcher's WinMain, from its ANSI command tail and show command.
int runGuiLauncher(const char* commandTail, int showCommand);

// The service launcher's entry point, from its ANSI command tail.
int runServiceLauncher(const char* commandTail);
