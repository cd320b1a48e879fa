#include "files/win/InstanceSemaphore.h"

#include "core/win/SystemCalls.h"
#include "log/Log.h"

HANDLE createInstanceSemaphore(const std::string& name, DWORD& error) {
    ::SetLastError(0);
    const HANDLE semaphore = systemCalls().createSemaphore(nullptr, 1, 1, name.c_str());
    error = ::GetLastError();
    return semaphore;
}

bool semaphoreExisted(HANDLE semaphore, DWORD error) {
    return error == ERROR_ALREADY_EXISTS || (semaphore == nullptr && error == ERROR_ACCESS_DENIED);
}

void logSemaphore(const std::string& name, DWORD error, HANDLE semaphore) {
    logMessage("semaphore name %s, code %d, value %p", name.c_str(), static_cast<int>(error), semaphore);
}
