#include "files/InstanceHandOff.h"

#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32Text.h"
#include "core/win/SystemFailure.h"
#include "files/InstanceNames.h"
#include "files/InstancePid.h"
#include "files/PathUtilities.h"
#include "files/TempDirectory.h"
#include "files/win/InstanceSemaphore.h"
#include "log/Log.h"

namespace {

constexpr DWORD kPollMs = 50;
constexpr int kPolls = 200;  // 10 seconds
// Second instances queue here one at a time; one that is stuck (or a first
// instance that never consumes) must not hold up every later start for ever.
constexpr DWORD kNotificationWaitMs = 30000;

// Waits while `path` exists, at most kPolls polls, asking every fifth poll
// whether the first instance (holding `semaphoreName`) still runs. False
// when it has gone.
bool waitWhileExists(const std::string& path, const std::string& semaphoreName) {
    for (int poll = 0; poll < kPolls && pathExists(path); ++poll) {
        if (poll % 5 == 0 && !instanceAlive(semaphoreName)) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

HandOffOutcome writeCommFile(const std::string& commFile) {
    FileHandle file(systemCalls().createFile(commFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        logSystemFailure("CreateFile failed %d");
        return HandOffOutcome::NotCreated;
    }
    const std::string text = communicationFileBytes(asUtf16(systemCalls().getCommandLine()));
    DWORD written = 0;
    if (!systemCalls().writeFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size()) {
        logSystemError("WriteFile failed %d");
        return HandOffOutcome::NotWritten;
    }
    return HandOffOutcome::Done;
}

}  // namespace

HandOffOutcome handOffArguments(const InstanceCheck& check, ActivateInstance activate) {
    unsigned long otherPid = check.firstInstancePid;
    std::string commFile = makeCommFileName(otherPid);
    logMessage("notification via %s", commFile.c_str());

    DWORD error = 0;
    KernelHandle notification(createInstanceSemaphore(notificationSemaphoreName(check.semaphoreName), error));
    if (!notification) logMessage("semaphore creation failed %d", static_cast<int>(error));
    logMessage("waiting for notification semaphore");
    const DWORD waited = systemCalls().waitForObject(notification.get(), kNotificationWaitMs);
    logMessage("wait returned %d", static_cast<int>(waited));
    const bool held = waited == WAIT_OBJECT_0;
    if (!held) logMessage("going on without the notification semaphore");

    // A first instance that started a moment ago may not have stored its pid
    // when we read it.
    if (otherPid == 0 && (otherPid = readInstancePid(fullPath(executablePath(), false))) != 0) {
        logMessage("other pid %d", static_cast<int>(otherPid));
        activate(otherPid);
        commFile = makeCommFileName(otherPid);
        logMessage("notification via %s", commFile.c_str());
    }

    HandOffOutcome outcome = HandOffOutcome::Done;
    if (instanceAlive(check.semaphoreName) && waitWhileExists(commFile, check.semaphoreName)) {
        outcome = writeCommFile(commFile);
        if (outcome == HandOffOutcome::Done) {
            logMessage("waiting for file deletion");
            if (!waitWhileExists(commFile, check.semaphoreName)) systemCalls().deleteFile(commFile.c_str());
        }
    }
    if (held && !::ReleaseSemaphore(notification.get(), 1, nullptr) && outcome == HandOffOutcome::Done)
        logSystemFailure("release semaphore failed %d");
    return outcome;
}

bool instanceAlive(const std::string& name) {
    DWORD error = 0;
    KernelHandle semaphore(createInstanceSemaphore(name, error));
    if (!semaphore || error == ERROR_ALREADY_EXISTS) return true;
    // Created anew: whoever held it has ended.
    if (!::ReleaseSemaphore(semaphore.get(), 1, nullptr))
        logSystemFailure("release semaphore 2 failed %d");
    logMessage("main process already released semaphore.");
    return false;
}
