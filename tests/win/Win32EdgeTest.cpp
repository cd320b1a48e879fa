// The thin Windows layer, run under Wine: file reads and writes through Win32 handles,
// the launcher's own path, path resolution and the removal of the temporary
// directory.
#include "core/LauncherState.h"
#include "core/MemoryByteSource.h"
#include "core/PathText.h"
#include "core/PayloadReader.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/Win32ByteSink.h"
#include "core/win/Win32ByteSource.h"
#include "core/win/Win32Text.h"
#include "log/Log.h"
#include "log/LogSink.h"
#include "files/DirectoryEmptying.h"
#include "files/PathUtilities.h"
#include "files/StreamCopy.h"
#include "files/TempDirectory.h"
#include "ScratchDirectory.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

TEST(Win32ByteSourceTest, ShortReadAtTheEndIsDeliveredNotFailed) {
    ScratchDirectory scratch;
    const std::string path = scratch.file("six.bin", "\x01\x02\x03\x04\x05\x06");
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    Win32ByteSource source(file.get());
    EXPECT_EQ(source.size(), 6u);
    char buffer[8];
    uint32_t delivered = 0;
    source.seek(4);
    EXPECT_TRUE(source.read(buffer, 4, delivered));
    EXPECT_EQ(delivered, 2u);
    EXPECT_EQ(source.position(), 6u);

    source.seek(3);
    PayloadReader reader(source);
    int32_t value = 0;
    EXPECT_FALSE(reader.readInt(value));
    EXPECT_STREQ(reader.failure(), "Internal Error: readInt");
    source.seek(0);
    PayloadReader fresh(source);
    ASSERT_TRUE(fresh.readInt(value));
    EXPECT_EQ(value, 0x04030201);
}

std::string readWhole(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text(1 << 16, '\0');
    DWORD got = 0;
    ::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    text.resize(got);
    return text;
}

TEST(Win32ByteSinkTest, ExtractionCopiesBetweenFileHandlesAndKeepsTheWriteError) {
    ScratchDirectory scratch;
    std::string content(9000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 13);
    const std::string sourcePath = scratch.file("packed.bin", content);
    FileHandle in(::CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(in);
    Win32ByteSource source(in.get());
    const std::string targetPath = scratch.path() + "\\unpacked.bin";
    {
        FileHandle out(::CreateFileA(targetPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out);
        Win32ByteSink target(out.get());
        EXPECT_EQ(copyStream(source, target, 8193, true), 0);
    }
    const std::string unpacked = readWhole(targetPath);
    ASSERT_EQ(unpacked.size(), 8193u);
    for (size_t i = 0; i < unpacked.size(); ++i)
        ASSERT_EQ(static_cast<uint8_t>(unpacked[i]), static_cast<uint8_t>(content[i] ^ 0x5C)) << i;

    // A handle opened for reading only refuses the write; the error is the one WriteFile set.
    FileHandle readOnly(::CreateFileA(targetPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(readOnly);
    Win32ByteSink refusing(readOnly.get());
    uint32_t written = 7;
    EXPECT_FALSE(refusing.write("abc", 3, written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(refusing.lastError(), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    source.seek(0);
    EXPECT_EQ(copyStream(source, refusing, 10, false), 2);
}

TEST(ExecutablePathTest, OwnPathIsTheLongExePathWithoutDoubledBackslashes) {
    const std::string ansi = executablePath();
    const std::wstring wide = executablePathWide();
    EXPECT_TRUE(hasExeExtension(ansi)) << ansi;
    EXPECT_EQ(ansi.find("\\\\", 1), std::string::npos) << ansi;
    EXPECT_EQ(ansi, std::string(wide.begin(), wide.end())) << "an ASCII path reads the same in both forms";
    EXPECT_NE(ansi.find("win_edge_tests"), std::string::npos) << ansi;
    EXPECT_EQ(executablePath(), executablePath()) << "computed once and cached";
}

TEST(PathUtilitiesTest, RelativePathsResolveAgainstTheLauncherDirectory) {
    const std::string own = executablePath();
    const std::string directory = own.substr(0, own.find_last_of('\\'));
    EXPECT_EQ(fullPath("x\\..\\y", true), directory + "\\y");
    EXPECT_EQ(fullPath("C:\\A\\\\B", true), "C:\\A\\B");
    EXPECT_EQ(fullPath("C:\\A\\B", false), "c:\\a\\b");
}

TEST(PathUtilitiesTest, ResolvingAgainstABaseFileAndLists) {
    ScratchDirectory scratch;
    const std::string base = scratch.file("base.vmoptions");
    EXPECT_EQ(resolvePath("b.vmoptions", base.c_str()), scratch.path() + "\\b.vmoptions");
    EXPECT_EQ(resolvePath("C:\\x\\\\y"), "C:\\x\\y");
    EXPECT_EQ(resolvePath("lib"), launcherDirectory() + "lib");
    EXPECT_EQ(resolvePathList(";lib;;C:\\x;"), launcherDirectory() + "lib;C:\\x");
    EXPECT_EQ(launcherDirectory().back(), '\\');
}

TEST(PathUtilitiesTest, ExistenceWithTheDriveRootRule) {
    ScratchDirectory scratch;
    EXPECT_TRUE(pathExists("Q:\\")) << "a drive root counts as existing without a look-up";
    EXPECT_TRUE(pathExists(scratch.file("here.txt")));
    EXPECT_FALSE(pathExists(scratch.path() + "\\absent.txt"));
    FILETIME written{};
    EXPECT_TRUE(findPath(scratch.path() + "\\here.txt", &written));
    EXPECT_NE(written.dwLowDateTime | written.dwHighDateTime, 0u);
    EXPECT_TRUE(isWritableDir(scratch.path()));
    EXPECT_FALSE(isWritableDir(scratch.path() + "\\absent"));
}

TEST(TempDirectoryTest, CommunicationFileIsNamedAfterTheProcess) {
    const std::string name = makeCommFileName(4242);
    EXPECT_EQ(name, findTempPath() + "zkr_p4242.tmp");
    EXPECT_EQ(findTempPath().back(), '\\');
}

TEST(TempDirectoryTest, EmptyingReachesOneLevelOfSubdirectories) {
    ScratchDirectory scratch;
    const std::string top = scratch.file("a.txt");
    scratch.directory("sub");
    const std::string second = scratch.file("sub\\b.txt");
    const std::string emptySub = scratch.directory("empty");
    scratch.directory("sub\\deeper");
    const std::string third = scratch.file("sub\\deeper\\c.txt");

    emptyDirectory(scratch.path(), 1);
    EXPECT_FALSE(exists(top));
    EXPECT_FALSE(exists(second));
    EXPECT_FALSE(exists(emptySub));
    EXPECT_TRUE(exists(third)) << "files two levels down are not removed";
    EXPECT_TRUE(exists(scratch.path() + "\\sub")) << "a directory that still holds them stays";
}

TEST(TempDirectoryTest, RelativeAndEmptyPathsAreNeverEmptied) {
    ScratchDirectory scratch;
    const std::string kept = scratch.file("kept.txt");
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(scratch.path().c_str());
    emptyDirectory(".", 1);
    emptyDirectory("", 1);
    ::SetCurrentDirectoryA(previous);
    EXPECT_TRUE(exists(kept));
}

TEST(TempDirectoryTest, RemovalTakesTheWholeDirectory) {
    ScratchDirectory scratch;
    const std::string directory = scratch.directory("launcher_tmp");
    scratch.file("launcher_tmp\\app.jar");
    scratch.directory("launcher_tmp\\lib");
    scratch.file("launcher_tmp\\lib\\x.jar");
    setTempDir(directory);
    removeTempDirectory();
    setTempDir({});
    EXPECT_FALSE(exists(directory));
}

// Lines as a sink receives them, while it is installed.
class CapturedLog final : public LogSink {
public:
    explicit CapturedLog(bool on) : on_(on) { setLogSink(this); }
    ~CapturedLog() override { setLogSink(nullptr); }
    bool wantsLines() override { return on_; }
    void writeLine(bool isError, std::string_view text) override {
        lines.push_back((isError ? "ERROR: " : "") + std::string(text));
    }
    std::vector<std::string> lines;

private:
    bool on_;
};

TEST(LogFormatTest, MicrosoftFormsAsTheLogHasAlwaysWrittenThem) {
    CapturedLog log(true);
    const std::string longText(5000, 'x');
    logMessage("%S|%p|%I64d|%d", L"wide \u00e9", reinterpret_cast<void*>(0xAB12), -5000000000LL, 7);
    logError("%s", longText.c_str());
    const std::string pointer = sizeof(void*) == 8 ? "000000000000AB12" : "0000AB12";
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "wide \xe9|" + pointer + "|-5000000000|7");
    EXPECT_EQ(log.lines[1], "ERROR: " + longText);
}

TEST(LogFormatTest, NothingReachesASinkThatWantsNoLines) {
    CapturedLog log(false);
    logMessage("%d", 1);
    logError("%s", "x");
    EXPECT_TRUE(log.lines.empty());
}

TEST(Win32TextTest, ConversionsSayWhenACharacterHasNoNarrowForm) {
    // Wine's prefix runs with the Western code page.
    ASSERT_EQ(::GetACP(), 1252u);
    const struct {
        std::u16string wide;
        std::string narrow;
        bool representable;
    } cases[] = {
        {u"", "", true},
        {u"C:\\caf\u00e9\\a.jar", "C:\\caf\xe9\\a.jar", true},
        {u"x\u4e2dy", "x?y", false},
    };
    for (const auto& c : cases) {
        std::string ansi, path;
        EXPECT_EQ(utf16ToAnsi(c.wide, ansi), c.representable);
        EXPECT_EQ(ansi, c.narrow);
        EXPECT_EQ(utf16ToPath(c.wide, path), c.representable);
        EXPECT_EQ(path, c.narrow);
        if (c.representable) {
            EXPECT_EQ(ansiToUtf16(c.narrow), c.wide);
        }
    }
}

TEST(Win32TextTest, BoundedCallsKeepOnlyTextsThatFit) {
    const auto answering = [](DWORD length) {
        return boundedText([length](char* buffer, DWORD capacity) {
            std::memset(buffer, 'a', std::min<DWORD>(length, capacity));
            return length;
        });
    };
    EXPECT_EQ(answering(0), std::nullopt);
    EXPECT_EQ(answering(3), "aaa");
    EXPECT_EQ(answering(kBufferCapacity - 1), std::string(kBufferCapacity - 1, 'a'));
    EXPECT_EQ(answering(kBufferCapacity), std::nullopt) << "the size it would need: the text did not fit";

    ::SetEnvironmentVariableA("WIN32_TEXT_TEST", "value");
    EXPECT_EQ(environmentValue("WIN32_TEXT_TEST"), "value");
    ::SetEnvironmentVariableA("WIN32_TEXT_TEST", std::string(kBufferCapacity, 'v').c_str());
    EXPECT_EQ(environmentValue("WIN32_TEXT_TEST"), std::nullopt);
    ::SetEnvironmentVariableA("WIN32_TEXT_TEST", nullptr);
    EXPECT_EQ(environmentValue("WIN32_TEXT_TEST"), std::nullopt);
}

}  // namespace
