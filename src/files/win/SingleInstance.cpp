#include "files/SingleInstance.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32Text.h"
#include "diag/ErrorReport.h"
#include "log/Log.h"
#include "files/InstanceNames.h"
#include "files/PathUtilities.h"
#include "files/TempDirectory.h"

namespace {

constexpr const char* kPidsKey = "SOFTWARE\\corvanta\\zelkor\\pids\\";
constexpr unsigned kLastInstanceNumber = 100000;
constexpr DWORD kPollMs = 50;
constexpr int kPolls = 200;  // 10 seconds
// Second instances queue here one at a time; one that is stuck (or a first
// instance that never consumes) must not hold up every later start for ever.
constexpr DWORD kNotificationWaitMs = 30000;

std::string semaphoreName;

// The last error is cleared first: a newly created semaphore reports 0.
HANDLE createSemaphore(const std::string& name, DWORD& error) {
    ::SetLastError(0);
    const HANDLE semaphore = systemCalls().createSemaphore(nullptr, 1, 1, name.c_str());
    error = ::GetLastError();
    return semaphore;
}

// Access denied means the name exists and belongs to someone we may not
// open: another user's or a more privileged instance.
bool semaphoreExisted(HANDLE semaphore, DWORD error) {
    return error == ERROR_ALREADY_EXISTS || (semaphore == nullptr && error == ERROR_ACCESS_DENIED);
}

void logSemaphore(const std::string& name, DWORD error, HANDLE semaphore) {
    logMessage("semaphore name %s, code %d, value %p", name.c_str(), static_cast<int>(error), semaphore);
}

// The handle stays open for the life of the process: the system closes it at
// the end, and that is how other instances learn that this one has gone.
void claimNumberedSemaphore(const std::string& base) {
    std::string name;
    HANDLE semaphore = nullptr;
    DWORD error = 0;
    for (unsigned number = 0;; ++number) {
        name = numberedSemaphoreName(base, number);
        semaphore = createSemaphore(name, error);
        if (!semaphoreExisted(semaphore, error) || number == kLastInstanceNumber) break;
        if (semaphore != nullptr) ::CloseHandle(semaphore);
    }
    logSemaphore(name, error, semaphore);
    semaphoreName = name;
}

// Waits while `path` exists, at most kPolls polls, asking every fifth poll
// whether the first instance still runs. False when it has gone.
bool waitWhileExists(const std::string& path) {
    for (int poll = 0; poll < kPolls && pathExists(path); ++poll) {
        if (poll % 5 == 0 && !instanceAlive(semaphoreName)) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

// The notification semaphore is released before the error is shown: a
// message box may stay up long, and every later second instance waits for it.
[[noreturn]] void failHandOff(HANDLE notification, bool held, const char* detail) {
    if (held) ::ReleaseSemaphore(notification, 1, nullptr);
    fatalConfiguredError(config::kMessageInternalError, detail);
}

void handOffArguments(const std::string& ownPath, unsigned long otherPid) {
    std::string commFile = makeCommFileName(otherPid);
    logMessage("notification via %s", commFile.c_str());

    DWORD error = 0;
    KernelHandle notification(createSemaphore(notificationSemaphoreName(semaphoreName), error));
    if (!notification) logMessage("semaphore creation failed %d", static_cast<int>(error));
    logMessage("waiting for notification semaphore");
    const DWORD waited = systemCalls().waitForObject(notification.get(), kNotificationWaitMs);
    logMessage("wait returned %d", static_cast<int>(waited));
    const bool held = waited == WAIT_OBJECT_0;
    if (!held) logMessage("going on without the notification semaphore");

    // A first instance that started a moment ago may not have stored its pid
    // when we read it.
    if (otherPid == 0 && (otherPid = readInstancePid(ownPath)) != 0) {
        logMessage("other pid %d", static_cast<int>(otherPid));
        activateProcessWindows(otherPid, true);
        commFile = makeCommFileName(otherPid);
        logMessage("notification via %s", commFile.c_str());
    }

    if (instanceAlive(semaphoreName) && waitWhileExists(commFile)) {
        FileHandle file(systemCalls().createFile(commFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            logMessage("CreateFile failed %d", static_cast<int>(::GetLastError()));
            failHandOff(notification.get(), held, "21");
        }
        const std::string text = communicationFileBytes(asUtf16(systemCalls().getCommandLine()));
        DWORD written = 0;
        if (!systemCalls().writeFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size()) {
            logError("WriteFile failed %d", static_cast<int>(::GetLastError()));
            failHandOff(notification.get(), held, "22");
        }
        file.reset();
        logMessage("waiting for file deletion");
        if (!waitWhileExists(commFile)) systemCalls().deleteFile(commFile.c_str());
    }
    if (held && !::ReleaseSemaphore(notification.get(), 1, nullptr))
        logMessage("release semaphore failed %d", static_cast<int>(::GetLastError()));
}

BOOL CALLBACK activateWindow(HWND window, LPARAM context) {
    const auto* target = reinterpret_cast<const std::pair<DWORD, bool>*>(context);
    DWORD owner = 0;
    if (!::IsWindowVisible(window) || (::GetWindowThreadProcessId(window, &owner), owner != target->first))
        return TRUE;
    logMessage("found window %p", static_cast<void*>(window));
    if (target->second && ::IsIconic(window)) {
        logMessage("restore");
        ::ShowWindow(window, SW_RESTORE);
    }
    logMessage("foreground");
    ::SetForegroundWindow(window);
    logMessage("popup");
    ::SetForegroundWindow(::GetLastActivePopup(window));
    logMessage("done");
    return TRUE;
}

}  // namespace

const char* instanceSemaphoreName() { return semaphoreName.empty() ? nullptr : semaphoreName.c_str(); }

void checkSingleInstance(bool claim, bool notify) {
    const std::string ownPath = fullPath(executablePath(), false);
    semaphoreName = instanceSemaphoreBase(configInt(config::kGlobalSingleInstance) != 0, ownPath);
    if (claim && configInt(config::kSingleInstance) == 0) {
        claimNumberedSemaphore(semaphoreName);
        return;
    }

    logMessage("single instance mode");
    DWORD error = 0;
    const HANDLE semaphore = createSemaphore(semaphoreName, error);
    logSemaphore(semaphoreName, error, semaphore);
    if (!semaphoreExisted(semaphore, error)) {
        // The first instance: the handle stays open for the life of the process.
        storeInstancePid(ownPath, ::GetCurrentProcessId());
        return;
    }
    if (semaphore != nullptr) ::CloseHandle(semaphore);
    const unsigned long otherPid = readInstancePid(ownPath);
    logMessage("other pid %d", static_cast<int>(otherPid));
    activateProcessWindows(otherPid, true);
    if (notify) handOffArguments(ownPath, otherPid);
    logMessage("exiting");
    exitLauncher(0);
}

bool instanceAlive(const std::string& name) {
    DWORD error = 0;
    KernelHandle semaphore(createSemaphore(name, error));
    if (!semaphore || error == ERROR_ALREADY_EXISTS) return true;
    // Created anew: whoever held it has ended.
    if (!::ReleaseSemaphore(semaphore.get(), 1, nullptr))
        logMessage("release semaphore 2 failed %d", static_cast<int>(::GetLastError()));
    logMessage("main process already released semaphore.");
    return false;
}

void activateProcessWindows(unsigned long processId, bool restore) {
    std::pair<DWORD, bool> target(processId, restore);
    ::EnumWindows(activateWindow, reinterpret_cast<LPARAM>(&target));
}

void storeInstancePid(const std::string& loweredExePath, unsigned long processId) {
    RegistryKey key;
    if (systemCalls().regCreateKey(HKEY_CURRENT_USER, kPidsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                                   nullptr) != ERROR_SUCCESS)
        return;
    const DWORD data = processId;
    systemCalls().regSetValue(key.get(), loweredExePath.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data);
}

unsigned long readInstancePid(const std::string& loweredExePath) {
    RegistryKey key;
    if (systemCalls().regOpenKey(HKEY_CURRENT_USER, kPidsKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (systemCalls().regQueryValue(key.get(), loweredExePath.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data),
                                    &size) != ERROR_SUCCESS ||
        size != sizeof data)
        return 0;
    return data;
}
