#pragma once

// The diagnostic log: one line per call, off unless switched on. Formats are C
// printf formats; the Windows build uses the Microsoft runtime's formatting,
// so "%S" (wide string) and "%I64d" work there. Portable code sticks to the
// common subset.
#if defined(_WIN32)
#define LAUNCHER_PRINTF_FORMAT(f, a) __attribute__((format(ms_printf, f, a)))
#else
#define LAUNCHER_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

void logMessage(const char* format, ...) LAUNCHER_PRINTF_FORMAT(1, 2);

// As logMessage, with the prefix "ERROR: ".
void logError(const char* format, ...) LAUNCHER_PRINTF_FORMAT(1, 2);
