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

// Installed as the log sink when the program starts: every program that links
// this file (tools, unit tests, fuzzers) logs into memory.
MemoryLog memoryLog;

}  // namespace

const std::vector<std::string>& memoryLogLines() { return memoryLog.lines; }

void clearMemoryLog() {
    const std::lock_guard<std::mutex> hold(memoryLog.lock);
    memoryLog.lines.clear();
}
