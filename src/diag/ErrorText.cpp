#include "diag/ErrorText.h"

std::string fillPlaceholder(std::string_view text, const char* detail) {
    std::string result(text);
    if (detail == nullptr) return result;
    const size_t at = result.find("{0}");
    if (at != std::string::npos) result.replace(at, 3, detail);
    return result;
}

std::string composeErrorMessage(std::string_view text, const char* logPath) {
    std::string message(text);
    if (logPath != nullptr) {
        message += "\n\nLog: ";
        message += logPath;
    }
    if (message.size() > kErrorMessageCapacity - 1) message.resize(kErrorMessageCapacity - 1);
    return message;
}
