#pragma once

#include <string>
#include <vector>

// The in-memory log sink, installed at program start in every program that
// calls one of these functions (naming the library alone links nothing):
// every line as the log file would hold it
// ("ERROR: " prefix included, no line end).
const std::vector<std::string>& memoryLogLines();
void clearMemoryLog();
