// The single-instance check and the hand-off in the test process: the test
// plays the running first instance (it holds the instance semaphore under the
// test program's own name) or leaves the name free.
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "diag/ExitActions.h"
#include "files/InstanceHandOff.h"
#include "files/InstanceNames.h"
#include "files/InstancePid.h"
#include "files/PathUtilities.h"
#include "files/SingleInstance.h"
#include "files/TempDirectory.h"
#include "support/ProcessStateGuard.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* kPidsKey = "SOFTWARE\\corvanta\\zelkor\\pids\\";

std::string ownPath() { return fullPath(executablePath(), false); }
std::string ownBase() { return instanceSemaphoreBase(false, ownPath()); }

void deletePidValue(const std::string& name) {
    RegistryKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPidsKey, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), name.c_str());
}

// Whether the notification semaphore is free: it can be taken at once.
bool notificationFree() {
    KernelHandle semaphore(::CreateSemaphoreA(nullptr, 1, 1, notificationSemaphoreName(ownBase()).c_str()));
    if (!semaphore || ::WaitForSingleObject(semaphore.get(), 0) != WAIT_OBJECT_0) return false;
    ::ReleaseSemaphore(semaphore.get(), 1, nullptr);
    return true;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setQuiet();
        storeNarrowValue(config::kSingleInstance, "1");
        storeInstancePid(ownPath(), ::GetCurrentProcessId());
        commFile_ = makeCommFileName(::GetCurrentProcessId());
        ::DeleteFileA(commFile_.c_str());
    }
    void TearDown() override {
        ::DeleteFileA(commFile_.c_str());
        deletePidValue(ownPath());
    }

    // The test as the running first instance.
    KernelHandle holdInstance() { return KernelHandle(::CreateSemaphoreA(nullptr, 1, 1, ownBase().c_str())); }

    ProcessStateGuard processState_;
    std::string commFile_;
};

TEST_F(SingleInstanceTest, PidValueRoundTripsAndOnlyFourBytesCount) {
    const std::string name = "z:\\single instance test\\" + std::to_string(::GetCurrentProcessId()) + "\\app.exe";
    EXPECT_EQ(readInstancePid(name), 0u);
    storeInstancePid(name, 4242);
    EXPECT_EQ(readInstancePid(name), 4242u);

    struct Case {
        DWORD type;
        std::string bytes;
        unsigned long pid;
    } cases[] = {
        {REG_BINARY, std::string("\x10\x00\x00\x00", 4), 16},
        {REG_BINARY, std::string("\x10\x00", 2), 0},
        {REG_QWORD, std::string("\x10\x00\x00\x00\x00\x00\x00\x00", 8), 0},
    };
    RegistryKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kPidsKey, 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    for (const Case& c : cases) {
        ::RegSetValueExA(key.get(), name.c_str(), 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                         static_cast<DWORD>(c.bytes.size()));
        EXPECT_EQ(readInstancePid(name), c.pid) << c.bytes.size() << " bytes";
    }
    deletePidValue(name);
}

TEST_F(SingleInstanceTest, InstanceIsAliveOnlyWhileItsOwnerHoldsTheSemaphore) {
    const std::string name = "Local\\zkr_alive_test_" + std::to_string(::GetCurrentProcessId());
    KernelHandle owner(::CreateSemaphoreA(nullptr, 1, 1, name.c_str()));
    ASSERT_TRUE(owner);
    EXPECT_TRUE(instanceAlive(name));
    EXPECT_TRUE(instanceAlive(name)) << "asking must not take the name over";
    owner.reset();
    EXPECT_FALSE(instanceAlive(name));
    EXPECT_FALSE(instanceAlive(name)) << "asking must not keep the name";
}

int deniedCalls = 0;
HANDLE WINAPI denyFirstSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum, LPCSTR name) {
    if (deniedCalls++ == 0) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return ::CreateSemaphoreA(attributes, initial, maximum, name);
}

TEST_F(SingleInstanceTest, NumberedModeSkipsNumbersThatAreTakenOrDenied) {
    storeNarrowValue(config::kSingleInstance, "0");
    KernelHandle zero(::CreateSemaphoreA(nullptr, 1, 1, (ownBase() + "0").c_str()));
    EXPECT_EQ(checkSingleInstance().semaphoreName, ownBase() + "1");

    // Someone we may not open holds a name: that number is taken as well.
    deniedCalls = 0;
    systemCalls().createSemaphore = denyFirstSemaphore;
    KernelHandle named(::CreateSemaphoreA(nullptr, 1, 1, (ownBase() + "2").c_str()));
    const InstanceCheck check = checkSingleInstance();
    EXPECT_EQ(check.semaphoreName, ownBase() + "3");
    EXPECT_FALSE(check.secondInstance);
}

TEST_F(SingleInstanceTest, AnInstanceWeMayNotOpenMakesThisTheSecondInstance) {
    deniedCalls = 0;
    systemCalls().createSemaphore = denyFirstSemaphore;
    const InstanceCheck check = checkSingleInstance();
    EXPECT_TRUE(check.secondInstance);
    EXPECT_EQ(check.semaphoreName, ownBase());
    EXPECT_EQ(check.firstInstancePid, ::GetCurrentProcessId());
    EXPECT_FALSE(exists(commFile_)) << "the check alone writes no file";
}

HANDLE WINAPI refuseFile(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI refuseWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

unsigned long activatedPid = 0;
void recordActivation(unsigned long processId) { activatedPid = processId; }

// The second instance's whole way: the check, then the hand-off.
HandOffOutcome handOffAsSecondInstance() {
    const InstanceCheck check = checkSingleInstance();
    EXPECT_TRUE(check.secondInstance);
    return handOffArguments(check, recordActivation);
}

TEST_F(SingleInstanceTest, FailedHandOffIsReportedAndFreesTheNotificationSemaphore) {
    const KernelHandle instance = holdInstance();
    ASSERT_TRUE(instance);
    for (const bool failCreate : {true, false}) {
        SCOPED_TRACE(failCreate ? "CreateFile fails" : "WriteFile fails");
        systemCalls() = realSystemCalls();
        if (failCreate) systemCalls().createFile = refuseFile;
        else systemCalls().writeFile = refuseWrite;
        EXPECT_EQ(handOffAsSecondInstance(), failCreate ? HandOffOutcome::NotCreated : HandOffOutcome::NotWritten);
        EXPECT_TRUE(notificationFree());
        ::DeleteFileA(commFile_.c_str());
    }
}

TEST_F(SingleInstanceTest, APidStoredLateIsReadAgainAndItsWindowsActivated) {
    const KernelHandle instance = holdInstance();
    ASSERT_TRUE(instance);
    InstanceCheck check = checkSingleInstance();
    ASSERT_TRUE(check.secondInstance);
    check.firstInstancePid = 0;  // as if read before the first instance stored it
    activatedPid = 0;
    systemCalls().createFile = refuseFile;
    EXPECT_EQ(handOffArguments(check, recordActivation), HandOffOutcome::NotCreated);
    EXPECT_EQ(activatedPid, ::GetCurrentProcessId());
}

const wchar_t* fakeCommandLine = L"";
LPWSTR WINAPI commandLine() { return const_cast<LPWSTR>(fakeCommandLine); }

struct Consumer {
    std::string path;
    std::string bytes;
    bool consume;  // delete the file once read; otherwise only wait for it
};

// Waits up to 20 s for the file to hold a whole line (it cannot be opened
// while the writer has it open), then, like the first instance's Java side,
// deletes it.
DWORD WINAPI consumeCommFile(void* context) {
    Consumer& consumer = *static_cast<Consumer*>(context);
    for (int i = 0; i < 2000; ++i, ::Sleep(10)) {
        consumer.bytes = readFile(consumer.path);
        if (consumer.bytes.size() >= 2 && consumer.bytes.compare(consumer.bytes.size() - 2, 2, "\n\0", 2) == 0) break;
    }
    if (consumer.consume) ::DeleteFileA(consumer.path.c_str());
    return 0;
}

std::string utf16le(const std::u16string& text) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(SingleInstanceTest, SecondInstanceHandsItsArgumentsOver) {
    const KernelHandle instance = holdInstance();
    ASSERT_TRUE(instance);
    systemCalls().getCommandLine = commandLine;
    struct Case {
        const wchar_t* commandLine;
        std::u16string text;
    } cases[] = {
        {L"\"C:\\My Apps\\app.exe\" a \"b c\"", u"a \"b c\"\n"},
        {L"C:\\apps\\app.exe  -x \u00e9", u"-x \u00e9\n"},
        {L"app.exe", u"\n"},
    };
    for (const Case& c : cases) {
        fakeCommandLine = c.commandLine;
        Consumer consumer{commFile_, "", true};
        KernelHandle thread(::CreateThread(nullptr, 0, consumeCommFile, &consumer, 0, nullptr));
        EXPECT_EQ(handOffAsSecondInstance(), HandOffOutcome::Done);
        ::WaitForSingleObject(thread.get(), INFINITE);
        EXPECT_EQ(consumer.bytes, utf16le(c.text));
        EXPECT_FALSE(exists(commFile_));
        EXPECT_TRUE(notificationFree());
    }
}

KernelHandle* dyingInstance = nullptr;
DWORD WINAPI endInstanceOnceWritten(void* context) {
    consumeCommFile(context);
    dyingInstance->reset();
    return 0;
}

TEST_F(SingleInstanceTest, FirstInstanceEndingWhileWaitingLeavesNoFile) {
    KernelHandle instance = holdInstance();
    ASSERT_TRUE(instance);
    dyingInstance = &instance;
    Consumer consumer{commFile_, "", false};
    KernelHandle thread(::CreateThread(nullptr, 0, endInstanceOnceWritten, &consumer, 0, nullptr));
    EXPECT_EQ(handOffAsSecondInstance(), HandOffOutcome::Done);
    ::WaitForSingleObject(thread.get(), INFINITE);
    EXPECT_FALSE(consumer.bytes.empty()) << "the file was written";
    EXPECT_FALSE(exists(commFile_)) << "and removed by the second instance";
    EXPECT_TRUE(notificationFree());
}

}  // namespace
