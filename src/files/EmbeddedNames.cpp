#include "files/EmbeddedNames.h"

#include "files/DeviceNames.h"

bool isContainedName(std::string_view name) {
    if (name.empty() || name.front() == '\\' || name.front() == '/') return false;
    if (name.find(':') != std::string_view::npos) return false;
    // Both separators count: the file functions take "/" as well as "\".
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = name.find_first_of("\\/", start);
        const std::string_view part = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == ".." || isDeviceName(part)) return false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return true;
}
