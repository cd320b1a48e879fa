#pragma once

#include <string>

// Single-instance control. Every launcher process registers under a named
// semaphore derived from its own executable's path: in numbered mode each
// takes a number of its own; in single-instance mode a second start brings
// the first instance's windows to the front, hands its arguments over through
// the first instance's communication file and ends with code 0.

// With `claim`, this process takes its instance number; with `notify`, a
// second instance hands its arguments to the first. Returns when this process
// may go on.
void checkSingleInstance(bool claim, bool notify);

// The instance semaphore's name once checkSingleInstance has run (the
// numbered name in numbered mode), otherwise null.
const char* instanceSemaphoreName();

// Whether someone still holds the semaphore `name`: when it can be created
// anew, its owner has ended.
bool instanceAlive(const std::string& name);

// Brings the visible top-level windows of process `processId` to the front,
// restoring minimised ones when `restore`.
void activateProcessWindows(unsigned long processId, bool restore);

// The process id of the first instance of the executable whose lower-cased
// full path is `loweredExePath`, kept in the user's registry. Reading gives 0
// when the value is absent, unreadable or not 4 bytes long.
void storeInstancePid(const std::string& loweredExePath, unsigned long processId);
unsigned long readInstancePid(const std::string& loweredExePath);
