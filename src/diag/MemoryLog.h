#pragma once

#include <string>
#include <vector>

// The in-memory log backend: every line as the log file would hold it
// ("ERROR: " prefix included, no line end).
const std::vector<std::string>& memoryLogLines();
void clearMemoryLog();
