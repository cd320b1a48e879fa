#pragma once

#include "core/WinApi.h"

// The system calls behind the launcher's failure paths, called through one
// table so that tests can make any of them fail: a unit test swaps an entry,
// runs the code and restores the table. Everything else calls the system
// directly.
struct SystemCalls {
    // Files and directories.
    decltype(&::CreateFileA) createFile;
    decltype(&::ReadFile) readFile;
    decltype(&::WriteFile) writeFile;
    decltype(&::CreateDirectoryA) createDirectory;
    decltype(&::RemoveDirectoryA) removeDirectory;
    decltype(&::DeleteFileA) deleteFile;
    decltype(&::GetTempPathA) getTempPath;
    decltype(&::GetTempFileNameA) getTempFileName;

    // Registry.
    decltype(&::RegOpenKeyExA) regOpenKey;
    decltype(&::RegCreateKeyExA) regCreateKey;
    decltype(&::RegQueryValueExA) regQueryValue;
    decltype(&::RegSetValueExA) regSetValue;
    decltype(&::RegEnumKeyExA) regEnumKey;

    // Processes.
    decltype(&::CreateProcessA) createProcess;
    decltype(&::WaitForSingleObject) waitForObject;
    decltype(&::GetExitCodeProcess) getExitCodeProcess;
    decltype(&::CreateMutexA) createMutex;
    decltype(&::CreateSemaphoreA) createSemaphore;
    decltype(&::GetCommandLineW) getCommandLine;  // the arguments a second instance hands over
    decltype(&::GetShortPathNameA) getShortPathName;  // for a child's command line
    decltype(&::CreateProcessW) createProcessW;
    decltype(&::CreatePipe) createPipe;
    decltype(&::CreateThread) createThread;

    // The service control manager's side of a running service.
    decltype(&::RegisterServiceCtrlHandlerA) registerServiceCtrlHandler;
    decltype(&::SetServiceStatus) setServiceStatus;
    // An installed service's optional settings (description, failure actions,
    // delayed start).
    decltype(&::ChangeServiceConfig2W) changeServiceConfig2;

    // The end of the process. A replacement must not return either.
    decltype(&::ExitProcess) exitProcess;
};

// The table in use; it starts out with the real functions.
SystemCalls& systemCalls();

// The real functions, for restoring the table.
SystemCalls realSystemCalls();
