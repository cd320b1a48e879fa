#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Loads the launcher's configuration from the payload of its own executable:
// every failure ends the launcher with its "Internal Error: ..." message. The
// locale is detected from `arguments` (absent in the service launcher).
// Returns the launcher kind; every kind but 1 and 5 reports errors on
// standard error from then on.
int loadConfiguration(const std::vector<std::u16string>* arguments);

// File position of the first embedded file, known once the configuration is loaded.
uint32_t extractionStart();

// Key 107: 1 GUI launcher, 4 service launcher, 5 a further kind with dialogs.
int launcherKind();
