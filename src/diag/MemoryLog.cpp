#include "diag/MemoryLog.h"

#include "diag/LogBackend.h"

namespace {
std::vector<std::string>& lines() {
    static std::vector<std::string> storage;
    return storage;
}
}  // namespace

void writeLogLine(bool isError, std::string_view text) {
    std::string line = isError ? "ERROR: " : "";
    line.append(text);
    lines().push_back(std::move(line));
}

const std::vector<std::string>& memoryLogLines() { return lines(); }

void clearMemoryLog() { lines().clear(); }
