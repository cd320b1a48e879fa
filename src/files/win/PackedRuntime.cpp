#include "files/PackedRuntime.h"

#include "core/ConfigKeys.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/SystemFailure.h"
#include "diag/ErrorReport.h"
#include "log/Log.h"
#include "files/PackedJars.h"
#include "files/PathUtilities.h"

#include <algorithm>
#include <cstdio>

namespace {

// Unpacking a whole runtime takes seconds; a launcher that holds the home far
// longer than this is stuck, and waiting on would hang this start with it.
constexpr DWORD kUnpackLockWaitMilliseconds = 5 * 60 * 1000;

struct ToolRun {
    bool started = false;
    bool succeeded = false;
};

ToolRun runUnpackTool(const std::string& tool, std::string arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!systemCalls().createProcess(tool.c_str(), arguments.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                                     nullptr, nullptr, &startup, &started)) {
        const DWORD error = ::GetLastError();
        logMessage("could not create unpack process");
        logError("starting %s failed (error %lu)", tool.c_str(), error);
        return {};
    }
    const ProcessHandles process(started);
    logMessage("waiting for unpack200 to finish");
    if (systemCalls().waitForObject(process.process.get(), INFINITE) != WAIT_OBJECT_0) {
        logSystemError("waiting for unpack200 failed (error %lu)");
        return {true, false};
    }
    logMessage("unpack done");
    DWORD exitCode = 0;
    if (!systemCalls().getExitCodeProcess(process.process.get(), &exitCode)) {
        logSystemError("the exit code of unpack200 is unknown (error %lu)");
        return {true, false};
    }
    if (exitCode != 0) logError("unpack200 failed with exit code %lu", exitCode);
    return {true, exitCode == 0};
}

// Deletes `path`; a file that is already gone counts as deleted. Otherwise
// the system's error.
DWORD deleteIfPresent(const std::string& path) {
    if (systemCalls().deleteFile(path.c_str())) return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

// Holds a home's unpack mutex for one preparation. A mutex that cannot be
// made or waited for leaves the preparation uncoordinated, as it was before
// homes had one, rather than refusing a runtime over it.
class UnpackLock {
public:
    explicit UnpackLock(const std::string& home) {
        const std::string name = homeMutexName(home);
        mutex_ = KernelHandle(systemCalls().createMutex(nullptr, FALSE, name.c_str()));
        if (!mutex_) {
            logSystemError("could not create the unpack mutex %s (error %lu)", name.c_str());
            return;
        }
        DWORD waited = systemCalls().waitForObject(mutex_.get(), 0);
        if (waited == WAIT_TIMEOUT) {
            logMessage("waiting for another launcher unpacking %s", home.c_str());
            waited = systemCalls().waitForObject(mutex_.get(), kUnpackLockWaitMilliseconds);
        }
        // An abandoned mutex is ours all the same: its owner ended mid-way,
        // and the packs it left say where to go on.
        owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        busy_ = waited == WAIT_TIMEOUT;
        if (busy_) logError("another launcher is still unpacking %s; not waiting any longer", home.c_str());
        if (waited == WAIT_FAILED) {
            logSystemError("could not wait for the unpack mutex %s (error %lu)", name.c_str());
        }
    }
    UnpackLock(const UnpackLock&) = delete;
    UnpackLock& operator=(const UnpackLock&) = delete;
    ~UnpackLock() {
        if (owned_) ::ReleaseMutex(mutex_.get());
    }

    // Another launcher still holds the home: it may be writing the jars.
    bool busy() const { return busy_; }

private:
    KernelHandle mutex_;
    bool owned_ = false;
    bool busy_ = false;
};

// Stops at the first jar that fails: a jsse.jar written after a failed jar
// would pass the home off as finished.
UnpackOutcome unpackAll(const std::string& home) {
    logMessage("Unpacking JRE");
    std::fputs("Preparing JRE ...\n", stdout);
    std::fflush(stdout);
    for (const std::string_view jar : kPackedJars) {
        const UnpackOutcome outcome = unpackJar(home, packPathOf(home, jar));
        if (outcome == UnpackOutcome::Failed || outcome == UnpackOutcome::ToolNotStarted) {
            logError("Unpacking JRE stopped; the remaining packs are kept for the next start");
            return outcome;
        }
    }
    logMessage("Unpacking JRE done");
    return UnpackOutcome::Unpacked;
}

bool holdsAnyPack(const std::string& home) {
    if (findPath(homePath(home, "lib\\*.pack"))) return true;
    // No lib directory, no lib\ext either: a home that is not there (the
    // bundled "jre" of most applications) costs one look-up, not two.
    if (::GetLastError() == ERROR_PATH_NOT_FOUND) return false;
    return findPath(homePath(home, "lib\\ext\\*.pack"));
}

}  // namespace

std::string homeMutexName(const std::string& home) {
    // fullPath takes "C:/..." for a relative path, while the file functions
    // accept either separator: both spellings must meet at one mutex.
    std::string backslashed = home;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    return unpackMutexName(fullPath(backslashed, false));
}

UnpackOutcome unpackJar(const std::string& home, const std::string& pack) {
    const std::string jar = jarPathOfPack(pack);
    if (jar.empty()) {
        logError("not a pack file: %s", pack.c_str());
        return UnpackOutcome::Failed;
    }
    if (!pathExists(pack)) {
        logMessage("pack path doesn't exists");
        return UnpackOutcome::NoPack;
    }
    const std::string tool = unpackToolPath(home);
    const std::string arguments = unpackArguments(pack, jar);
    logMessage("%s", tool.c_str());
    logMessage("%s", arguments.c_str());
    const ToolRun run = runUnpackTool(tool, arguments);
    if (!run.started) return UnpackOutcome::ToolNotStarted;

    // The pack is the only copy of the jar: it goes only once the jar is
    // there, and a jar left by a failed run must not pass for a whole one.
    if (!run.succeeded || !pathExists(jar)) {
        logError("%s was not unpacked", pack.c_str());
        if (const DWORD error = deleteIfPresent(jar); error != ERROR_SUCCESS) {
            logError("could not delete the partial jar %s (error %lu)", jar.c_str(), error);
        }
        return UnpackOutcome::Failed;
    }
    if (const DWORD error = deleteIfPresent(pack); error != ERROR_SUCCESS) {
        logMessage("could not delete packed file (error %d)", static_cast<int>(error));
    }
    return UnpackOutcome::Unpacked;
}

void preparePackedRuntime(const std::string& home) {
    // Most homes hold no pack at all: two directory look-ups tell, where
    // asking for each pack by name would take seven.
    if (!holdsAnyPack(home)) return;
    if (!needsUnpacking(home, pathExists)) return;
    UnpackOutcome outcome = UnpackOutcome::NoPack;
    {
        const UnpackLock lock(home);
        if (lock.busy()) return;
        // The launcher that held the lock may have finished the work meanwhile.
        if (!needsUnpacking(home, pathExists)) {
            logMessage("JRE already unpacked by another launcher");
            return;
        }
        outcome = unpackAll(home);
    }
    // Only now that the lock is given back: the fatal path ends the process
    // without unwinding, and another launcher would find the mutex abandoned.
    if (outcome == UnpackOutcome::ToolNotStarted) fatalConfiguredError(config::kMessageInternalError, "20");
}
