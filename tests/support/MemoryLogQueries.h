#pragma once

#include "log/MemoryLog.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// Questions about what the code under test wrote into the memory log.

// Whether the log holds exactly this line.
inline bool memoryLogHas(std::string_view line) {
    const std::vector<std::string>& lines = memoryLogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines that start with `prefix`, whole and in log order.
inline std::vector<std::string> memoryLogLinesStartingWith(std::string_view prefix) {
    std::vector<std::string> found;
    for (const std::string& line : memoryLogLines())
        if (std::string_view(line).substr(0, prefix.size()) == prefix) found.push_back(line);
    return found;
}
