// Packed runtime homes, made in the temporary directory and unpacked with the
// stand-in unpack200.exe, which copies a pack's bytes into its jar, removes
// the pack when asked (-r) and records every command line it receives.
#include "RunToExit.h"
#include "core/LauncherState.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "diag/ErrorReport.h"
#include "diag/ExitActions.h"
#include "log/LogSink.h"
#include "files/PackedJars.h"
#include "files/PackedRuntime.h"
#include "RemoveTree.h"
#include "support/ProcessStateGuard.h"
#include "support/TestFiles.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void writeFile(const std::string& path, const std::string& content) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
        << path;
}

std::string packContent(std::string_view jar) { return "pack of " + std::string(jar) + "\n"; }

const std::vector<std::string_view> kEveryJar(kPackedJars.begin(), kPackedJars.end());

// A runtime home with the stand-in tool in bin, the packs of `packedJars` and
// the jars `plainJars`. Its path holds blanks.
class Home {
public:
    explicit Home(const std::vector<std::string_view>& packedJars = kEveryJar,
                  const std::vector<std::string_view>& plainJars = {}) {
        static int made = 0;
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "packed home " + std::to_string(::GetCurrentProcessId()) + "_" +
                std::to_string(++made);
        for (const char* directory : {"", "\\bin", "\\lib", "\\lib\\ext"}) {
            ::CreateDirectoryA((path_ + directory).c_str(), nullptr);
        }
        const std::string self = executablePath();
        const std::string tool = self.substr(0, self.rfind('\\')) + "\\standin\\unpack200.exe";
        EXPECT_TRUE(::CopyFileA(tool.c_str(), file("bin\\unpack200.exe").c_str(), FALSE)) << tool;
        for (const std::string_view jar : packedJars) writeFile(pack(jar), packContent(jar));
        for (const std::string_view jar : plainJars) writeFile(file(jar), "shipped " + std::string(jar));
    }
    ~Home() { removeTree(path_); }
    Home(const Home&) = delete;
    Home& operator=(const Home&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view relative) const { return homePath(path_, relative); }
    std::string pack(std::string_view jar) const { return packPathOf(path_, jar); }

    // The command lines the tool received, one per run.
    std::vector<std::string> runs() const {
        std::vector<std::string> lines;
        const std::string text = readFile(file("bin\\standin-unpack200-runs.txt"));
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }
    void failUnpacking(int exitCode) const {
        writeFile(file("bin\\standin-unpack200.cfg"), "exit=" + std::to_string(exitCode) + "\n");
    }

    // Each listed jar holds its pack's bytes and its pack is gone.
    void expectUnpacked(const std::vector<std::string_view>& jars) const {
        for (const std::string_view jar : jars) {
            EXPECT_EQ(readFile(file(jar)), packContent(jar)) << jar;
            EXPECT_FALSE(exists(pack(jar))) << jar;
        }
    }
    // Each listed jar is still packed and has no jar beside its pack.
    void expectPacked(const std::vector<std::string_view>& jars) const {
        for (const std::string_view jar : jars) {
            EXPECT_EQ(readFile(pack(jar)), packContent(jar)) << jar;
            EXPECT_FALSE(exists(file(jar))) << jar;
        }
    }

private:
    std::string path_;
};

class CapturedLog final : public LogSink {
public:
    CapturedLog() { setLogSink(this); }
    ~CapturedLog() override { setLogSink(nullptr); }
    bool wantsLines() override { return true; }
    void writeLine(bool isError, std::string_view text) override {
        lines.push_back((isError ? "ERROR: " : "") + std::string(text));
    }
    size_t count(const std::string& line) const { return std::count(lines.begin(), lines.end(), line); }
    std::vector<std::string> lines;
};

// What the C runtime writes to `stream` while this exists goes to a file.
class CapturedStream {
public:
    explicit CapturedStream(FILE* stream) : stream_(stream), descriptor_(_fileno(stream)) {
        char base[MAX_PATH];
        char name[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        ::GetTempFileNameA(base, "cap", 0, name);
        path_ = name;
        std::fflush(stream_);
        saved_ = _dup(descriptor_);
        const int file = _open(name, _O_WRONLY | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
        _dup2(file, descriptor_);
        _close(file);
    }
    ~CapturedStream() {
        restore();
        ::DeleteFileA(path_.c_str());
    }
    std::string text() {
        restore();
        return readFile(path_);
    }

private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stream_);
        _dup2(saved_, descriptor_);
        _close(saved_);
        saved_ = -1;
    }
    FILE* stream_;
    int descriptor_;
    int saved_ = -1;
    std::string path_;
};

DWORD WINAPI prepareOnThread(void* home) {
    preparePackedRuntime(*static_cast<const std::string*>(home));
    return 0;
}

KernelHandle startPreparation(const std::string& home) {
    return KernelHandle(
        ::CreateThread(nullptr, 0, prepareOnThread, const_cast<std::string*>(&home), CREATE_SUSPENDED, nullptr));
}

class PackedRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setQuiet();
        storeNarrowValue(config::kMessageInternalError, "internal {0}");
    }

    ProcessStateGuard processState_;
};

TEST_F(PackedRuntimeTest, EveryPackIsUnpackedOnceWithItsQuotedPathsAndTheHomeIsThenLeftAlone) {
    const Home home;
    {
        CapturedLog log;
        CapturedStream output(stdout);
        preparePackedRuntime(home.path());
        EXPECT_EQ(output.text(), "Preparing JRE ...\n");
        ASSERT_FALSE(log.lines.empty());
        EXPECT_EQ(log.lines.front(), "Unpacking JRE");
        EXPECT_EQ(log.lines.back(), "Unpacking JRE done");
        EXPECT_EQ(log.count(unpackToolPath(home.path())), 7u);
        EXPECT_EQ(log.count("waiting for unpack200 to finish"), 7u);
        EXPECT_EQ(log.count("unpack done"), 7u);
    }
    home.expectUnpacked(kEveryJar);
    const std::vector<std::string> runs = home.runs();
    ASSERT_EQ(runs.size(), kPackedJars.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string pack = home.pack(kPackedJars[i]);
        EXPECT_EQ(runs[i], unpackArguments(pack, jarPathOfPack(pack))) << "the tool is not named again";
    }

    CapturedLog log;
    CapturedStream output(stdout);
    preparePackedRuntime(home.path());
    EXPECT_EQ(output.text(), "");
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(home.runs().size(), kPackedJars.size());
}

TEST_F(PackedRuntimeTest, OnlyThePacksThatAreThereAreUnpacked) {
    const Home home({"lib\\rt.jar", "lib\\jsse.jar"});
    CapturedLog log;
    preparePackedRuntime(home.path());
    home.expectUnpacked({"lib\\rt.jar", "lib\\jsse.jar"});
    EXPECT_EQ(home.runs().size(), 2u);
    EXPECT_EQ(log.count("pack path doesn't exists"), 5u);
    EXPECT_EQ(log.lines.back(), "Unpacking JRE done");
}

TEST_F(PackedRuntimeTest, HomesThatAreNotPackedAreLeftAlone) {
    const struct {
        const char* what;
        std::vector<std::string_view> packs;
        std::vector<std::string_view> jars;
    } cases[] = {
        {"jsse.jar shipped beside a packed rt.jar", {"lib\\rt.jar"}, {"lib\\jsse.jar"}},
        {"unpacked", {}, {"lib\\rt.jar", "lib\\jsse.jar"}},
        {"no jars at all", {}, {}},
    };
    for (const auto& c : cases) {
        const Home home(c.packs, c.jars);
        CapturedLog log;
        CapturedStream output(stdout);
        preparePackedRuntime(home.path());
        EXPECT_EQ(output.text(), "") << c.what;
        EXPECT_TRUE(log.lines.empty()) << c.what;
        EXPECT_TRUE(home.runs().empty()) << c.what;
        for (const std::string_view jar : c.packs) EXPECT_TRUE(exists(home.pack(jar))) << c.what;
    }
}

TEST_F(PackedRuntimeTest, AFailedUnpackKeepsEveryPackLeavesNoJarAndIsTriedAgain) {
    const Home home;
    writeFile(home.file("lib\\rt.jar"), "half a jar from a run that died");
    home.failUnpacking(3);
    {
        CapturedLog log;
        preparePackedRuntime(home.path());
        EXPECT_EQ(log.count("ERROR: unpack200 failed with exit code 3"), 1u);
        EXPECT_EQ(log.count("Unpacking JRE done"), 0u);
    }
    EXPECT_EQ(home.runs().size(), 1u) << "nothing after the failed jar";
    home.expectPacked(kEveryJar);

    home.failUnpacking(0);
    preparePackedRuntime(home.path());
    home.expectUnpacked(kEveryJar);
    EXPECT_EQ(home.runs().size(), 1 + kPackedJars.size());
}

TEST_F(PackedRuntimeTest, AJarFailingMidwayStopsBeforeTheMarkerAndTheNextStartResumes) {
    const Home home;
    const std::vector<std::string_view> before(kPackedJars.begin(), kPackedJars.begin() + 2);
    const std::vector<std::string_view> rest(kPackedJars.begin() + 2, kPackedJars.end());
    {
        // The third pack cannot be read while this is open, so the tool fails on it.
        const FileHandle locked(
            ::CreateFileA(home.pack(rest.front()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        preparePackedRuntime(home.path());
    }
    EXPECT_EQ(home.runs().size(), 3u);
    home.expectUnpacked(before);
    home.expectPacked(rest);

    preparePackedRuntime(home.path());
    home.expectUnpacked(kEveryJar);
    EXPECT_EQ(home.runs().size(), 3 + rest.size()) << "the unpacked jars are not unpacked again";
}

std::string fatalHome;

BOOL WINAPI refuseProcess(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCSTR,
                          LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(PackedRuntimeTest, AToolThatCannotBeStartedEndsTheLauncherWithInternalErrorTwenty) {
    const struct {
        const char* what;
        bool removeTool;
        decltype(SystemCalls::createProcess) createProcess;
    } cases[] = {
        {"no unpack200.exe", true, ::CreateProcessA},
        {"process creation refused", false, refuseProcess},
    };
    for (const auto& c : cases) {
        const Home home;
        if (c.removeTool) {
            ASSERT_TRUE(::DeleteFileA(home.file("bin\\unpack200.exe").c_str()));
        }
        systemCalls().createProcess = c.createProcess;
        fatalHome = home.path();
        CapturedLog log;
        CapturedStream errors(stderr);
        EXPECT_EQ(runToExit([] { preparePackedRuntime(fatalHome); }), 1u) << c.what;
        EXPECT_EQ(errors.text(), "internal 20\n") << c.what;
        EXPECT_EQ(log.count("could not create unpack process"), 1u) << c.what;
        home.expectPacked(kEveryJar);
        // Given back and closed before the end: no launcher finds it abandoned.
        const KernelHandle mutex(
            ::OpenMutexA(SYNCHRONIZE, FALSE, homeMutexName(home.path()).c_str()));
        EXPECT_FALSE(mutex) << c.what;
        systemCalls() = realSystemCalls();
    }
}

TEST_F(PackedRuntimeTest, TwoPreparationsOfOneHomeAtOnceUnpackItOnce) {
    const Home home;
    CapturedStream output(stdout);
    const KernelHandle first = startPreparation(home.path());
    const KernelHandle second = startPreparation(home.path());
    ASSERT_TRUE(first && second);
    ::ResumeThread(first.get());
    ::ResumeThread(second.get());
    const HANDLE both[] = {first.get(), second.get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, both, TRUE, 60000), WAIT_OBJECT_0);
    EXPECT_EQ(output.text(), "Preparing JRE ...\n");
    EXPECT_EQ(home.runs().size(), kPackedJars.size());
    home.expectUnpacked(kEveryJar);
}

std::string upperCaseWithBackslash(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::toupper(c); });
    return path + "\\";
}

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

TEST_F(PackedRuntimeTest, EverySpellingOfAHomeWaitsForTheLauncherHoldingIt) {
    for (const auto spell : {upperCaseWithBackslash, withSlashes}) {
        const Home home;
        const std::string spelling = spell(home.path());
        const KernelHandle held(::CreateMutexA(nullptr, TRUE, homeMutexName(home.path()).c_str()));
        ASSERT_TRUE(held);
        const KernelHandle waiting = startPreparation(spelling);
        ASSERT_TRUE(waiting);
        ::ResumeThread(waiting.get());
        EXPECT_EQ(::WaitForSingleObject(waiting.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT)) << spelling;
        EXPECT_TRUE(home.runs().empty()) << spelling;
        const Home other;
        preparePackedRuntime(other.path());
        other.expectUnpacked(kEveryJar);
        ASSERT_TRUE(::ReleaseMutex(held.get()));
        ASSERT_EQ(::WaitForSingleObject(waiting.get(), 60000), WAIT_OBJECT_0) << spelling;
        home.expectUnpacked(kEveryJar);
    }
}

HANDLE WINAPI refuseMutex(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST_F(PackedRuntimeTest, AMutexThatCannotBeMadeLeavesThePreparationUncoordinated) {
    const Home home;
    systemCalls().createMutex = refuseMutex;
    CapturedLog log;
    preparePackedRuntime(home.path());
    home.expectUnpacked(kEveryJar);
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front().rfind("ERROR: could not create the unpack mutex Local\\zelkor_unpack_", 0), 0u)
        << log.lines.front();
}

}  // namespace
