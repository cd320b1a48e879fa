// The launcher's log file: off unless a log switch was given or ZELKOR_LOG or
// BRANTEL_LOG is exactly "yes". The file is reopened for every line and closed
// again, so each line is on disk before the next call: a crash loses nothing
// that was written before it.
#include "diag/LogFile.h"

#include "core/win/Win32Text.h"
#include "diag/LogControl.h"
#include "log/LogSink.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace {

constexpr const char* kFallbackLogPath = "c:\\btl_nlog";
constexpr const char* kLogNamePrefix = "btl_nlog_";

bool environmentSaysYes(const char* name) { return environmentValue(name) == "yes"; }

bool isDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A fresh file name in the directory named by TMP (or "c:\" without one),
// starting with the full prefix. The C runtime's _tempnam would do, but some
// runtimes keep only three characters of the prefix.
std::string uniqueLogName() {
    const std::optional<std::string> tmp = environmentValue("TMP");
    std::string base = tmp && isDirectory(*tmp) ? *tmp : "c:\\";
    if (base.back() != '\\' && base.back() != '/') base += '\\';
    const DWORD seed = ::GetCurrentProcessId() ^ ::GetTickCount();
    for (DWORD attempt = 0; attempt < 1000; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%lx", kLogNamePrefix, static_cast<unsigned long>(seed + attempt));
        const std::string candidate = base + name;
        if (::GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) return candidate;
    }
    return {};
}

class LogFile final : public LogSink {
public:
    bool wantsLines() override {
        ::AcquireSRWLockExclusive(&lock_);
        if (!initialised_) initialise();
        const bool on = !path_.empty();
        ::ReleaseSRWLockExclusive(&lock_);
        return on;
    }

    void writeLine(bool isError, std::string_view text) override {
        ::AcquireSRWLockExclusive(&lock_);
        if (FILE* stream = path_.empty() ? nullptr : std::fopen(path_.c_str(), "a")) {
            if (isError) std::fputs("ERROR: ", stream);
            std::fwrite(text.data(), 1, text.size(), stream);
            std::fputc('\n', stream);
            std::fclose(stream);
        }
        ::ReleaseSRWLockExclusive(&lock_);
    }

    void request() { requested_ = true; }
    bool requested() const { return requested_; }
    const char* path() const { return path_.empty() ? nullptr : path_.c_str(); }

private:
    // Decides once whether to log; when logging is on, creates the file and
    // writes its header.
    void initialise() {
        initialised_ = true;
        if (!requested_ && !environmentSaysYes("ZELKOR_LOG") && !environmentSaysYes("BRANTEL_LOG")) return;

        path_ = uniqueLogName();
        FILE* stream = path_.empty() ? nullptr : std::fopen(path_.c_str(), "w");
        if (stream == nullptr) {
            // Every later line tries this path again in append mode.
            path_ = kFallbackLogPath;
            stream = std::fopen(path_.c_str(), "w");
            if (stream == nullptr) return;
        }
        char module[kBufferCapacity];
        const DWORD length = ::GetModuleFileNameA(nullptr, module, kBufferCapacity);
        module[length < kBufferCapacity ? length : kBufferCapacity - 1] = '\0';
        const std::time_t now = std::time(nullptr);
        std::fprintf(stream, "Started executable %s at %s\n", module, std::ctime(&now));
        std::fclose(stream);
    }

    // Statically initialised: log lines come from the service process's
    // handler and worker threads too, and nothing may race to create the lock.
    SRWLOCK lock_ = SRWLOCK_INIT;
    bool requested_ = false;
    bool initialised_ = false;
    std::string path_;  // empty while logging is off
};

LogFile logFile;

}  // namespace

void installLogFile() { setLogSink(&logFile); }

void requestLog() { logFile.request(); }

const char* logFilePath() { return logFile.path(); }

bool logWasRequested() { return logFile.requested(); }
