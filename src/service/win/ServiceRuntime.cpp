// The service process: reports the service to the service control manager,
// runs the Java application in a child (this executable again, with
// "__btl_restart"), turns stop and shutdown requests into a line on the
// child's standard input and reports the service stopped when the child ends,
// or when it has not ended within the stop timeout and was ended.
#include "service/win/ServiceRuntime.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32Text.h"
#include "core/win/SystemFailure.h"
#include "log/Log.h"
#include "text/CommandLine.h"
#include "service/ServiceChild.h"
#include "service/ServiceCommands.h"
#include "service/ServiceSettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kChildNotStarted = 5000;  // service-specific exit code
constexpr UINT kChildEndedExitCode = 1;
constexpr DWORD kWaitHintMs = 50000;
constexpr int kShutdownCode = 0;
constexpr size_t kOutputChunk = 8192;

// The status record and the shutdown pipe are shared by the control handler
// (dispatcher thread) and the service main; one lock covers both, so a state
// change and its report, and the single send of the stop line, never
// interleave. The line is written while the lock is held: two bytes into an
// empty pipe never block.
struct ServiceSession {
    SRWLOCK stateLock = SRWLOCK_INIT;
    SERVICE_STATUS status;
    SERVICE_STATUS_HANDLE statusHandle;
    // The write end of the child's standard input: null before the pipe exists
    // and after the stop line went out.
    HANDLE shutdownPipe;
    // A stop or shutdown came in. It is never taken back: the state does not
    // return from stop pending, and a stop that came before the pipe existed is
    // sent as soon as it does.
    bool stopRequested;
    DWORD stopTick;  // when the stop came in
    uint32_t stopTimeoutMs;
};
// Set up before any thread runs (constant initialisation), so the control
// handler's thread never meets it half made.
ServiceSession session;

struct StateLock {
    StateLock() { ::AcquireSRWLockExclusive(&session.stateLock); }
    ~StateLock() { ::ReleaseSRWLockExclusive(&session.stateLock); }
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;
};

// With the lock held. `site` numbers the reports whose failure is logged.
void reportStatus(int site) {
    if (!systemCalls().setServiceStatus(session.statusHandle, &session.status) && site != 0)
        logSystemFailure("SetServiceStatus %d failed %d", site);
}

// With the lock held. Writes the line once; before the pipe exists it waits
// for the service main to call it again.
void sendShutdown(int code) {
    if (session.shutdownPipe == nullptr) return;
    logMessage("sending shutdown %d", code);
    char line[16];
    const int length = std::snprintf(line, sizeof line, "%d\n", code);
    DWORD written = 0;
    ::WriteFile(session.shutdownPipe, line, static_cast<DWORD>(length), &written, nullptr);
    ::CloseHandle(session.shutdownPipe);
    session.shutdownPipe = nullptr;
    logMessage("shutdown sent");
}

// Reads the child's output and drops it, so that the child never blocks on a
// full pipe; owns the read end. Runs on a thread of its own and only logs
// besides reading.
DWORD WINAPI consumeChildOutput(void* readEnd) {
    const KernelHandle output(static_cast<HANDLE>(readEnd));
    logMessage("consuming output");
    char sink[kOutputChunk];
    DWORD count = 0;
    while (::ReadFile(output.get(), sink, sizeof sink, &count, nullptr) && count > 0) {
    }
    logMessage("consuming output done");
    return 0;
}

// Called on a thread that the system starts for each console event: logs only.
BOOL WINAPI consoleEventHandler(DWORD) {
    logMessage("ConsoleCtrlHandler event");
    return TRUE;  // log-off and the like must not end the process
}

std::u16string childCommandLine(DWORD argc, char** argv) {
    std::vector<std::u16string> own;
    splitCommandLine(asUtf16(::GetCommandLineW()), own);
    std::vector<std::u16string> startArguments;
    for (DWORD i = 1; i < argc; ++i) startArguments.push_back(ansiToUtf16(argv[i]));
    std::u16string line;  // stays empty when it does not fit
    composeChildCommandLine(own, ansiToUtf16(serviceName()), startArguments, line);
    return line;
}

DWORD childPriority() {
    RegistryKey key;
    DWORD value = 0, size = sizeof value;
    if (systemCalls().regOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\corvanta\\zelkor\\priority", 0, KEY_READ,
                                 key.put()) != ERROR_SUCCESS ||
        systemCalls().regQueryValue(key.get(), serviceName().c_str(), nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        size != sizeof value)
        return kNormalPriorityClass;
    if (!isPriorityClass(value)) {
        logMessage("priority %d refused", static_cast<int>(value));
        return kNormalPriorityClass;
    }
    logMessage("using priority %d", static_cast<int>(value));
    return value;
}

// The two pipes: the child writes its output into one and reads its standard
// input from the other. The service process's ends are not inherited.
struct ChildPipes {
    KernelHandle outputRead, outputWrite, inputRead, inputWrite;
};

bool createPipes(ChildPipes& pipes) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    // The output pipe, then the input pipe ("... error 2" in the log), each
    // with the service process's own end kept out of the child.
    const struct {
        KernelHandle& read;
        KernelHandle& write;
        KernelHandle& kept;
        const char* number;
    } steps[] = {{pipes.outputRead, pipes.outputWrite, pipes.outputRead, ""},
                 {pipes.inputRead, pipes.inputWrite, pipes.inputWrite, " 2"}};
    for (const auto& step : steps) {
        if (!systemCalls().createPipe(step.read.put(), step.write.put(), &inherited, 0)) {
            logSystemFailure("CreatePipe error%s (%d)", step.number);
            return false;
        }
        if (!::SetHandleInformation(step.kept.get(), HANDLE_FLAG_INHERIT, 0)) {
            logSystemFailure("SetHandleInformation error%s (%d)", step.number);
            return false;
        }
    }
    return true;
}

bool startChild(std::u16string& commandLine, ChildPipes& pipes, ProcessHandles& child) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = pipes.inputRead.get();
    startup.hStdOutput = pipes.outputWrite.get();
    startup.hStdError = pipes.outputWrite.get();
    const DWORD flags = childPriority() | DETACHED_PROCESS;
    PROCESS_INFORMATION started{};
    DWORD error = ERROR_FILENAME_EXCED_RANGE;  // an empty line is one that did not fit
    if (!commandLine.empty()) {
        if (systemCalls().createProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr,
                                         TRUE, flags, nullptr, nullptr, &startup, &started)) {
            child = ProcessHandles(started);
            return true;
        }
        error = ::GetLastError();
    }
    logMessage("could not start process %S (%d)", asWide(commandLine), static_cast<int>(error));
    return false;
}

// With the lock held, after a stop request: moves the check point on and
// tells the service control manager how long the rest of the stop may take,
// so that it sees the stop progress. Gives how long to wait for the child
// next, or 0 once the stop timeout has passed.
DWORD reportStopProgress() {
    const StopWait wait = nextStopWait(::GetTickCount() - session.stopTick, session.stopTimeoutMs);
    if (wait.expired) return 0;
    ++session.status.dwCheckPoint;
    session.status.dwWaitHint = wait.waitHintMs;
    reportStatus(11);
    return wait.sliceMs;
}

// Ends a child that did not end within the stop timeout; the service then
// reports itself stopped as after any stop. The stop tick is not written
// again once a stop was seen.
void endChild(const ProcessHandles& child) {
    logMessage("process %d did not end within %d ms of the stop request; ending it",
               static_cast<int>(::GetProcessId(child.process.get())),
               static_cast<int>(::GetTickCount() - session.stopTick));
    if (!::TerminateProcess(child.process.get(), kChildEndedExitCode))
        logSystemFailure("TerminateProcess failed %d");
    ::WaitForSingleObject(child.process.get(), kStopMarginMs);
}

// Waits for the child to end, in slices, so that a stop request is followed
// within a second; a child that ends at once on the stop line is never
// reported on.
void awaitChild(const ProcessHandles& child) {
    DWORD slice = kStopSliceMs;
    while (::WaitForSingleObject(child.process.get(), slice) == WAIT_TIMEOUT) {
        {
            const StateLock lock;
            slice = session.stopRequested ? reportStopProgress() : kStopSliceMs;
        }
        if (slice == 0) return endChild(child);
    }
}

}  // namespace

// Called on the dispatcher's thread (the main thread, inside
// StartServiceCtrlDispatcher) while the service main runs on another.
void WINAPI serviceControlHandler(DWORD control) {
    logMessage("control handler request %d", static_cast<int>(control));
    const StateLock lock;
    // Once stopped, nothing moves the service back to stop pending.
    if (session.status.dwCurrentState == SERVICE_STOPPED) control = SERVICE_CONTROL_INTERROGATE;
    if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
        if (control == SERVICE_CONTROL_SHUTDOWN) ++session.status.dwCheckPoint;
        if (!session.stopRequested) session.stopTick = ::GetTickCount();
        session.status.dwCurrentState = SERVICE_STOP_PENDING;
        session.status.dwWaitHint = nextStopWait(::GetTickCount() - session.stopTick, session.stopTimeoutMs).waitHintMs;
        reportStatus(control == SERVICE_CONTROL_STOP ? 2 : 1);
        session.stopRequested = true;
        sendShutdown(kShutdownCode);
    } else {
        reportStatus(3);
    }
}

bool superviseService(DWORD argc, char** argv) {
    logMessage("service main");
    {
        const StateLock lock;
        session.status = SERVICE_STATUS{SERVICE_WIN32_OWN_PROCESS | SERVICE_WIN32_SHARE_PROCESS, SERVICE_RUNNING,
                                SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN, NO_ERROR, 0, 0, kWaitHintMs};
        session.statusHandle = nullptr;
        session.shutdownPipe = nullptr;
        session.stopRequested = false;
        session.stopTimeoutMs = stopTimeoutMs(configInt(config::kServiceStopTimeout));
    }
    const size_t nameLength = argc > 0 ? std::strlen(argv[0]) : 0;
    setServiceName(nameLength >= 1 && nameLength < kBufferCapacity ? argv[0] : "unknown");
    logMessage("service name is '%s'", serviceName().c_str());

    const SERVICE_STATUS_HANDLE handle =
        systemCalls().registerServiceCtrlHandler(serviceName().c_str(), serviceControlHandler);
    if (handle == nullptr) return false;
    {
        const StateLock lock;
        session.statusHandle = handle;
        reportStatus(0);
    }

    std::u16string commandLine = childCommandLine(argc, argv);
    ChildPipes pipes;
    const bool piped = createPipes(pipes);
    if (piped) {
        const StateLock lock;
        session.shutdownPipe = pipes.inputWrite.release();
        if (session.stopRequested) sendShutdown(kShutdownCode);
    }
    ProcessHandles child;
    if (!piped || !startChild(commandLine, pipes, child)) {
        // A service that runs nothing must not look running.
        const StateLock lock;
        if (session.shutdownPipe != nullptr) ::CloseHandle(std::exchange(session.shutdownPipe, nullptr));
        session.status.dwCurrentState = SERVICE_STOPPED;
        session.status.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        session.status.dwServiceSpecificExitCode = kChildNotStarted;
        reportStatus(0);
        return false;
    }

    pipes.outputWrite.reset();
    pipes.inputRead.reset();
    void* const outputRead = pipes.outputRead.release();
    KernelHandle drain(systemCalls().createThread(nullptr, 0, consumeChildOutput, outputRead, 0, nullptr));
    const DWORD drainError = drain ? 0 : ::GetLastError();
    {
        const StateLock lock;
        if (!session.stopRequested) reportStatus(0);
    }
    logMessage("registering ConsoleCtrlHandler");
    registerConsoleEventHandler();
    if (!drain) {
        // The child must not block on a full pipe before it reads the stop
        // line, so this thread drains until the child closes its end.
        logMessage("no output thread (%d), draining here", static_cast<int>(drainError));
        consumeChildOutput(outputRead);
    }

    awaitChild(child);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(child.process.get(), &exitCode);
    logMessage("process terminated with exit code %d", static_cast<int>(exitCode));
    const StateLock lock;
    // A child that failed on its own leaves the service unreported, so the
    // service control manager sees it end and can run its recovery actions.
    if (exitCode == 0 || session.stopRequested) {
        session.status.dwCurrentState = SERVICE_STOPPED;
        reportStatus(10);
        logMessage("service stopped set");
    }
    return true;
}

namespace {

void WINAPI serviceMain(DWORD argc, char** argv) {
    if (!superviseService(argc, argv)) return;
    logMessage("exiting");
    std::exit(0);
}

}  // namespace

int runServiceDispatcher() {
    // The service main runs on a thread of the dispatcher's and uses the
    // system-call table and the launcher state. Both are function-local
    // statics built without guards (-fno-threadsafe-statics, see
    // cmake/ProductOptions.cmake), so they are made here, on the main thread,
    // before that thread exists; loading the configuration made them already.
    systemCalls();
    // The dispatcher keeps the table's name; the service main replaces serviceName.
    std::string name = serviceName();
    const SERVICE_TABLE_ENTRYA table[] = {{name.data(), serviceMain}, {nullptr, nullptr}};
    logMessage("calling StartServiceCtrlDispatcher");
    if (!::StartServiceCtrlDispatcherA(table))
        logSystemFailure("StartServiceCtrlDispatcher failed with error %d");
    logMessage("StartServiceCtrlDispatcher returned");
    return 0;
}

void registerConsoleEventHandler() { ::SetConsoleCtrlHandler(consoleEventHandler, TRUE); }
