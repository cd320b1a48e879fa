#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Sizes in bytes as a configuration writes them: "1048576", "500 KB",
// "10 MB", "1 GB". The units are multiples of 1024 and ignore case; blanks
// around the number and the unit do not matter.
namespace generator {

// The number of bytes, or nothing when the text is not a whole number with an
// optional unit or the size does not fit 63 bits.
std::optional<int64_t> parseByteSize(std::string_view text);

// The shortest form that reads back to `bytes`: "10 MB" for 10485760, "1000"
// for 1000.
std::string byteSizeText(int64_t bytes);

}  // namespace generator
