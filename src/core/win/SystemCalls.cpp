#include "core/win/SystemCalls.h"

SystemCalls realSystemCalls() {
    // Named, so that the table and this list cannot fall out of step.
    return SystemCalls{
        .createFile = ::CreateFileA,
        .readFile = ::ReadFile,
        .writeFile = ::WriteFile,
        .createDirectory = ::CreateDirectoryA,
        .removeDirectory = ::RemoveDirectoryA,
        .deleteFile = ::DeleteFileA,
        .getTempPath = ::GetTempPathA,
        .getTempFileName = ::GetTempFileNameA,
        .regOpenKey = ::RegOpenKeyExA,
        .regCreateKey = ::RegCreateKeyExA,
        .regQueryValue = ::RegQueryValueExA,
        .regSetValue = ::RegSetValueExA,
        .regEnumKey = ::RegEnumKeyExA,
        .createProcess = ::CreateProcessA,
        .waitForObject = ::WaitForSingleObject,
        .getExitCodeProcess = ::GetExitCodeProcess,
        .createMutex = ::CreateMutexA,
        .createSemaphore = ::CreateSemaphoreA,
        .getCommandLine = ::GetCommandLineW,
        .getShortPathName = ::GetShortPathNameA,
        .createProcessW = ::CreateProcessW,
        .createPipe = ::CreatePipe,
        .createThread = ::CreateThread,
        .registerServiceCtrlHandler = ::RegisterServiceCtrlHandlerA,
        .setServiceStatus = ::SetServiceStatus,
        .changeServiceConfig2 = ::ChangeServiceConfig2W,
        .exitProcess = ::ExitProcess,
    };
}

SystemCalls& systemCalls() {
    // Filled on first use, which is on the main thread while the configuration
    // loads: no guard protects it (-fno-threadsafe-statics), and the service
    // main's thread uses it too (runServiceDispatcher makes sure it exists).
    static SystemCalls calls = realSystemCalls();
    return calls;
}
