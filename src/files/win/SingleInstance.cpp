#include "files/SingleInstance.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/ExecutablePath.h"
#include "files/InstanceNames.h"
#include "files/InstancePid.h"
#include "files/PathUtilities.h"
#include "files/win/InstanceSemaphore.h"
#include "log/Log.h"

namespace {

constexpr unsigned kLastInstanceNumber = 100000;

std::string claimNumberedSemaphore(const std::string& base) {
    std::string name;
    HANDLE semaphore = nullptr;
    DWORD error = 0;
    for (unsigned number = 0;; ++number) {
        name = numberedSemaphoreName(base, number);
        semaphore = createInstanceSemaphore(name, error);
        if (!semaphoreExisted(semaphore, error) || number == kLastInstanceNumber) break;
        if (semaphore != nullptr) ::CloseHandle(semaphore);
    }
    logSemaphore(name, error, semaphore);
    return name;
}

}  // namespace

InstanceCheck checkSingleInstance() {
    InstanceCheck check;
    const std::string ownPath = fullPath(executablePath(), false);
    const std::string base = instanceSemaphoreBase(configInt(config::kGlobalSingleInstance) != 0, ownPath);
    if (configInt(config::kSingleInstance) == 0) {
        check.semaphoreName = claimNumberedSemaphore(base);
        return check;
    }

    logMessage("single instance mode");
    check.semaphoreName = base;
    DWORD error = 0;
    const HANDLE semaphore = createInstanceSemaphore(base, error);
    logSemaphore(base, error, semaphore);
    if (!semaphoreExisted(semaphore, error)) {
        // The first instance.
        storeInstancePid(ownPath, ::GetCurrentProcessId());
        return check;
    }
    if (semaphore != nullptr) ::CloseHandle(semaphore);
    check.secondInstance = true;
    check.firstInstancePid = readInstancePid(ownPath);
    logMessage("other pid %d", static_cast<int>(check.firstInstancePid));
    return check;
}
