// The launcher's log file: off unless a log switch was given or ZELKOR_LOG or
// BRANTEL_LOG is exactly "yes". The file is reopened for every line and closed
// again, so each line is on disk before the next call: a crash loses nothing
// that was written before it.
#include "diag/LogBackend.h"
#include "diag/LogControl.h"

#include "core/WinApi.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr DWORD kBufferSize = 8192;
constexpr const char* kFallbackLogPath = "c:\\btl_nlog";
constexpr const char* kLogNamePrefix = "btl_nlog_";

CRITICAL_SECTION* logLock = nullptr;
bool logRequested = false;
bool logInitialised = false;
std::string logPath;  // empty while logging is off

bool environmentSaysYes(const char* name) {
    char value[kBufferSize];
    const DWORD length = ::GetEnvironmentVariableA(name, value, kBufferSize);
    return length > 0 && length < kBufferSize && std::strcmp(value, "yes") == 0;
}

bool isDirectory(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A fresh file name in the directory named by TMP (or "c:\" without one),
// starting with the full prefix. The C runtime's _tempnam would do, but some
// runtimes keep only three characters of the prefix.
std::string uniqueLogName() {
    char directory[kBufferSize];
    const DWORD length = ::GetEnvironmentVariableA("TMP", directory, kBufferSize);
    std::string base = length > 0 && length < kBufferSize && isDirectory(directory) ? directory : "c:\\";
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

// Decides once whether to log; when logging is on, creates the file and
// writes its header. Returns the open stream, or nullptr.
FILE* initialiseLog() {
    logInitialised = true;
    if (!logRequested && !environmentSaysYes("ZELKOR_LOG") && !environmentSaysYes("BRANTEL_LOG")) return nullptr;

    FILE* stream = nullptr;
    logPath = uniqueLogName();
    if (!logPath.empty()) stream = std::fopen(logPath.c_str(), "w");
    if (stream == nullptr) {
        // Later calls keep trying this path in append mode.
        logPath = kFallbackLogPath;
        stream = std::fopen(logPath.c_str(), "w");
        if (stream == nullptr) return nullptr;
    }
    char module[kBufferSize];
    const DWORD length = ::GetModuleFileNameA(nullptr, module, kBufferSize);
    module[length < kBufferSize ? length : kBufferSize - 1] = '\0';
    const std::time_t now = std::time(nullptr);
    std::fprintf(stream, "Started executable %s at %s\n", module, std::ctime(&now));
    std::fflush(stream);
    return stream;
}

}  // namespace

void writeLogLine(bool isError, std::string_view text) {
    // The first call comes from the main thread before any other thread exists.
    if (logLock == nullptr) {
        logLock = new CRITICAL_SECTION;
        ::InitializeCriticalSection(logLock);
    }
    ::EnterCriticalSection(logLock);
    FILE* stream = nullptr;
    if (!logPath.empty()) stream = std::fopen(logPath.c_str(), "a");
    if (!logInitialised) stream = initialiseLog();
    if (stream != nullptr) {
        if (isError) std::fputs("ERROR: ", stream);
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fputc('\n', stream);
        std::fclose(stream);
    }
    ::LeaveCriticalSection(logLock);
}

void requestLog() { logRequested = true; }

const char* logFilePath() { return logPath.empty() ? nullptr : logPath.c_str(); }

bool logWasRequested() { return logRequested; }
