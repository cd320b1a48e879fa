#include "Durations.h"

#include <iterator>

namespace generator {
namespace {

struct Unit {
    std::string_view name;
    uint32_t seconds;
};
// Largest first, as durationText tries them.
constexpr Unit kUnits[] = {{"d", 86400}, {"h", 3600}, {"min", 60}, {"s", 1}};

}  // namespace

std::optional<uint32_t> parseDurationSeconds(std::string_view text) {
    uint64_t count = 0;
    size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        count = count * 10 + static_cast<uint64_t>(text[digits] - '0');
        if (count > UINT32_MAX) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    std::string_view unit = text.substr(digits);
    if (unit.starts_with(' ')) unit.remove_prefix(1);
    for (const Unit& known : kUnits) {
        if (unit != known.name) continue;
        const uint64_t seconds = count * known.seconds;
        if (seconds > UINT32_MAX) return std::nullopt;
        return static_cast<uint32_t>(seconds);
    }
    return std::nullopt;
}

std::string durationText(uint32_t seconds) {
    for (const Unit& unit : kUnits)
        if (seconds != 0 && seconds % unit.seconds == 0) return std::to_string(seconds / unit.seconds) + std::string(unit.name);
    return "0s";
}

}  // namespace generator
