#include "text/CommandLine.h"

namespace {

constexpr char16_t kSpace = u' ';
constexpr auto kNone = std::u16string_view::npos;

// Appends the word that ends in a quoted section and returns where scanning
// goes on. The closing quote is also the end of the word, even when text
// follows it without a space; only one space after it is eaten here, further
// ones are skipped by the caller.
size_t takeQuotedWord(std::u16string_view text, size_t quotePos, size_t wordStart, char16_t quote,
                      std::vector<std::u16string>& out) {
    const size_t closePos = text.find(quote, quotePos + 1);
    const size_t innerEnd = closePos == kNone ? text.size() : closePos;

    std::u16string word(text.substr(wordStart, quotePos - wordStart));
    word.append(text.substr(quotePos + 1, innerEnd - quotePos - 1));
    out.push_back(std::move(word));

    if (closePos == kNone) return text.size();
    size_t next = closePos + 1;
    if (next < text.size() && text[next] == kSpace) ++next;
    return next;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void splitCommandLine(std::u16string_view text, std::vector<std::u16string>& out) {
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == kSpace) {
            ++pos;
            continue;
        }
        const size_t doubleQuote = text.find(u'"', pos);
        const size_t singleQuote = text.find(u'\'', pos);
        const size_t space = text.find(kSpace, pos);
        // npos compares greater than every position, so "before every quote"
        // also holds when no quote is left.
        if (space != kNone && space < doubleQuote && space < singleQuote) {
            out.emplace_back(text.substr(pos, space - pos));
            pos = space + 1;
        } else if (doubleQuote != kNone && doubleQuote < singleQuote) {
            pos = takeQuotedWord(text, doubleQuote, pos, u'"', out);
        } else if (singleQuote != kNone) {
            pos = takeQuotedWord(text, singleQuote, pos, u'\'', out);
        } else {
            out.emplace_back(text.substr(pos));
            pos = text.size();
        }
    }
}

std::string_view commandTail(std::string_view commandLine) {
    size_t pos = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const size_t closePos = commandLine.find('"', 1);
        pos = closePos == std::string_view::npos ? commandLine.size() : closePos + 1;
    } else {
        while (pos < commandLine.size() && !isBlank(commandLine[pos])) ++pos;
    }
    while (pos < commandLine.size() && isBlank(commandLine[pos])) ++pos;
    return commandLine.substr(pos);
}
