#include "ByteSize.h"

#include "core/PathText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace generator {
namespace {

struct Unit {
    std::string_view name;
    int64_t bytes;
};

// Largest first: byteSizeText takes the largest unit that divides the size.
constexpr std::array<Unit, 4> kUnits = {{{"GB", int64_t{1} << 30}, {"MB", int64_t{1} << 20}, {"KB", int64_t{1} << 10},
                                         {"B", 1}}};

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

}  // namespace

std::optional<int64_t> parseByteSize(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    int64_t number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc()) return std::nullopt;
    const std::string_view unit = trimmed(text.substr(static_cast<size_t>(end - text.data())));
    int64_t multiple = 1;
    if (!unit.empty()) {
        const auto found =
            std::find_if(kUnits.begin(), kUnits.end(), [&](const Unit& u) { return sameIgnoringCase(u.name, unit); });
        if (found == kUnits.end()) return std::nullopt;
        multiple = found->bytes;
    }
    if (number > std::numeric_limits<int64_t>::max() / multiple) return std::nullopt;
    return number * multiple;
}

std::string byteSizeText(int64_t bytes) {
    for (const Unit& unit : kUnits)
        if (unit.bytes > 1 && bytes != 0 && bytes % unit.bytes == 0)
            return std::to_string(bytes / unit.bytes) + " " + std::string(unit.name);
    return std::to_string(bytes);
}

}  // namespace generator
