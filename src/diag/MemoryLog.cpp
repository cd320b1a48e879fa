#include "diag/MemoryLog.h"

#include "diag/LogSink.h"

namespace {

class MemoryLog final : public LogSink {
public:
    MemoryLog() { setLogSink(this); }

    bool wantsLines() override { return true; }
    void writeLine(bool isError, std::string_view text) override {
        std::string line = isError ? "ERROR: " : "";
        line.append(text);
        lines.push_back(std::move(line));
    }

    std::vector<std::string> lines;
};

// Installed as the log sink when the program starts: every program that links
// this file (tools, unit tests, fuzzers) logs into memory.
MemoryLog memoryLog;

}  // namespace

const std::vector<std::string>& memoryLogLines() { return memoryLog.lines; }

void clearMemoryLog() { memoryLog.lines.clear(); }
