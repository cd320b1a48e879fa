// The options files beside the launcher, read through the C runtime under
// Wine. The test program stands in for the launcher: its own path decides
// which files are its default options files.
#include "core/WinApi.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "launch/VmOptionsFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Options = std::vector<std::string>;

std::wstring ownPath() { return executablePathWide(); }
std::wstring ownStem() {
    const std::wstring path = ownPath();
    return path.substr(0, path.size() - 4);
}
std::wstring ownDirectory() {
    const std::wstring path = ownPath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// Files written for one test and removed after it, whatever the outcome.
class WrittenFiles {
public:
    WrittenFiles() = default;
    WrittenFiles(const WrittenFiles&) = delete;
    WrittenFiles& operator=(const WrittenFiles&) = delete;
    ~WrittenFiles() {
        for (const std::wstring& path : paths_) ::DeleteFileW(path.c_str());
    }

    void write(const std::wstring& path, const std::string& content) {
        paths_.push_back(path);
        FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
        ASSERT_EQ(written, content.size());
    }

private:
    std::vector<std::wstring> paths_;
};

Options readDefaultFile(ClassPathDirectives* directivesOut = nullptr) {
    Options options;
    ClassPathDirectives directives;
    DefaultVmOptionsFile file = openDefaultVmOptionsFile();
    readDefaultVmOptionsFile(file.path, std::move(file.source), options, directives, launcherVmOptionsEnvironment());
    if (directivesOut != nullptr) *directivesOut = directives;
    return options;
}

TEST(VmOptionsFilesTest, OnlyTheFirstDefaultFileThatOpensIsRead) {
    const struct {
        const char* name;
        bool beside;
        bool after;
        Options options;
    } cases[] = {
        {"both present: the name without .exe wins", true, true, {"-Dfrom=beside"}},
        {"only the .exe.vmoptions file", false, true, {"-Dfrom=after"}},
        {"only the file without .exe", true, false, {"-Dfrom=beside"}},
        {"neither", false, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WrittenFiles files;
        if (c.beside) files.write(ownStem() + L".vmoptions", "-Dfrom=beside\r\n");
        if (c.after) files.write(ownPath() + L".vmoptions", "-Dfrom=after\r\n");
        EXPECT_EQ(readDefaultFile(), c.options);
    }
    EXPECT_EQ(openDefaultVmOptionsFile().source, nullptr);
}

TEST(VmOptionsFilesTest, DefaultFileReadsThroughTheRuntimeAndIncludesFromTheLauncherDirectory) {
    const std::string extraName = "vmoptions_extra_" + std::to_string(::GetCurrentProcessId()) + ".vmoptions";
    WrittenFiles files;
    files.write(ownStem() + L".vmoptions",
                "  -Xmx256m  \r\n# comment\r\n\r\n-Dp=a b\r\n-include-options " + extraName +
                    "\r\n-classpath/a first.jar\r\n-classpath/a second.jar\r\n-D" + std::string(9000, 'x') + "\r\n");
    files.write(ownDirectory() + std::wstring(extraName.begin(), extraName.end()), "\t-Dextra=1\r\n");

    ClassPathDirectives directives;
    const Options options = readDefaultFile(&directives);
    const Options expected{"-Xmx256m", "-Dp=a b", "\t-Dextra=1", "-D" + std::string(8189, 'x'),
                           std::string(9000 - 8189, 'x')};
    EXPECT_EQ(options, expected);
    EXPECT_EQ(directives.append, "second.jar");
}

TEST(VmOptionsFilesTest, DefaultFileIncludingItselfIsReadOnce) {
    const std::wstring stem = ownStem();
    const std::wstring ownName = stem.substr(stem.find_last_of(L'\\') + 1) + L".vmoptions";
    WrittenFiles files;
    files.write(stem + L".vmoptions",
                "-Dbefore\r\n-include-options " + std::string(ownName.begin(), ownName.end()) + "\r\n-Dafter\r\n");
    EXPECT_EQ(readDefaultFile(), (Options{"-Dbefore", "-Dafter"}));
}

TEST(VmOptionsFilesTest, DefaultFileOpensWhileAnotherProgramWritesIt) {
    WrittenFiles files;
    const std::wstring name = ownStem() + L".vmoptions";
    files.write(name, "-Dshared\n");
    FileHandle writer(::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(readDefaultFile(), Options{"-Dshared"});
}

TEST(VmOptionsFilesTest, MissingIncludeFileAddsNothing) {
    EXPECT_EQ(openVmOptionsFile("Z:\\no\\such\\dir\\x.vmoptions"), nullptr);
    Options options;
    ClassPathDirectives directives;
    handleVmOption(nullptr, "-include-options no_such_file.vmoptions", options, directives,
                   launcherVmOptionsEnvironment());
    EXPECT_TRUE(options.empty());
}

TEST(VmOptionsFilesTest, AnsiConvertersSplitOptionText) {
    const struct {
        const char* name;
        std::string text;
        Options words;
    } cases[] = {
        {"quoted words", "-Xmx1g '-Dp=a b' \"-Dq=c d\"", {"-Xmx1g", "-Dp=a b", "-Dq=c d"}},
        {"empty text", "", {}},
        {"longer than the conversion buffer", std::string(8190, 'a') + " bc", {std::string(8190, 'a')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Options words;
        splitOptionText(c.text, words, ansiTextConverters());
        EXPECT_EQ(words, c.words);
    }
    EXPECT_EQ(ansiTextConverters().toNarrow(ansiTextConverters().toWide("-Dx=C:\\dir")), "-Dx=C:\\dir");
}

}  // namespace
