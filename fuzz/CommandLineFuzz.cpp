// Command line splitting sees whatever a user or another program starts the
// launcher with, and option texts come from configuration and files.
#include "text/CommandLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::u16string fromUtf16Le(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return text;
}

// Without quotes the words must be exactly the space-separated runs.
std::vector<std::u16string> splitAtSpaces(std::u16string_view text) {
    std::vector<std::u16string> words;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find(u' ', pos), text.size());
        if (end > pos) words.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = fromUtf16Le(data, size);

    std::vector<std::u16string> words{u"keep"};
    splitCommandLine(text, words);
    check(!words.empty() && words.front() == u"keep");

    size_t total = 0;
    for (size_t i = 1; i < words.size(); ++i) total += words[i].size();
    check(total <= text.size());
    // Every word but an empty quoted one consumes at least one character.
    check(words.size() - 1 <= text.size());

    if (text.find_first_of(u"\"'") == std::u16string::npos) {
        words.erase(words.begin());
        check(words == splitAtSpaces(text));
    }

    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string_view tail = commandTail(line);
    check(tail.size() <= line.size());
    check(tail.data() + tail.size() == line.data() + line.size());
    check(tail.empty() || (tail.front() != ' ' && tail.front() != '\t'));
    return 0;
}
