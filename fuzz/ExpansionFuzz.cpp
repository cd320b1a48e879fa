// Expansion runs over configured texts and .vmoptions lines with values from
// the environment, and writes back into a fixed buffer: whatever the input,
// the result must fit that buffer.
#include "log/MemoryLog.h"
#include "text/Expansion.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr size_t kCapacity = 256;
constexpr size_t kMaxEntries = 4;

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

// Input: the text, then up to four environment entries, separated by line ends.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t end = std::min(input.find('\n'), input.size());
    std::string text(input.substr(0, std::min(end, kCapacity - 1)));

    // One value refers to the environment, so chains across steps are reachable.
    ExpansionValues values{"C:\\Apps\\", "", "c:\\j\\bin\\..", "${TMP}\\", {}};
    while (end < input.size() && values.environment.size() < kMaxEntries) {
        const size_t start = end + 1;
        end = std::min(input.find('\n', start), input.size());
        values.environment.emplace_back(input.substr(start, end - start));
    }

    const std::string original = text;
    clearMemoryLog();
    expandText(text, values, kCapacity);
    check(text.size() <= kCapacity - 1);
    // Every placeholder starts with "%" or "${".
    if (original.find('%') == std::string::npos && original.find("${") == std::string::npos) check(text == original);
    clearMemoryLog();
    return 0;
}
