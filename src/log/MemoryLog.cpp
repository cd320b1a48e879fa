#include "log/MemoryLog.h"

#include "log/LogSink.h"

#include <mutex>

namespace {

class MemoryLog final : public LogSink {
public:
    MemoryLog() { setLogSink(this); }

    bool wantsLines() override { return true; }
    // Service and worker threads log too: one line at a time, as the log file
    // does.
    void writeLine(bool isError, std::string_view text) override {
        std::string line = isError ? "ERROR: " : "";
        line.append(text);
        const std::lock_guard<std::mutex> hold(lock);
        lines.push_back(std::move(line));
    }

    std::mutex lock;
    std::vector<std::string> lines;
};

// Installed as the log sink when the program starts, in every program into
// which this file is linked: one that calls memoryLogLines() or
// clearMemoryLog(). Linking the library alone does not bring it in (see
// src/CMakeLists.txt).
MemoryLog memoryLog;

}  // namespace

const std::vector<std::string>& memoryLogLines() { return memoryLog.lines; }

void clearMemoryLog() {
    const std::lock_guard<std::mutex> hold(memoryLog.lock);
    memoryLog.lines.clear();
}
