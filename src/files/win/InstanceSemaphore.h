#pragma once

#include "core/WinApi.h"

#include <string>

// The named semaphores the instances of one launcher meet at.

// Creates (or opens) `name`; `error` is the last error, cleared first so that
// a newly created semaphore reports 0.
HANDLE createInstanceSemaphore(const std::string& name, DWORD& error);

// Access denied means the name exists and belongs to someone we may not
// open: another user's or a more privileged instance.
bool semaphoreExisted(HANDLE semaphore, DWORD error);

void logSemaphore(const std::string& name, DWORD error, HANDLE semaphore);
