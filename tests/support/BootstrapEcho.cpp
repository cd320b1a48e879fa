#include "support/BootstrapEcho.h"

#include <charconv>

BootstrapEcho parseBootstrapEcho(std::string_view output) {
    BootstrapEcho echo;
    auto decode = [&echo](std::string_view escaped) {
        std::u16string text;
        for (; escaped.size() >= 6 && escaped.substr(0, 2) == "\\u"; escaped.remove_prefix(6)) {
            unsigned unit = 0;
            const char* digits = escaped.data() + 2;
            if (std::from_chars(digits, digits + 4, unit, 16).ptr != digits + 4) break;
            text.push_back(static_cast<char16_t>(unit));
        }
        if (!escaped.empty()) echo.wellFormed = false;
        return text;
    };
    while (!output.empty()) {
        size_t end = output.find('\n');
        std::string_view line = output.substr(0, end);
        output.remove_prefix(end == std::string_view::npos ? output.size() : end + 1);

        size_t first = line.find(' ');
        size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
        if (second == std::string_view::npos) {
            echo.wellFormed = false;
            continue;
        }
        std::string_view kind = line.substr(0, first);
        std::string key(line.substr(first + 1, second - first - 1));
        std::u16string value = decode(line.substr(second + 1));
        if (kind == "arg" && key == std::to_string(echo.arguments.size())) {
            echo.arguments.push_back(std::move(value));
        } else if (kind == "prop") {
            echo.properties[key] = std::move(value);
        } else {
            echo.wellFormed = false;
        }
    }
    return echo;
}
