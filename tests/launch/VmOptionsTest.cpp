#include "launch/LauncherArguments.h"
#include "launch/VmOptions.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/PathText.h"
#include "log/MemoryLog.h"
#include "support/MemoryLogQueries.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using Options = std::vector<std::string>;
using Words16 = std::vector<std::u16string>;

const std::string kLauncherDirectory = "C:\\Apps\\";

// "%p" as the log writes it: the Windows build formats with the Microsoft
// runtime (upper-case hexadecimal digits, zero-padded).
std::string pointerText(const void* pointer) {
    char text[64];
#if defined(_WIN32)
    ::_snprintf(text, sizeof text, "%p", pointer);
#else
    std::snprintf(text, sizeof text, "%p", pointer);
#endif
    return text;
}

// Files by resolved path (found regardless of case, as on Windows), the
// launcher in C:\Apps, and "%NAME%" references expanded from a small table.
class FakeSystem {
public:
    FakeSystem& file(const std::string& path, std::string content) {
        files_[lowered(path)] = std::move(content);
        return *this;
    }
    FakeSystem& variable(const std::string& name, std::string value) {
        variables_["%" + name + "%"] = std::move(value);
        return *this;
    }

    VmOptionsEnvironment environment() {
        return {[this](std::string& text) { expand(text); },
                [](const std::string& path, const char* baseFile) { return resolve(path, baseFile); },
                [this](const std::string& path) { return open(path); }};
    }

    std::vector<std::string> opened;       // resolved paths, in the order they were opened
    std::vector<const LineSource*> handles;  // what each open returned

private:
    void expand(std::string& text) const {
        for (const auto& [reference, value] : variables_) {
            for (size_t at = text.find(reference); at != std::string::npos; at = text.find(reference, at + value.size()))
                text.replace(at, reference.size(), value);
        }
    }

    static std::string resolve(const std::string& path, const char* baseFile) {
        if (!isRelativePath(path)) return path;
        if (baseFile == nullptr) return kLauncherDirectory + path;
        const std::string base(baseFile);
        return base.substr(0, base.find_last_of('\\') + 1) + path;
    }

    std::unique_ptr<LineSource> open(const std::string& path) {
        opened.push_back(path);
        auto found = files_.find(lowered(path));
        std::unique_ptr<LineSource> source;
        if (found != files_.end()) source = std::make_unique<TextLineSource>(found->second);
        handles.push_back(source.get());
        return source;
    }

    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> variables_;
};

struct ReadResult {
    Options options;
    ClassPathDirectives directives;
};

ReadResult readText(FakeSystem& system, const std::string& content, const char* baseFile = nullptr) {
    ReadResult result;
    readVmOptionsFile(baseFile, std::make_unique<TextLineSource>(content), result.options, result.directives,
                      system.environment());
    return result;
}

ReadResult handleText(FakeSystem& system, const std::string& text, const char* baseFile = nullptr) {
    ReadResult result;
    handleVmOption(baseFile, text, result.options, result.directives, system.environment());
    return result;
}

// Converters for tests: bytes and UTF-16 units map one to one (Latin-1).
TextConverters latin1Converters() {
    return {[](std::string_view narrow) {
                std::u16string wide;
                for (unsigned char c : narrow) wide.push_back(c);
                return wide;
            },
            [](std::u16string_view wide) {
                std::string narrow;
                for (char16_t c : wide) narrow.push_back(static_cast<char>(c));
                return narrow;
            }};
}

struct LineCase {
    const char* name;
    std::string content;
    Options options;
};

const LineCase kLineCases[] = {
    {"padding, comments and an empty line leave two options",
     "  -Xmx256m  \n# comment\n    # indented comment\n\n-Dp=a b\n", {"-Xmx256m", "-Dp=a b"}},
    {"quotes mean nothing", "-Dq='x y'\n-Dr=\"x y\"\n", {"-Dq='x y'", "-Dr=\"x y\""}},
    {"tabs stay part of the option", "\t-Xss1m\n-Xss2m\t\n", {"\t-Xss1m", "-Xss2m\t"}},
    {"a tab before # is no comment", "\t# not a comment\n", {"\t# not a comment"}},
    {"a byte-order mark keeps the first comment from being one", "\xEF\xBB\xBF# comment\n-Xmx1g\n",
     {"\xEF\xBB\xBF# comment", "-Xmx1g"}},
    {"# inside a line is ordinary text", "-Dx=a#b\n", {"-Dx=a#b"}},
    {"every trailing CR and LF goes, then the spaces", "-a\r\n-b\r\r\n-c  \r\n", {"-a", "-b", "-c"}},
    {"a CR inside the line stays", "-a\rb\n", {"-a\rb"}},
    {"line ends go before the spaces, so a CR before them stays", "-a\r \n", {"-a\r"}},
    {"the last line needs no line end", "-a\n-b", {"-a", "-b"}},
    {"a zero byte ends the line", std::string("-a\0ignored\n-b\n", 14), {"-a", "-b"}},
    {"lines of spaces only", "   \n \n", {}},
    {"empty file", "", {}},
    {"prefixes are case-sensitive and need their space",
     "-Classpath x\n-classpath\n-include-options\n-classpath/a   \n",
     {"-Classpath x", "-classpath", "-include-options", "-classpath/a"}},
    {"expansion follows the comment check", "%HASH%-Dx\n", {"#-Dx"}},
    {"expansion follows the trimming", "%SPACE%-Dx\n", {" -Dx"}},
    {"a line of 8191 bytes is one option", std::string(8191, 'a') + "\n-b\n", {std::string(8191, 'a'), "-b"}},
    {"a longer line is several options", std::string(8192, 'a') + "\n", {std::string(8191, 'a'), "a"}},
    {"each piece of a long line has its own line rules", std::string(8191, 'a') + "#rest\n-b\n",
     {std::string(8191, 'a'), "-b"}},
    {"a very long line in three pieces", std::string(20000, 'x'),
     {std::string(8191, 'x'), std::string(8191, 'x'), std::string(20000 - 2 * 8191, 'x')}},
};

TEST(VmOptionsFileTest, LinesBecomeOptions) {
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        system.variable("HASH", "#").variable("SPACE", " ");
        const ReadResult result = readText(system, c.content);
        EXPECT_EQ(result.options, c.options);
        EXPECT_TRUE(system.opened.empty());
    }
}

TEST(VmOptionsFileTest, NoFileReadsNothing) {
    FakeSystem system;
    Options options{"-kept"};
    ClassPathDirectives directives;
    readVmOptionsFile(nullptr, nullptr, options, directives, system.environment());
    EXPECT_EQ(options, Options{"-kept"});
    EXPECT_FALSE(directives.append.has_value());
}

struct DirectiveCase {
    const char* name;
    std::string text;
    Options options;
    std::optional<std::string> replace, prepend, append;
};

const DirectiveCase kDirectiveCases[] = {
    {"replace", "-classpath a.jar;b.jar", {}, "a.jar;b.jar", {}, {}},
    {"prepend", "-classpath/p C:\\first.jar", {}, {}, "C:\\first.jar", {}},
    {"append", "-classpath/a lib\\x.jar", {}, {}, {}, "lib\\x.jar"},
    {"value kept as written, spaces and all", "-classpath/a  x y ", {}, {}, {}, " x y "},
    {"an empty value is still a directive", "-classpath/p ", {}, {}, "", {}},
    {"any other text is one option", "-Dp=a b -Dq=c", {"-Dp=a b -Dq=c"}, {}, {}, {}},
    {"an unknown directive is an option", "-classpath/x y", {"-classpath/x y"}, {}, {}, {}},
};

TEST(VmOptionsFileTest, DirectivesSetTheirValue) {
    for (const DirectiveCase& c : kDirectiveCases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        const ReadResult result = handleText(system, c.text);
        EXPECT_EQ(result.options, c.options);
        EXPECT_EQ(result.directives.replace, c.replace);
        EXPECT_EQ(result.directives.prepend, c.prepend);
        EXPECT_EQ(result.directives.append, c.append);
    }
}

TEST(VmOptionsFileTest, TheLastDirectiveOfAKindWins) {
    FakeSystem system;
    const ReadResult result =
        readText(system, "-classpath/a first.jar\n-classpath/p p.jar\n-classpath/a second.jar\n-classpath r.jar\n");
    EXPECT_EQ(result.directives.append, "second.jar");
    EXPECT_EQ(result.directives.prepend, "p.jar");
    EXPECT_EQ(result.directives.replace, "r.jar");
    EXPECT_TRUE(result.options.empty());
}

struct IncludeCase {
    const char* name;
    const char* baseFile;
    std::string content;
    std::vector<std::pair<std::string, std::string>> files;
    Options options;
    std::vector<std::string> opened;
};

const IncludeCase kIncludeCases[] = {
    {"relative to the launcher from the default file",
     nullptr,
     "-a\n-include-options extra.vmoptions\n-b\n",
     {{"C:\\Apps\\extra.vmoptions", "-Dextra=1\n-Dextra=2\n"}},
     {"-a", "-Dextra=1", "-Dextra=2", "-b"},
     {"C:\\Apps\\extra.vmoptions"}},
    {"relative to the including file",
     "C:\\Apps\\sub\\a.vmoptions",
     "-include-options b.vmoptions\n",
     {{"C:\\Apps\\sub\\b.vmoptions", "-Dfrom=sub"}, {"C:\\Apps\\b.vmoptions", "-Dfrom=launcher"}},
     {"-Dfrom=sub"},
     {"C:\\Apps\\sub\\b.vmoptions"}},
    {"an included file's includes resolve against its own directory",
     nullptr,
     "-include-options sub\\a.vmoptions\n",
     {{"C:\\Apps\\sub\\a.vmoptions", "-Da\n-include-options b.vmoptions\n"},
      {"C:\\Apps\\sub\\b.vmoptions", "-Db"},
      {"C:\\Apps\\b.vmoptions", "-Dwrong"}},
     {"-Da", "-Db"},
     {"C:\\Apps\\sub\\a.vmoptions", "C:\\Apps\\sub\\b.vmoptions"}},
    {"an absolute path is used as it is",
     "C:\\Apps\\sub\\a.vmoptions",
     "-include-options D:\\conf\\x.vmoptions\n",
     {{"D:\\conf\\x.vmoptions", "-Dx"}},
     {"-Dx"},
     {"D:\\conf\\x.vmoptions"}},
    {"the path is expanded before it is resolved",
     nullptr,
     "-include-options %CONF%\\x.vmoptions\n",
     {{"D:\\conf\\x.vmoptions", "-Dx"}},
     {"-Dx"},
     {"D:\\conf\\x.vmoptions"}},
    {"a missing include adds nothing and reading goes on",
     nullptr,
     "-a\n-include-options missing.vmoptions\n-b\n",
     {},
     {"-a", "-b"},
     {"C:\\Apps\\missing.vmoptions"}},
};

TEST(VmOptionsIncludeTest, IncludedLinesTakeThePlaceOfTheIncludeLine) {
    for (const IncludeCase& c : kIncludeCases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        system.variable("CONF", "D:\\conf");
        for (const auto& [path, content] : c.files) system.file(path, content);
        const ReadResult result = readText(system, c.content, c.baseFile);
        EXPECT_EQ(result.options, c.options);
        EXPECT_EQ(system.opened, c.opened);
    }
}

TEST(VmOptionsIncludeTest, IncludedDirectiveOverridesTheEarlierOne) {
    FakeSystem system;
    system.file("C:\\Apps\\cp.vmoptions", "-classpath/a inner.jar\n");
    const ReadResult result = readText(system, "-classpath/a outer.jar\n-include-options cp.vmoptions\n");
    EXPECT_EQ(result.directives.append, "inner.jar");
}

TEST(VmOptionsIncludeTest, LogNamesResolvedAndExpandedPathAndHandle) {
    FakeSystem system;
    system.variable("CONF", "conf").file("C:\\Apps\\conf\\x.vmoptions", "-Dx");
    clearMemoryLog();
    readText(system, "-include-options %CONF%\\x.vmoptions\n-include-options gone.vmoptions\n");
    ASSERT_EQ(system.handles.size(), 2u);
    ASSERT_NE(system.handles[0], nullptr);
    const std::vector<std::string> expected{
        "adding vmoptions from <C:\\Apps\\conf\\x.vmoptions> (conf\\x.vmoptions) (" + pointerText(system.handles[0]) +
            ")",
        "adding vmoptions from <C:\\Apps\\gone.vmoptions> (gone.vmoptions) (" + pointerText(nullptr) + ")"};
    EXPECT_EQ(memoryLogLines(), expected);
}

TEST(VmOptionsIncludeTest, CycleIsSkippedAndReadingGoesOn) {
    FakeSystem system;
    system.file("C:\\Apps\\a.vmoptions", "-Da1\n-include-options b.vmoptions\n-Da2\n")
        .file("C:\\Apps\\b.vmoptions", "-Db1\n-include-options A.VMOPTIONS\n-Db2\n");
    clearMemoryLog();
    const ReadResult result = readText(system, "-include-options a.vmoptions\n-Dlast\n");
    EXPECT_EQ(result.options, (Options{"-Da1", "-Db1", "-Db2", "-Da2", "-Dlast"}));
    EXPECT_EQ(system.opened, (std::vector<std::string>{"C:\\Apps\\a.vmoptions", "C:\\Apps\\b.vmoptions"}));
    EXPECT_TRUE(memoryLogHas("ERROR: vmoptions include <C:\\Apps\\A.VMOPTIONS> (A.VMOPTIONS) skipped: "
                       "the file is already being read"));
}

TEST(VmOptionsIncludeTest, FileIncludingItselfThroughItsBaseIsSkipped) {
    FakeSystem system;
    system.file("C:\\Apps\\self.vmoptions", "-Dwrong");
    const ReadResult result =
        readText(system, "-Dself\n-include-options self.vmoptions\n", "C:\\Apps\\self.vmoptions");
    EXPECT_EQ(result.options, Options{"-Dself"});
    EXPECT_TRUE(system.opened.empty());
}

TEST(VmOptionsIncludeTest, DefaultFileIncludingItselfIsReadOnce) {
    FakeSystem system;
    system.file("C:\\Apps\\tool.vmoptions", "-Dwrong");
    ReadResult result;
    readDefaultVmOptionsFile("C:\\Apps\\tool.vmoptions",
                             std::make_unique<TextLineSource>("-Dtool\n-include-options Tool.vmoptions\n-Dafter\n"),
                             result.options, result.directives, system.environment());
    EXPECT_EQ(result.options, (Options{"-Dtool", "-Dafter"}));
    EXPECT_TRUE(system.opened.empty());
}

TEST(VmOptionsIncludeTest, NestingStopsAtTheDepthLimit) {
    FakeSystem system;
    for (int level = 1; level <= kMaxIncludeDepth + 4; ++level) {
        system.file("C:\\Apps\\level" + std::to_string(level) + ".vmoptions",
                    "-Dlevel=" + std::to_string(level) + "\n-include-options level" + std::to_string(level + 1) +
                        ".vmoptions\n");
    }
    clearMemoryLog();
    const ReadResult result = readText(system, "-include-options level1.vmoptions\n-Dafter\n");

    Options expected;
    for (int level = 1; level <= kMaxIncludeDepth; ++level) expected.push_back("-Dlevel=" + std::to_string(level));
    expected.push_back("-Dafter");
    EXPECT_EQ(result.options, expected);
    EXPECT_TRUE(memoryLogHas("ERROR: vmoptions include <C:\\Apps\\level17.vmoptions> (level17.vmoptions) skipped: "
                       "includes nest deeper than 16"));
}

TEST(VmOptionsIncludeTest, FilesIncludingEachOtherStopAtTheFileBudget) {
    // Six files that each include all the others: within the depth limit and
    // without a cycle they would be read 326 times.
    FakeSystem system;
    const int fileCount = 6;
    for (int i = 0; i < fileCount; ++i) {
        std::string content = "-Df" + std::to_string(i) + "\n";
        for (int j = 0; j < fileCount; ++j) content += "-include-options f" + std::to_string(j) + ".vmoptions\n";
        system.file("C:\\Apps\\f" + std::to_string(i) + ".vmoptions", content);
    }
    clearMemoryLog();
    const ReadResult result = readText(system, "-include-options f0.vmoptions\n-Dafter\n");
    EXPECT_EQ(system.opened.size(), static_cast<size_t>(kMaxIncludedFiles));
    EXPECT_EQ(result.options.size(), static_cast<size_t>(kMaxIncludedFiles) + 1);
    EXPECT_EQ(result.options.back(), "-Dafter");
    EXPECT_TRUE(std::any_of(memoryLogLines().begin(), memoryLogLines().end(), [](const std::string& line) {
        return line.find("skipped: more than 64 files included") != std::string::npos;
    }));
}

TEST(VmOptionsIncludeTest, PathLongerThanItsBufferIsRefusedNotCut) {
    FakeSystem system;
    clearMemoryLog();
    const ReadResult result = handleText(system, "-include-options " + std::string(8192, 'p'));
    EXPECT_TRUE(result.options.empty());
    EXPECT_TRUE(system.opened.empty());
    ASSERT_EQ(memoryLogLines().size(), 1u);
    EXPECT_EQ(memoryLogLines()[0].rfind("ERROR: ", 0), 0u);
}

struct NameCase {
    const char* name;
    std::u16string executable;
    std::u16string beside;
    std::u16string after;
};

TEST(DefaultVmOptionsNamesTest, BesideThenAfterTheExecutable) {
    const std::u16string longDirectory = u"C:\\" + std::u16string(8172, u'd') + u"\\";  // 8176 characters
    const NameCase cases[] = {
        {"usual launcher", u"C:\\Apps\\tool.exe", u"C:\\Apps\\tool.vmoptions", u"C:\\Apps\\tool.exe.vmoptions"},
        {"the last four characters go whatever they are", u"C:\\Apps\\TOOL.EXE", u"C:\\Apps\\TOOL.vmoptions",
         u"C:\\Apps\\TOOL.EXE.vmoptions"},
        {"no extension", u"C:\\Apps\\tool", u"C:\\Apps\\.vmoptions", u"C:\\Apps\\tool.vmoptions"},
        {"longest name that fits", longDirectory + u"a.exe", longDirectory + u"a.vmoptions",
         longDirectory + u"a.exe.vmoptions"},
        {"a name past the buffer is not tried", longDirectory + u"ab.exe", longDirectory + u"ab.vmoptions", u""},
        {"no own path", u"", u"", u""},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DefaultVmOptionsNames names = defaultVmOptionsNames(c.executable);
        EXPECT_EQ(names.besideExecutable, c.beside);
        EXPECT_EQ(names.afterExecutable, c.after);
    }
}

TEST(SplitOptionTextTest, WordsComeBackNarrow) {
    const TextConverters converters = latin1Converters();
    struct {
        const char* name;
        std::string text;
        Options words;
    } const cases[] = {
        {"quoted words", "-Xmx1g '-Dp=a b' \"-Dq=c d\"", {"-Xmx1g", "-Dp=a b", "-Dq=c d"}},
        {"code page bytes survive the round trip", "-Dname=\xE9t\xE9", {"-Dname=\xE9t\xE9"}},
        {"a zero byte ends the text", std::string("-a -b\0-c", 8), {"-a", "-b"}},
        {"a text that fills the buffer", std::string(8189, 'a') + " b", {std::string(8189, 'a'), "b"}},
        {"a longer text is cut", std::string(8190, 'a') + " bc", {std::string(8190, 'a')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Options words{"kept"};
        splitOptionText(c.text, words, converters);
        words.erase(words.begin());
        EXPECT_EQ(words, c.words);
    }
}

TEST(SplitOptionTextTest, CutIsLogged) {
    Options words;
    clearMemoryLog();
    splitOptionText(std::string(9000, 'a'), words, latin1Converters());
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].size(), 8191u);
    EXPECT_TRUE(memoryLogHas("ERROR: option text of 9000 characters cut to 8191"));
}

struct RoutingCase {
    const char* name;
    bool dashJIsJvm;
    Words16 arguments;
    Words16 forMain;
    Options options;
    std::optional<std::string> append;
};

const RoutingCase kRoutingCases[] = {
    {"-J arguments go to the JVM",
     true,
     {u"C:\\Apps\\tool.exe", u"-J-Xmx1g", u"app1", u"-J-Dp=a b"},
     {u"app1"},
     {"-Xmx1g", "-Dp=a b"},
     {}},
    {"without key 125 they are application arguments",
     false,
     {u"C:\\Apps\\tool.exe", u"-J-Xmx1g", u"-Jfoo", u"app1"},
     {u"-J-Xmx1g", u"-Jfoo", u"app1"},
     {},
     {}},
    {"-J-classpath/a sets the append directive",
     true,
     {u"tool", u"-J-classpath/a C:\\x", u"a"},
     {u"a"},
     {},
     "C:\\x"},
    {"the -J prefix is case-sensitive", true, {u"tool", u"-j-Xmx1g", u"-JX"}, {u"-j-Xmx1g"}, {"X"}, {}},
    {"formatasdefault never reaches main",
     false,
     {u"tool", u"-Dsun.locale.formatasdefault=true", u"x", u"-Dsun.locale.formatasdefault="},
     {u"x"},
     {},
     {}},
    {"other -D arguments do", true, {u"tool", u"-Dsun.locale.formatasdefault", u"-Dy=1"},
     {u"-Dsun.locale.formatasdefault", u"-Dy=1"}, {}, {}},
    {"element 0 is the program word, never for main, but read for -J",
     true,
     {u"-J-Xss1m", u"b"},
     {u"b"},
     {"-Xss1m"},
     {}},
    {"no arguments", true, {}, {}, {}, {}},
};

TEST(ArgumentRoutingTest, ArgumentsGoToTheJvmOrToMain) {
    const TextConverters converters = latin1Converters();
    for (const RoutingCase& c : kRoutingCases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        EXPECT_EQ(applicationArguments(c.arguments, c.dashJIsJvm), c.forMain);
        ReadResult result;
        addJvmArguments(c.arguments, c.dashJIsJvm, result.options, result.directives, system.environment(),
                        converters);
        EXPECT_EQ(result.options, c.options);
        EXPECT_EQ(result.directives.append, c.append);
    }
}

TEST(ArgumentRoutingTest, JvmArgumentIncludesAreExpandedAndResolveAgainstTheLauncher) {
    // Arguments are not expanded as file lines are: the include expands its path itself.
    FakeSystem system;
    system.variable("CONF", "conf").file("C:\\Apps\\extra.vmoptions", "-Dextra").file(
        "C:\\Apps\\conf\\more.vmoptions", "-Dmore");
    ReadResult result;
    addJvmArguments({u"tool", u"-J-include-options extra.vmoptions", u"-J-include-options %CONF%\\more.vmoptions"},
                    true, result.options, result.directives, system.environment(), latin1Converters());
    EXPECT_EQ(result.options, (Options{"-Dextra", "-Dmore"}));
}

TEST(ArgumentRoutingTest, Key125DecidesWhetherDashJIsForTheJvm) {
    const struct {
        const char* value;
        bool dashJIsJvm;
    } cases[] = {{"1", true}, {"2", true}, {"-1", true}, {"0", false}, {"", false}, {"no", false}, {nullptr, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value == nullptr ? "absent" : c.value);
        clearConfigStore();
        if (c.value != nullptr) storeNarrowValue(config::kDashJArgumentsAreJvmOptions, c.value);
        EXPECT_EQ(dashJArgumentsAreJvmOptions(), c.dashJIsJvm);
    }
    clearConfigStore();
}

}  // namespace
