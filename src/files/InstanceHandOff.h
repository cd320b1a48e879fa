#pragma once

#include "files/SingleInstance.h"

#include <string>

// How a second instance hands its command line to the first one: through the
// first instance's communication file, one second instance at a time.

enum class HandOffOutcome {
    Done,           // handed over, or the first instance has gone meanwhile
    NotCreated,     // the communication file could not be created
    NotWritten,     // it could not be written
};

// Brings the windows of the first instance to the front (once its process id
// is known); supplied by the caller, since windows are no business of files.
using ActivateInstance = void (*)(unsigned long processId);

// Hands this process's command line to the first instance of `check`. The
// notification semaphore is released before returning, also on failure: an
// error message may stay up long, and every later second instance waits.
HandOffOutcome handOffArguments(const InstanceCheck& check, ActivateInstance activate);

// Whether someone still holds the semaphore `name`: when it can be created
// anew, its owner has ended.
bool instanceAlive(const std::string& name);
