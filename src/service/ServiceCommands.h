#pragma once

// Runs the service command that the command tail names (install, uninstall,
// start, stop, status, restart) and sets the process exit code; false when the tail
// names no command.
bool runServiceCommand(const char* commandTail, int& exitCode);

// Hands the process to the service control dispatcher; returns the exit code.
int runServiceDispatcher();

// Registers the service child's handler for console control events.
void registerConsoleEventHandler();
