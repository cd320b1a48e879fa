#include "core/PathText.h"

namespace {

template <typename Char>
void collapse(std::basic_string<Char>& path) {
    if (path.size() < 2) return;
    size_t out = 1;
    for (size_t in = 1; in < path.size(); ++in) {
        const bool repeated = path[in] == Char('\\') && path[out - 1] == Char('\\') && out > 1;
        if (!repeated) path[out++] = path[in];
    }
    path.resize(out);
}

}  // namespace

void collapseBackslashRuns(std::string& path) { collapse(path); }
void collapseBackslashRuns(std::u16string& path) { collapse(path); }

bool endsWithIgnoringCase(std::string_view text, std::string_view lowerSuffix) {
    if (text.size() < lowerSuffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - lowerSuffix.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if (asciiLower(tail[i]) != lowerSuffix[i]) return false;
    return true;
}

bool hasExeExtension(std::string_view path) { return endsWithIgnoringCase(path, ".exe"); }

bool isRelativePath(std::string_view path) {
    if (path.size() < 3) return true;
    if (path.front() == '"') {
        if (path.size() < 4) return true;
        path.remove_prefix(1);
    }
    return path.substr(1, 2) != ":\\" && path.substr(0, 2) != "\\\\";
}

bool isDriveRoot(std::string_view path) {
    if (path.size() < 2) return false;
    const std::string_view rest = path.substr(1);
    return rest == ":\\" || rest == ":\\." || rest == ":\\.\\.";
}

std::vector<std::string> splitPathList(std::string_view list) {
    std::vector<std::string> entries;
    while (!list.empty()) {
        const size_t separator = list.find(';');
        const std::string_view entry = list.substr(0, separator);
        if (!entry.empty()) entries.emplace_back(entry);
        list = separator == std::string_view::npos ? std::string_view{} : list.substr(separator + 1);
    }
    return entries;
}
