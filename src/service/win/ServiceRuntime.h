#pragma once

#include "core/WinApi.h"

// The service process's parts below the service main, for tests that run them
// without the service control manager (through the system-call table).

// Everything the service main does until its child has ended: true when the
// process is to end now, false when the service main returns early (no
// control handler, or no child started).
bool superviseService(DWORD argc, char** argv);

void WINAPI serviceControlHandler(DWORD control);
