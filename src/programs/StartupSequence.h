#pragma once

#include "files/Extraction.h"
#include "files/SingleInstance.h"
#include "jvm/BoundRuntime.h"
#include "programs/FailurePolicy.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The spine of both launchers: the order in which one process start runs
// everything else, and the exit code of each way out. Each step returns what
// it produced; only this layer hands it on to the next step.

// Loads the configuration, applies the log switch (GUI launcher: element 1 of
// `arguments`) and changes the working directory. The service launcher passes
// no argument list. Returns the payload position of the first embedded file.
uint32_t earlyInitialisation(std::vector<std::u16string>* arguments);

// The process command line split into words, the program word first.
std::vector<std::u16string> splitOwnCommandLine();

// Shows the report's message, if it has one, and ends the launcher with its code.
[[noreturn]] void endWith(const FailureReport& report);

// The steps both launchers share; each ends the launcher when it fails.
Extraction extractOrEnd(uint32_t extractionStart);
BoundRuntime bindRuntimeOrEnd(LauncherProgram program);
// Registers this instance; a second instance (single-instance mode) brings the
// first one's windows to the front, runs `beforeEnding` when given (the GUI
// launcher hands its arguments over there) and ends with 0.
using SecondInstanceStep = void (*)(const InstanceCheck& check);
InstanceCheck checkInstanceOrEnd(SecondInstanceStep beforeEnding);
void activateFirstInstance(unsigned long processId);
// `semaphoreName` is empty when no instance check ran.
void launchOrEnd(const BoundRuntime& runtime, const Extraction& extraction, std::string_view semaphoreName,
                 LauncherProgram program);

// The GUI launcher's WinMain, from its ANSI command tail and show command.
int runGuiLauncher(const char* commandTail, int showCommand);

// The service launcher's entry point, from its ANSI command tail.
int runServiceLauncher(const char* commandTail);
