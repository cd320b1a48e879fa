#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Durations in launcher descriptions: a whole number and a unit, "s", "min",
// "h" or "d", with or without a blank between them ("90s", "10 min", "1d").
namespace generator {

// nullopt for any other text, and for more seconds than 32 bits hold.
std::optional<uint32_t> parseDurationSeconds(std::string_view text);

// The shortest text parseDurationSeconds reads back as `seconds`: the
// largest unit that divides it ("0s" for nothing).
std::string durationText(uint32_t seconds);

}  // namespace generator
