#pragma once

#include "core/WinApi.h"

// Gives a service that -install just created the optional settings of the
// configuration: its description, its failure actions and, for the automatic
// start type, the delayed start. The service runs without them, so a setting
// the system refuses does not undo the install: it is named on standard
// output with the system's error code.
void applyInstalledServiceSettings(SC_HANDLE service, DWORD startType);
