// The service process's supervision of its child, without the service control
// manager: the table's RegisterServiceCtrlHandler and SetServiceStatus are
// fakes that record every report, and the child is this program again, which
// behaves as SERVICE_RUNTIME_TEST_CHILD asks (see runTestChild).
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "log/MemoryLog.h"
#include "text/CommandLine.h"
#include "service/win/ServiceRuntime.h"
#include "support/MemoryLogQueries.h"
#include "support/ProcessStateGuard.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kChildVariable[] = "SERVICE_RUNTIME_TEST_CHILD";
constexpr char kServiceName[] = "Runtime Test Svc";

// The child: "<report file>|<bytes to print>|<read stdin 0/1>|<exit code>|<ms to sleep first>".
// It reports its priority class, its command line and what it read.
int runTestChild() {
    char behaviour[1024];
    if (::GetEnvironmentVariableA(kChildVariable, behaviour, sizeof behaviour) == 0) return 99;
    std::istringstream fields(behaviour);
    std::string file, flood, read, exitCode, sleep;
    std::getline(fields, file, '|'), std::getline(fields, flood, '|'), std::getline(fields, read, '|');
    std::getline(fields, exitCode, '|'), std::getline(fields, sleep, '|');
    ::Sleep(static_cast<DWORD>(std::stoul(sleep)));
    std::string report = "priority " + std::to_string(::GetPriorityClass(::GetCurrentProcess())) + "\n";
    char line[8192];
    ::WideCharToMultiByte(CP_UTF8, 0, ::GetCommandLineW(), -1, line, sizeof line, nullptr, nullptr);
    report += std::string("line ") + line + "\n";
    const std::string chunk(65536, 'o');
    DWORD written = 0;
    for (long left = std::stol(flood); left > 0; left -= static_cast<long>(chunk.size()))
        ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr);
    if (read == "1") {
        report += "stdin:";
        char byte;
        DWORD count = 0;
        while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &count, nullptr) && count == 1) report += byte;
    }
    std::ofstream(file, std::ios::binary) << report;
    return std::stoi(exitCode);
}

// What the fake service control manager saw.
CRITICAL_SECTION reportsLock;
std::vector<SERVICE_STATUS> reports;
std::string registeredName;
HANDLE reported;  // set on every report

SERVICE_STATUS_HANDLE WINAPI fakeRegister(LPCSTR name, LPHANDLER_FUNCTION) {
    registeredName = name;
    return reinterpret_cast<SERVICE_STATUS_HANDLE>(0x5e5);
}

BOOL WINAPI fakeSetStatus(SERVICE_STATUS_HANDLE, LPSERVICE_STATUS status) {
    ::EnterCriticalSection(&reportsLock);
    reports.push_back(*status);
    ::LeaveCriticalSection(&reportsLock);
    ::SetEvent(reported);
    return TRUE;
}

std::vector<SERVICE_STATUS> reportsSoFar() {
    ::EnterCriticalSection(&reportsLock);
    std::vector<SERVICE_STATUS> copy = reports;
    ::LeaveCriticalSection(&reportsLock);
    return copy;
}

bool waitForReports(size_t count) {
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    while (reportsSoFar().size() < count) {
        if (::GetTickCount64() >= deadline) return false;
        ::WaitForSingleObject(reported, 100);
    }
    return true;
}

std::vector<DWORD> states(const std::vector<SERVICE_STATUS>& all) {
    std::vector<DWORD> result;
    for (const SERVICE_STATUS& s : all) result.push_back(s.dwCurrentState);
    return result;
}

DWORD WINAPI superviseOnThread(void*) {
    char name[] = "Runtime Test Svc", start[] = "-x";
    char* argv[] = {name, start};
    return superviseService(2, argv) ? 1 : 0;
}

int pipeCalls = 0;
int failingPipeCall = 0;  // 1 or 2: that CreatePipe fails; -1: a stop arrives before the first
BOOL WINAPI pipeWithFault(PHANDLE read, PHANDLE write, LPSECURITY_ATTRIBUTES attributes, DWORD size) {
    ++pipeCalls;
    if (failingPipeCall == -1 && pipeCalls == 1) serviceControlHandler(SERVICE_CONTROL_STOP);
    if (pipeCalls == failingPipeCall) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::CreatePipe(read, write, attributes, size);
}

BOOL WINAPI refuseProcess(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                          LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

HANDLE WINAPI refuseThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

class ServiceRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        reports.clear();
        pipeCalls = failingPipeCall = 0;
        systemCalls().registerServiceCtrlHandler = fakeRegister;
        systemCalls().setServiceStatus = fakeSetStatus;
        systemCalls().createPipe = pipeWithFault;
        clearMemoryLog();
        char directory[MAX_PATH];
        ::GetTempPathA(sizeof directory, directory);
        reportFile_ = std::string(directory) + "service-runtime-child-" + std::to_string(::GetCurrentProcessId()) + ".txt";
        ::DeleteFileA(reportFile_.c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableA(kChildVariable, nullptr);
        ::DeleteFileA(reportFile_.c_str());
    }

    void child(long floodBytes, bool readInput, int exitCode, DWORD sleepMs = 0) {
        const std::string behaviour = reportFile_ + "|" + std::to_string(floodBytes) + "|" + (readInput ? "1" : "0") + "|" +
                                 std::to_string(exitCode) + "|" + std::to_string(sleepMs);
        ::SetEnvironmentVariableA(kChildVariable, behaviour.c_str());
    }

    void start() { thread_.reset(), thread_ = KernelHandle(::CreateThread(nullptr, 0, superviseOnThread, nullptr, 0, nullptr)); }

    // Whether the service main ended the process (1) or returned early (0).
    DWORD finish() {
        if (::WaitForSingleObject(thread_.get(), 60000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the service main did not end";
            return 2;
        }
        DWORD code = 2;
        ::GetExitCodeThread(thread_.get(), &code);
        return code;
    }

    std::string childReport() const { return readFile(reportFile_); }

    ProcessStateGuard processState_;
    std::string reportFile_;
    KernelHandle thread_;
};

TEST_F(ServiceRuntimeTest, ChildGetsTheServiceNameAndStartArgumentsAndOneStopLinePerService) {
    const struct {
        const char* name;
        std::vector<DWORD> controls;
        DWORD checkPoint;
    } cases[] = {
        {"stop", {SERVICE_CONTROL_STOP}, 0},
        {"two stops and a question", {SERVICE_CONTROL_STOP, SERVICE_CONTROL_STOP, SERVICE_CONTROL_INTERROGATE}, 0},
        {"shutdown, then stop", {SERVICE_CONTROL_SHUTDOWN, SERVICE_CONTROL_STOP}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        child(0, true, 0);
        start();
        ASSERT_TRUE(waitForReports(2));  // running, and running again with the child started
        for (DWORD control : c.controls) serviceControlHandler(control);
        EXPECT_EQ(finish(), 1u);

        const std::vector<SERVICE_STATUS> seen = reportsSoFar();
        ASSERT_GE(seen.size(), 4u);
        EXPECT_EQ(registeredName, kServiceName);
        EXPECT_EQ(seen[0].dwServiceType, 0x30u);
        EXPECT_EQ(seen[0].dwControlsAccepted, 5u);
        EXPECT_EQ(seen[0].dwWaitHint, 50000u);
        EXPECT_EQ(seen[2].dwCurrentState, static_cast<DWORD>(SERVICE_STOP_PENDING));
        // Never back from stop pending, nor from stopped (a late stop only asks
        // again); stopped last, with the shutdown's check point kept.
        const std::vector<DWORD> later = states({seen.begin() + 2, seen.end()});
        EXPECT_TRUE(std::is_partitioned(later.begin(), later.end(), [](DWORD s) { return s == SERVICE_STOP_PENDING; }));
        EXPECT_EQ(std::count(later.begin(), later.end(), static_cast<DWORD>(SERVICE_RUNNING)), 0);
        EXPECT_EQ(seen.back().dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
        EXPECT_EQ(seen.back().dwWin32ExitCode, 0u);
        // The shutdown's check point is kept; the wait for the child may move it on.
        EXPECT_GE(seen.back().dwCheckPoint, c.checkPoint);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end(), [](const SERVICE_STATUS& a, const SERVICE_STATUS& b) {
            return a.dwCheckPoint < b.dwCheckPoint;
        }));

        const std::string report = childReport();
        EXPECT_NE(report.find("\nstdin:0\n"), std::string::npos) << report;
        EXPECT_TRUE(report.ends_with("stdin:0\n")) << report;  // then the end of the stream
        const size_t lineAt = report.find("line ") + 5;
        std::vector<std::u16string> words;
        const std::string line = report.substr(lineAt, report.find('\n', lineAt) - lineAt);
        splitCommandLine(std::u16string(line.begin(), line.end()), words);
        ASSERT_EQ(words.size(), 4u) << line;
        EXPECT_EQ(words[1], u"Runtime Test Svc");
        EXPECT_EQ(words[2], u"-x");
        EXPECT_EQ(words[3], u"__btl_restart");
        EXPECT_NE(line.find("\"Runtime Test Svc\" -x __btl_restart"), std::string::npos) << line;
        EXPECT_EQ(std::count(memoryLogLines().begin(), memoryLogLines().end(), "sending shutdown 0"), 1);
    }
}

TEST_F(ServiceRuntimeTest, StopBeforeThePipeExistsIsSentOnceItDoes) {
    failingPipeCall = -1;
    child(0, true, 0);
    start();
    EXPECT_EQ(finish(), 1u);
    const std::vector<DWORD> expected{SERVICE_RUNNING, SERVICE_STOP_PENDING, SERVICE_STOPPED};
    EXPECT_EQ(states(reportsSoFar()), expected);
    EXPECT_TRUE(childReport().ends_with("stdin:0\n")) << childReport();
}

// A child that ignores the stop line is ended once the stop timeout has
// passed; meanwhile every report moves the check point on and the wait hint
// shrinks with the time left.
TEST_F(ServiceRuntimeTest, ChildThatIgnoresTheStopIsEndedAfterTheStopTimeout) {
    storeNarrowValue(config::kServiceStopTimeout, "3");
    child(0, false, 0, 120000);
    start();
    ASSERT_TRUE(waitForReports(2));
    const ULONGLONG stopAt = ::GetTickCount64();
    serviceControlHandler(SERVICE_CONTROL_STOP);
    EXPECT_EQ(finish(), 1u);
    EXPECT_GE(::GetTickCount64() - stopAt, 2900u);  // not before the timeout (the tick counts in ~16 ms steps)

    const std::vector<SERVICE_STATUS> seen = reportsSoFar();
    const std::vector<SERVICE_STATUS> stopping(seen.begin() + 2, seen.end() - 1);
    ASSERT_GE(stopping.size(), 3u);  // the handler's report and one per second of the wait
    EXPECT_LE(stopping.front().dwWaitHint, 8000u);
    for (size_t i = 1; i < stopping.size(); ++i) {
        EXPECT_EQ(stopping[i].dwCurrentState, static_cast<DWORD>(SERVICE_STOP_PENDING));
        EXPECT_EQ(stopping[i].dwCheckPoint, stopping[i - 1].dwCheckPoint + 1);
        EXPECT_LT(stopping[i].dwWaitHint, stopping[i - 1].dwWaitHint);
        EXPECT_GE(stopping[i].dwWaitHint, 5000u);
    }
    EXPECT_EQ(seen.back().dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_TRUE(std::any_of(memoryLogLines().begin(), memoryLogLines().end(), [](const std::string& line) {
        return line.starts_with("process ") && line.find(" did not end within ") != std::string::npos &&
               line.ends_with(" ms of the stop request; ending it");
    }));
    EXPECT_TRUE(memoryLogHas("process terminated with exit code 1"));
    EXPECT_FALSE(exists(reportFile_));  // ended before it could write
}

TEST_F(ServiceRuntimeTest, ChildEndingOnItsOwnIsReportedStoppedOnlyWithExitCodeZero) {
    for (int exitCode : {0, 3}) {
        SCOPED_TRACE(exitCode);
        SetUp();
        child(0, false, exitCode);
        start();
        EXPECT_EQ(finish(), 1u);
        const std::vector<DWORD> expected =
            exitCode == 0 ? std::vector<DWORD>{SERVICE_RUNNING, SERVICE_RUNNING, SERVICE_STOPPED}
                          : std::vector<DWORD>{SERVICE_RUNNING, SERVICE_RUNNING};
        EXPECT_EQ(states(reportsSoFar()), expected);
        EXPECT_TRUE(memoryLogHas("process terminated with exit code " + std::to_string(exitCode)));
    }
}

TEST_F(ServiceRuntimeTest, ServiceThatCannotStartItsChildIsReportedStoppedWithTheServiceError) {
    const struct {
        const char* name;
        int failingPipe;
        bool refuseProcess;
        const char* logLine;
    } cases[] = {
        {"output pipe", 1, false, "CreatePipe error (5)"},
        {"input pipe", 2, false, "CreatePipe error 2 (5)"},
        {"process", 0, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        failingPipeCall = c.failingPipe;
        if (c.refuseProcess) systemCalls().createProcessW = refuseProcess;
        child(0, false, 0);
        start();
        EXPECT_EQ(finish(), 0u);
        const std::vector<SERVICE_STATUS> seen = reportsSoFar();
        const std::vector<DWORD> expected{SERVICE_RUNNING, SERVICE_STOPPED};
        EXPECT_EQ(states(seen), expected);
        EXPECT_EQ(seen.back().dwWin32ExitCode, 1066u);
        EXPECT_EQ(seen.back().dwServiceSpecificExitCode, 5000u);
        if (c.logLine) {
            EXPECT_TRUE(memoryLogHas(c.logLine));
        } else {
            EXPECT_TRUE(std::any_of(memoryLogLines().begin(), memoryLogLines().end(), [](const std::string& l) {
                return l.starts_with("could not start process ") && l.ends_with("__btl_restart (2)");
            }));
        }
        // A stop after the stopped report changes nothing.
        serviceControlHandler(SERVICE_CONTROL_STOP);
        EXPECT_EQ(reportsSoFar().back().dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
        systemCalls() = realSystemCalls();
    }
}

TEST_F(ServiceRuntimeTest, ChildWritingMegabytesNeverBlocksEvenWithoutTheOutputThread) {
    for (bool outputThread : {true, false}) {
        SCOPED_TRACE(outputThread ? "output thread" : "no output thread");
        SetUp();
        if (!outputThread) systemCalls().createThread = refuseThread;
        child(8 << 20, true, 0);
        start();
        ASSERT_TRUE(waitForReports(2));
        serviceControlHandler(SERVICE_CONTROL_STOP);
        EXPECT_EQ(finish(), 1u);
        EXPECT_EQ(reportsSoFar().back().dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
        EXPECT_TRUE(childReport().ends_with("stdin:0\n"));
        EXPECT_EQ(memoryLogHas("no output thread (8), draining here"), !outputThread);
    }
}

// The priority value named after the service, in this program's registry view.
struct PriorityValue {
    explicit PriorityValue(const void* data, DWORD size, DWORD type) {
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\corvanta\\zelkor\\priority", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, key.put(), nullptr);
        ::RegSetValueExA(key.get(), kServiceName, 0, type, static_cast<const BYTE*>(data), size);
    }
    ~PriorityValue() { ::RegDeleteValueA(key.get(), kServiceName); }
    RegistryKey key;
};

DWORD creationFlags = 0;
BOOL WINAPI recordFlags(LPCWSTR application, LPWSTR line, LPSECURITY_ATTRIBUTES process, LPSECURITY_ATTRIBUTES thread,
                        BOOL inherit, DWORD flags, LPVOID environment, LPCWSTR directory, LPSTARTUPINFOW startup,
                        LPPROCESS_INFORMATION started) {
    creationFlags = flags;
    return ::CreateProcessW(application, line, process, thread, inherit, flags, environment, directory, startup, started);
}

// Wine starts every child with the normal class whatever the flags say, so
// the flags are what is checked.
TEST_F(ServiceRuntimeTest, OnlyAPriorityClassFromTheRegistryBecomesTheChildsCreationFlags) {
    const DWORD high = 0x80, suspended = 0x4;
    const uint64_t wide = 0x80;
    const struct {
        const char* name;
        const void* data;
        DWORD size, type;
        DWORD flags;
        const char* logLine;
    } cases[] = {
        {"high", &high, 4, REG_DWORD, 0x88, "using priority 128"},
        {"suspended refused", &suspended, 4, REG_DWORD, 0x28, "priority 4 refused"},
        {"eight bytes", &wide, 8, REG_QWORD, 0x28, nullptr},
        {"none", nullptr, 0, REG_NONE, 0x28, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        std::optional<PriorityValue> value;
        if (c.data) value.emplace(c.data, c.size, c.type);
        systemCalls().createProcessW = recordFlags;
        creationFlags = 0;
        child(0, false, 0);
        start();
        EXPECT_EQ(finish(), 1u);  // a suspended child would never end
        EXPECT_EQ(creationFlags, c.flags);
        if (c.logLine) {
            EXPECT_TRUE(memoryLogHas(c.logLine));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[argc - 1], "__btl_restart") == 0) return runTestChild();
    ::InitializeCriticalSection(&reportsLock);
    reported = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
