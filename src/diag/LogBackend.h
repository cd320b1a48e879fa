#pragma once

#include <string_view>

// Where formatted log lines go. Exactly one backend is linked into each program:
// the log file in the launchers, an in-memory list in tools and unit tests.
// `text` is the formatted call without the "ERROR: " prefix or the line end.
void writeLogLine(bool isError, std::string_view text);
