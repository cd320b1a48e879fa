#pragma once

#include <string>

// The process id of the first instance of the executable whose lower-cased
// full path is `loweredExePath`, kept in the user's registry. Reading gives 0
// when the value is absent, unreadable or not 4 bytes long.
void storeInstancePid(const std::string& loweredExePath, unsigned long processId);
unsigned long readInstancePid(const std::string& loweredExePath);
