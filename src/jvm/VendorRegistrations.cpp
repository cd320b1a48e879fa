#include "jvm/VendorRegistrations.h"

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::vector<std::vector<std::string_view>> keyPatternSegments(std::string_view pattern) {
    std::vector<std::vector<std::string_view>> segments;
    for (std::string_view segment : split(pattern, '\\')) segments.push_back(split(segment, '|'));
    return segments;
}

std::string normalizedJavaHome(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    while (!text.empty() && (text.back() == '\\' || text.back() == '/') && !(text.size() == 3 && text[1] == ':'))
        text.remove_suffix(1);
    return std::string(text);
}
