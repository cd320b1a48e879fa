#include "diag/Log.h"

#include "diag/LogBackend.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

std::string formatText(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

void logMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeLogLine(false, formatText(format, args));
    va_end(args);
}

void logError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeLogLine(true, formatText(format, args));
    va_end(args);
}
