#include "text/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::u16string>;

struct SplitCase {
    const char* name;
    std::u16string text;
    Words words;
};

// Written with single quotes; every case also runs mirrored, with the two
// quote characters exchanged, because both kinds must behave the same.
const SplitCase kSplitCases[] = {
    {"plain words", u"a b c", {u"a", u"b", u"c"}},
    {"quoted section in the middle", u"a 'b c' d", {u"a", u"b c", u"d"}},
    {"text before the quote joins, text after starts a word", u"x'y z'w v", {u"xy z", u"w", u"v"}},
    {"option with a quoted value", u"-Da='p q'", {u"-Da=p q"}},
    {"adjacent quoted sections are two words", u"'a''b c'", {u"a", u"b c"}},
    {"empty quotes between words", u"a '' b", {u"a", u"", u"b"}},
    {"empty quotes alone", u"''", {u""}},
    {"empty quotes after text add nothing to it", u"a''", {u"a"}},
    {"other quote kind is literal inside", u"'say \"hi there\"' x", {u"say \"hi there\"", u"x"}},
    {"other quote kind opens first", u"'a \"b' c\"", {u"a \"b", u"c"}},
    {"program path and arguments", u"'C:\\Program Files\\App\\app.exe' -J-Xmx1g 'two words' last",
     {u"C:\\Program Files\\App\\app.exe", u"-J-Xmx1g", u"two words", u"last"}},
    {"unterminated quote runs to the end", u"a 'b c", {u"a", u"b c"}},
    {"unterminated quote keeps inner spaces", u"a 'b  c  ", {u"a", u"b  c  "}},
    {"quote at the very end gives an empty word", u"a '", {u"a", u""}},
    {"double spaces give no empty word", u"a  b", {u"a", u"b"}},
    {"spaces after a closing quote", u"'a'   b", {u"a", u"b"}},
    {"tab is not a separator", u"a\tb c", {u"a\tb", u"c"}},
    {"tab at a word start stays in the word", u"\ta \tb", {u"\ta", u"\tb"}},
    {"leading and trailing spaces", u"   a b   ", {u"a", u"b"}},
    {"backslashes are literal", u"C:\\dir\\ \\'a b\\'", {u"C:\\dir\\", u"\\a b\\"}},
    {"non-ASCII text", u"\u00E9t\u00E9 '\u65E5 \u672C'", {u"\u00E9t\u00E9", u"\u65E5 \u672C"}},
    {"empty text", u"", {}},
    {"only spaces", u"    ", {}},
};

std::u16string swapQuotes(std::u16string text) {
    for (char16_t& c : text) {
        if (c == u'\'') c = u'"';
        else if (c == u'"') c = u'\'';
    }
    return text;
}

Words split(std::u16string_view text) {
    Words words;
    splitCommandLine(text, words);
    return words;
}

TEST(CommandLineTest, SplitsWordsWithSingleQuotes) {
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split(c.text), c.words);
    }
}

TEST(CommandLineTest, SplitsWordsWithDoubleQuotes) {
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.name);
        Words expected = c.words;
        std::transform(expected.begin(), expected.end(), expected.begin(), swapQuotes);
        EXPECT_EQ(split(swapQuotes(c.text)), expected);
    }
}

TEST(CommandLineTest, SplitAppendsToWordsAlreadyThere) {
    Words words{u"program"};
    splitCommandLine(u"a 'b c'", words);
    splitCommandLine(u"d", words);
    EXPECT_EQ(words, (Words{u"program", u"a", u"b c", u"d"}));
}

TEST(CommandLineTest, SplitStopsAtTheViewEnd) {
    // Callers hand in views into longer buffers; nothing past the end may leak in.
    const std::u16string buffer = u"a 'b c' tail";
    EXPECT_EQ(split(std::u16string_view(buffer).substr(0, 5)), (Words{u"a", u"b "}));
}

struct TailCase {
    const char* name;
    std::string_view line;
    std::string_view tail;
};

const TailCase kTailCases[] = {
    {"quoted program with spaces", "\"C:\\Program Files\\App\\app.exe\" -J-Xmx1g x", "-J-Xmx1g x"},
    {"unquoted program", "app.exe a b", "a b"},
    {"no arguments", "app.exe", ""},
    {"quoted program, no arguments", "\"C:\\My Apps\\app.exe\"", ""},
    {"quoted program, trailing blanks only", "\"C:\\My Apps\\app.exe\"  \t ", ""},
    {"blanks after the program are dropped, the rest is kept", "app.exe \t  a  \"b c\"  ", "a  \"b c\"  "},
    {"tab ends an unquoted program word", "app.exe\targ", "arg"},
    {"text right after the closing quote is the tail", "\"a b\"c d", "c d"},
    {"quote inside an unquoted program word is ordinary", "app\"x y\" z", "y\" z"},
    {"unterminated quoted program swallows the line", "\"C:\\app.exe a b", ""},
    {"empty line", "", ""},
};

TEST(CommandLineTest, CommandTailDropsTheProgramWord) {
    for (const TailCase& c : kTailCases) {
        SCOPED_TRACE(c.name);
        const std::string_view tail = commandTail(c.line);
        EXPECT_EQ(tail, c.tail);
        // Marker matching works on offsets into the real command line.
        EXPECT_EQ(tail.data() + tail.size(), c.line.data() + c.line.size());
    }
}

}  // namespace
