#include "log/Log.h"

#include "log/LogSink.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Set during start-up before any other thread exists, read afterwards.
LogSink* currentSink = nullptr;

int formatInto(char* buffer, size_t size, const char* format, va_list args) {
#if defined(_WIN32)
    // The Microsoft runtime's own formatter: it knows "%S" and "%I64d" natively,
    // whatever the compiler's stdio settings pull in.
    return ::_vsnprintf(buffer, size, format, args);
#else
    return std::vsnprintf(buffer, size, format, args);
#endif
}

// A line longer than this is cut here; it also ends the growing below for a
// format that the formatter refuses at any size.
constexpr size_t kLongestLine = size_t{1} << 20;

std::string formatText(const char* format, va_list args) {
    // Most lines fit the first try; the Microsoft formatter answers -1 (not
    // the needed length) when they don't, so grow until the text fits.
    std::string text(256, '\0');
    for (;;) {
        va_list attempt;
        va_copy(attempt, args);
        const int length = formatInto(text.data(), text.size(), format, attempt);
        va_end(attempt);
        if (length >= 0 && static_cast<size_t>(length) < text.size()) {
            text.resize(static_cast<size_t>(length));
            return text;
        }
        if (text.size() >= kLongestLine) {
            text.resize(strnlen(text.data(), text.size()));
            return text;
        }
        text.resize(length > 0 ? static_cast<size_t>(length) + 1 : text.size() * 2);
    }
}

void logLine(bool isError, const char* format, va_list args) {
    if (!logWanted()) return;
    currentSink->writeLine(isError, formatText(format, args));
}

}  // namespace

void setLogSink(LogSink* sink) { currentSink = sink; }

bool logWanted() { return currentSink != nullptr && currentSink->wantsLines(); }

void logMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logLine(false, format, args);
    va_end(args);
}

void logError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logLine(true, format, args);
    va_end(args);
}
