#pragma once

// The diagnostic log: one line per call, off unless switched on. Formats are C
// printf formats; the Windows build uses the Microsoft runtime's formatting,
// so "%S" (wide string) and "%I64d" work there. Portable code sticks to the
// common subset, and writes a 64-bit value as LAUNCHER_LOG_INT64 with a
// `long long` argument: the Windows log keeps its "%I64d" lines unchanged.
#if defined(_WIN32)
#define LAUNCHER_PRINTF_FORMAT(f, a) __attribute__((format(ms_printf, f, a)))
#define LAUNCHER_LOG_INT64 "%I64d"
#else
#define LAUNCHER_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#define LAUNCHER_LOG_INT64 "%lld"
#endif

void logMessage(const char* format, ...) LAUNCHER_PRINTF_FORMAT(1, 2);

// As logMessage, with the prefix "ERROR: ".
void logError(const char* format, ...) LAUNCHER_PRINTF_FORMAT(1, 2);

// Whether a log call would write a line now: a caller that builds a long text
// for the log first asks, so that a log that is off costs nothing.
bool logWanted();
