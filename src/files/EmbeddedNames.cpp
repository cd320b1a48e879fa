#include "files/EmbeddedNames.h"

#include "files/DeviceNames.h"

std::vector<std::string> splitEmbeddedNames(std::string_view names) {
    std::vector<std::string> out;
    while (!names.empty()) {
        const size_t end = names.find(';');
        if (end == std::string_view::npos) {
            // The last name lacks its ";": still a name.
            out.emplace_back(names);
            break;
        }
        if (end > 0) out.emplace_back(names.substr(0, end));
        names.remove_prefix(end + 1);
    }
    return out;
}

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
