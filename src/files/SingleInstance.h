#pragma once

#include <string>

// Single-instance control. Every launcher process registers under a named
// semaphore derived from its own executable's path: in numbered mode each
// takes a number of its own; in single-instance mode a second start finds the
// first instance and hands its arguments over (InstanceHandOff.h).

struct InstanceCheck {
    // The semaphore this process registered under, as the Java side sees it:
    // the numbered name in numbered mode, the base name in single-instance mode.
    std::string semaphoreName;
    // Single-instance mode only: another instance of this launcher runs.
    bool secondInstance = false;
    // The first instance's process id when it stored one (0 otherwise).
    unsigned long firstInstancePid = 0;
};

// Registers this process. The semaphore handle stays open for the life of
// the process: the system closes it at the end, and that is how other
// instances learn that this one has gone.
InstanceCheck checkSingleInstance();
