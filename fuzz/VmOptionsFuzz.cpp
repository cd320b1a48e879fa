// A .vmoptions file is written by hand or by other programs. Whatever its
// bytes, reading it must end, keep every option to one cleaned line, and keep
// includes within their depth and file limits even when every include finds
// the same file again (which is what the opener here does).
#include "log/MemoryLog.h"
#include "launch/VmOptions.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

struct Counters {
    int open = 0;
    int deepest = 0;
    int opened = 0;
    size_t pieces = 0;
};

// Counts how many sources are open at once, which is the nesting depth.
class CountingSource : public LineSource {
public:
    CountingSource(std::string text, Counters& counters) : inner_(std::move(text)), counters_(counters) {
        ++counters_.open;
        counters_.deepest = std::max(counters_.deepest, counters_.open);
    }
    ~CountingSource() override { --counters_.open; }
    bool nextPiece(std::string& piece) override {
        if (!inner_.nextPiece(piece)) return false;
        check(!piece.empty() && piece.size() < kOptionBufferCapacity);
        check(piece.find('\n') == std::string::npos || piece.find('\n') == piece.size() - 1);
        ++counters_.pieces;
        return true;
    }

private:
    TextLineSource inner_;
    Counters& counters_;
};

// No line feed, no zero byte, within one buffer.
void checkCleanLine(std::string_view text) {
    check(text.size() < kOptionBufferCapacity);
    check(text.find('\n') == std::string_view::npos);
    check(text.find('\0') == std::string_view::npos);
}

void checkOption(std::string_view option) {
    checkCleanLine(option);
    check(!option.empty());
    check(option.front() != ' ' && option.front() != '#');
    // A CR can end an option: line ends go before the spaces do, so "x\r \n" leaves "x\r".
    check(option.back() != ' ');
}

std::u16string latin1ToWide(std::string_view narrow) {
    std::u16string wide;
    for (unsigned char c : narrow) wide.push_back(c);
    return wide;
}

std::string wideToLatin1(std::u16string_view wide) {
    std::string narrow;
    for (char16_t c : wide) narrow.push_back(static_cast<char>(c));
    return narrow;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Include lines log; the memory log would otherwise grow over the whole run.
    clearMemoryLog();
    const std::string content(reinterpret_cast<const char*>(data), size);
    Counters counters;
    const VmOptionsEnvironment environment{
        [](std::string&) {},
        [](const std::string& path, const char* baseFile) {
            if (path.size() > 1 && path[1] == ':') return path;
            const std::string base = baseFile == nullptr ? std::string("C:\\Apps\\") : std::string(baseFile);
            return base.substr(0, base.find_last_of('\\') + 1) + path;
        },
        [&](const std::string&) -> std::unique_ptr<LineSource> {
            ++counters.opened;
            return std::make_unique<CountingSource>(content, counters);
        },
    };

    VmOptionList options;
    ClassPathDirectives directives;
    readVmOptionsFile(nullptr, std::make_unique<CountingSource>(content, counters), options, directives, environment);

    check(counters.open == 0);
    check(counters.deepest <= kMaxIncludeDepth + 1);
    check(counters.opened <= kMaxIncludedFiles);
    check(options.size() <= counters.pieces);
    for (const std::string& option : options) checkOption(option);
    for (const auto* value : {&directives.replace, &directives.prepend, &directives.append})
        if (*value) checkCleanLine(**value);

    // Option texts from configuration go through splitting instead.
    std::vector<std::string> words{"keep"};
    splitOptionText(content, words, {latin1ToWide, wideToLatin1});
    check(words.front() == "keep");
    size_t total = 0;
    for (size_t i = 1; i < words.size(); ++i) total += words[i].size();
    check(total < kOptionBufferCapacity);
    return 0;
}
