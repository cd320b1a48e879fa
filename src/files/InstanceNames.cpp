#include "files/InstanceNames.h"

std::string instanceSemaphoreBase(bool global, std::string_view loweredFullPath) {
    std::string name = global ? "Global\\" : "Local\\";
    for (const char c : loweredFullPath) name += c == '\\' || c == ' ' ? '_' : c;
    return name;
}

std::string numberedSemaphoreName(std::string_view base, unsigned number) {
    char digits[10];
    int count = 0;
    do digits[count++] = static_cast<char>('0' + number % 10);
    while ((number /= 10) != 0);
    std::string name(base);
    while (count > 0) name += digits[--count];
    return name;
}

std::string notificationSemaphoreName(std::string_view base) { return std::string(base) + "_notification"; }

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::string communicationFileBytes(std::u16string_view commandLine) {
    const size_t n = commandLine.size();
    size_t i = 0;
    if (n > 0 && commandLine[0] == u'"') {
        i = commandLine.find(u'"', 1);
        if (i == std::u16string_view::npos) i = n;
    }
    while (i < n && !isBlank(commandLine[i])) ++i;
    while (i < n && isBlank(commandLine[i])) ++i;

    std::string bytes;
    bytes.reserve((n - i + 1) * 2);
    for (; i <= n; ++i) {
        const char16_t c = i < n ? commandLine[i] : u'\n';
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}
