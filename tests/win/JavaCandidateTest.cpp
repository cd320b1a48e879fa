// The candidate check under Wine against stand-in runtimes: real hidden
// "-version" children, the version cache in the registry read back with the
// registry API, and the time-out. Each test works in a directory of its own,
// so its cache keys are its own too; they are removed afterwards.
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LittleEndian.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "log/MemoryLog.h"
#include "files/PathUtilities.h"
#include "jvm/CandidateCheck.h"
#include "jvm/JavaCandidate.h"
#include "jvm/win/CandidateSystem.h"
#include "jvm/win/JavaVersionRun.h"
#include "jvm/win/VersionCache.h"
#include "support/MemoryLogQueries.h"
#include "support/ProcessStateGuard.h"
#include "support/RuntimeLayout.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBits = sizeof(void*) * 8;
constexpr unsigned long kShortTimeoutMs = 1500;
const std::string kBanner = "java version \"1.8.0_202\"";

fs::path ownDirectory() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

struct StoredValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::string bytes;
};

// A value read back exactly as stored, through the wide API: the registry
// keeps texts in UTF-16 and the narrow API adds a terminator of its own.
StoredValue queryValue(const std::string& keyName, const wchar_t* value) {
    StoredValue stored;
    RegistryKey key;
    stored.status = ::RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, key.put());
    if (stored.status != ERROR_SUCCESS) return stored;
    DWORD size = 0;
    stored.status = ::RegQueryValueExW(key.get(), value, nullptr, &stored.type, nullptr, &size);
    if (stored.status != ERROR_SUCCESS) return stored;
    stored.bytes.assign(size, '\0');
    stored.status = ::RegQueryValueExW(key.get(), value, nullptr, &stored.type,
                                       reinterpret_cast<BYTE*>(stored.bytes.data()), &size);
    stored.bytes.resize(size);
    return stored;
}

// The bytes of an ASCII text in UTF-16, without a terminator.
std::string wideBytes(const std::string& text) {
    std::string bytes;
    for (char c : text) bytes += {c, '\0'};
    return bytes;
}

std::string timeBytes(FileTimeStamp time) {
    uint8_t bytes[8];
    storeLittleEndian<uint64_t>(bytes, time);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

FileTimeStamp lastWriteTime(const std::string& path) {
    FILETIME time{};
    EXPECT_TRUE(findPath(path, &time));
    return static_cast<FileTimeStamp>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

void setLastWriteTime(const std::string& path, FileTimeStamp time) {
    FileHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &written));
}

struct ValueSet {
    std::string name;
    DWORD type;
    DWORD size;
    bool operator==(const ValueSet&) const = default;
};
std::vector<ValueSet> valuesSet;
bool refuseVersionValue = false;

LSTATUS WINAPI recordSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    valuesSet.push_back({name, type, size});
    if (refuseVersionValue && std::string(name) == "Version") return ERROR_ACCESS_DENIED;
    return ::RegSetValueExA(key, name, reserved, type, data, size);
}

void PrintTo(const ValueSet& value, std::ostream* out) {
    *out << value.name << " type " << value.type << " size " << value.size;
}

class JavaCandidateTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The stand-ins of this bitness lie in standin\ beside this program (build/<preset>/tests).
        _putenv(("LAUNCHER_STANDIN_BUILD_ROOT=" + ownDirectory().parent_path().parent_path().string()).c_str());
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        scratch_ = fs::temp_directory_path() /
                   ("candidate_" + std::string(test->name()) + "_" + std::to_string(::GetCurrentProcessId()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
        clearMemoryLog();
        candidateDiary() = SearchDiary();
    }
    void TearDown() override {
        for (const std::string& key : keys_) ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        std::error_code ignored;
        fs::remove_all(scratch_, ignored);
    }

    // A stand-in JRE at scratch\<name>; the java.exe path as a candidate names it.
    std::string makeHome(const std::string& name, RuntimeShape::Kind kind = RuntimeShape::Jre,
                         const std::string& banner = kBanner) {
        home_ = makeRuntimeHome(scratch_ / name, kind, kBits, banner);
        const std::string java = (home_ / "bin" / "java.exe").string();
        keys_.push_back(versionCacheKeyName(fullPath(java, false)));
        return java;
    }
    void behave(const JavaBehaviour& behaviour) { setJavaBehaviour(home_, behaviour); }
    std::string cacheKey() const { return keys_.back(); }

    // Every output file of a "-version" run is gone again.
    void expectNoOutputFileLeft() {
        const std::string prefix = "tempFile is ";
        const std::vector<std::string> lines = memoryLogLinesStartingWith(prefix);
        EXPECT_FALSE(lines.empty());
        for (const std::string& line : lines) EXPECT_FALSE(exists(line.substr(prefix.size()))) << line;
    }

    ProcessStateGuard processState_;
    fs::path scratch_;
    fs::path home_;
    std::vector<std::string> keys_;
};

TEST_F(JavaCandidateTest, ColdCheckRunsTheRuntimeHiddenAndCachesExactBytes) {
    std::string path = makeHome("jre");
    const std::string normalised = fullPath(path, false);
    std::string version;
    valuesSet.clear();
    refuseVersionValue = false;
    systemCalls().regSetValue = recordSetValue;
    ASSERT_TRUE(checkJavaExe(path, version, "1.6", "", false));
    // The version's length is the text's; the time goes last.
    EXPECT_EQ(valuesSet, (std::vector<ValueSet>{{"Version", REG_SZ, 9}, {"LastWriteTime", REG_BINARY, 8}}));
    EXPECT_EQ(path, normalised);
    EXPECT_EQ(version, "1.8.0_202");
    EXPECT_TRUE(memoryLogHas("Java version: 1.8.0_202"));
    EXPECT_TRUE(memoryLogHas("got version from execution 1.8.0_202"));
    expectNoOutputFileLeft();

    const std::vector<JavaRun> runs = javaRuns(home_);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, "java.exe");
    EXPECT_EQ(runs[0].commandLine.front(), '"');
    EXPECT_EQ(runs[0].commandLine.substr(runs[0].commandLine.size() - 10), "\" -version");

    const StoredValue time = queryValue(cacheKey(), L"LastWriteTime");
    ASSERT_EQ(time.status, ERROR_SUCCESS);
    EXPECT_EQ(time.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(time.bytes, timeBytes(lastWriteTime(normalised)));
    const StoredValue stored = queryValue(cacheKey(), L"Version");
    ASSERT_EQ(stored.status, ERROR_SUCCESS);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    // Handed over without its terminator, the text is stored with one: the
    // system counts the NUL it finds right after the data.
    EXPECT_EQ(stored.bytes, wideBytes(std::string("1.8.0_202\0", 10)));
}

TEST_F(JavaCandidateTest, WarmCheckRunsNothingUntilTheFileChanges) {
    const std::string java = makeHome("jre");
    std::string version;
    const auto check = [&] {
        std::string path = java;
        return checkJavaExe(path, version, "1.6", "", false);
    };
    ASSERT_TRUE(check());
    ASSERT_EQ(countRuns(home_), 1);
    clearMemoryLog();
    EXPECT_TRUE(check());
    EXPECT_TRUE(check());
    EXPECT_EQ(countRuns(home_), 1);
    EXPECT_TRUE(memoryLogHas("got version from registry 1.8.0_202"));
    EXPECT_TRUE(memoryLogLinesStartingWith("tempFile is ").empty()) << "a warm check starts nothing";

    // Another build in place: a new time and a new banner.
    const FileTimeStamp newTime = lastWriteTime(java) + 864'000'000'000ull;
    setLastWriteTime(java, newTime);
    behave({"java version \"1.8.0_301\"", {}, 0, false});
    EXPECT_TRUE(check());
    EXPECT_EQ(version, "1.8.0_301");
    EXPECT_TRUE(check());
    EXPECT_EQ(countRuns(home_), 2);
    EXPECT_EQ(queryValue(cacheKey(), L"LastWriteTime").bytes, timeBytes(newTime));
    EXPECT_EQ(queryValue(cacheKey(), L"Version").bytes, wideBytes(std::string("1.8.0_301\0", 10)));
}

TEST_F(JavaCandidateTest, TheVersionComesFromTheFirstLineOnly) {
    const std::string java = fullPath(makeHome("jre"), false);
    const std::string longTail(120, '9');
    const struct {
        JavaBehaviour behaviour;
        VersionRun::Outcome outcome;
        std::string version;
    } cases[] = {
        {{"openjdk version \"11.0.2\" 2019-01-15", {"OpenJDK Runtime Environment"}, 0, false},
         VersionRun::Outcome::Version, "11.0.2"},
        {{"java version \"1.7.0_80\"", {}, 0, false}, VersionRun::Outcome::Version, "1.7.0_80"},
        // 99 characters are read, without the closing quote; the cut then drops two more.
        {{"java version \"" + longTail + "\"", {}, 0, false}, VersionRun::Outcome::Version, std::string(83, '9')},
        {{"Picked up _JAVA_OPTIONS: -Xmx1g", {kBanner}, 0, false}, VersionRun::Outcome::NoVersion, ""},
        {{"", {}, 0, false}, VersionRun::Outcome::NoVersion, ""},
        {{"java version \"", {}, 0, false}, VersionRun::Outcome::NoVersion, ""},
        {{kBanner, {}, 2, false}, VersionRun::Outcome::NonZeroExit, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour.banner);
        behave(c.behaviour);
        const VersionRun run = runJavaVersion(java);
        EXPECT_EQ(run.outcome, c.outcome);
        EXPECT_EQ(run.version, c.version);
    }
    EXPECT_EQ(countRuns(home_), 7);
    expectNoOutputFileLeft();
}

TEST_F(JavaCandidateTest, HungRuntimeIsEndedAtTheBoundAndLeavesNothing) {
    std::string path = makeHome("jre");
    behave({kBanner, {}, 0, true});
    std::string version;
    SearchDiary diary;
    EXPECT_FALSE(checkJavaExe(path, version, "1.6", "", false, windowsCandidateSystem(kShortTimeoutMs), diary));
    ASSERT_EQ(diary.records().size(), 1u);
    EXPECT_EQ(diary.records()[0].verdict, CandidateVerdict::JavaHung);
    EXPECT_TRUE(memoryLogHas("Exit Code 259"));
    EXPECT_TRUE(memoryLogHas("Terminating process"));
    EXPECT_TRUE(memoryLogHas("couldn't get version"));
    EXPECT_EQ(countRuns(home_), 1);
    // The banner was written before the hang; the file holding it is gone all the same.
    expectNoOutputFileLeft();
    EXPECT_EQ(queryValue(cacheKey(), L"Version").status, ERROR_FILE_NOT_FOUND) << "nothing cached for a hung runtime";
}

TEST_F(JavaCandidateTest, FailedRunIsMarkedAndRunAgainNextTime) {
    const std::string java = makeHome("jre");
    const struct {
        int exitCode;
    } cases[] = {{3}, {259}};  // 259 is an exit code like any other, not a hung child
    int expectedRuns = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exitCode);
        behave({kBanner, {}, c.exitCode, false});
        ::RegDeleteKeyA(HKEY_CURRENT_USER, cacheKey().c_str());
        clearMemoryLog();
        std::string path = java;
        std::string version;
        EXPECT_FALSE(checkJavaExe(path, version, "1.6", "", false));
        EXPECT_TRUE(memoryLogHas("Exit Code " + std::to_string(c.exitCode)));
        EXPECT_FALSE(memoryLogHas("Terminating process"));
        EXPECT_EQ(queryValue(cacheKey(), L"Version").bytes, wideBytes(std::string("1.0.0\0", 6)));
        EXPECT_EQ(queryValue(cacheKey(), L"LastWriteTime").bytes, timeBytes(lastWriteTime(java)));
        path = java;
        EXPECT_FALSE(checkJavaExe(path, version, "1.6", "", false));
        expectedRuns += 2;
        EXPECT_EQ(countRuns(home_), expectedRuns);
        expectNoOutputFileLeft();
    }
}

TEST_F(JavaCandidateTest, GuiLauncherNeedsJavawBesideJava) {
    storeNarrowValue(config::kLauncherKind, "1");
    const struct {
        const char* name;
        RuntimeShape::Kind kind;
        bool accepted;
    } cases[] = {{"jre", RuntimeShape::Jre, true}, {"nojavaw", RuntimeShape::NoJavaw, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = makeHome(c.name, c.kind);
        std::string version;
        EXPECT_EQ(checkJavaExe(path, version, "1.6", "", false), c.accepted);
        EXPECT_EQ(path, fullPath((home_ / "bin" / "javaw.exe").string(), false));
        EXPECT_EQ(version, "1.8.0_202");
        EXPECT_EQ(countRuns(home_), 1) << "the version is checked first";
    }
}

// The bitness comes from the headers of the stand-in jvm.dll files that the
// Windows builds made, read where the loader would look.
TEST_F(JavaCandidateTest, TheJvmLibraryOfTheLauncherBitnessMustBeThere) {
    const LibraryBitness own = kBits == 64 ? LibraryBitness::Bits64 : LibraryBitness::Bits32;
    const LibraryBitness other = kBits == 64 ? LibraryBitness::Bits32 : LibraryBitness::Bits64;
    const struct {
        const char* name;
        RuntimeShape::Kind kind;
        bool removeLibrary;
        bool lockLibrary;  // open without sharing: there, but not readable
        LibraryBitness library;
        CandidateVerdict verdict;
    } cases[] = {
        {"own", RuntimeShape::Jre, false, false, own, CandidateVerdict::Accepted},
        {"other", RuntimeShape::WrongBitness, false, false, other, CandidateVerdict::WrongBitness},
        {"none", RuntimeShape::Jre, true, false, LibraryBitness::None, CandidateVerdict::NoJvmLibrary},
        {"jdk", RuntimeShape::Jdk, false, false, own, CandidateVerdict::Accepted},  // jre\bin\server only
        {"locked", RuntimeShape::WrongBitness, false, true, LibraryBitness::Unreadable, CandidateVerdict::Accepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = makeHome(c.name, c.kind);
        const fs::path library = home_ / "bin" / "server" / "jvm.dll";
        if (c.kind != RuntimeShape::Jdk && !fs::exists(library)) GTEST_SKIP() << "no stand-in jvm.dll: " << library;
        if (c.removeLibrary) fs::remove(library);
        const FileHandle lock(c.lockLibrary ? ::CreateFileW(library.wstring().c_str(), GENERIC_READ, 0, nullptr,
                                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                            : INVALID_HANDLE_VALUE);
        ASSERT_EQ(static_cast<bool>(lock), c.lockLibrary);
        std::string version;
        EXPECT_EQ(checkJavaExe(path, version, "1.6", "", false), c.verdict == CandidateVerdict::Accepted);
        const CandidateRecord& record = candidateDiary().records().back();
        EXPECT_EQ(record.path, fullPath(path, false));
        EXPECT_EQ(record.version, "1.8.0_202");
        EXPECT_EQ(record.library, c.library);
        EXPECT_EQ(record.verdict, c.verdict);
    }
    EXPECT_EQ(candidateDiary().records().size(), std::size(cases));
}

TEST_F(JavaCandidateTest, TheRealRuntimeIsJudgedByItsOwnBanner) {
    const std::optional<fs::path> home = realRuntimeHome();
    if (kBits != 64 || !home) GTEST_SKIP() << "the real x86-64 runtime is not in the cache (scripts/setup.sh)";
    std::string path = (*home / "bin" / "java.exe").make_preferred().string();
    keys_.push_back(versionCacheKeyName(fullPath(path, false)));
    // An entry left by an earlier run would spare the run this test is about.
    ::RegDeleteKeyA(HKEY_CURRENT_USER, cacheKey().c_str());
    std::string version;
    // Its first line goes on after the closing quote with a date.
    EXPECT_TRUE(checkJavaExe(path, version, "17", "17.0.9", false));
    EXPECT_EQ(version, "17.0.9");
    ASSERT_EQ(candidateDiary().records().size(), 1u);
    EXPECT_EQ(candidateDiary().records()[0].library, LibraryBitness::Bits64);
    EXPECT_TRUE(memoryLogHas("Exit Code 0"));
    expectNoOutputFileLeft();
}

// Where a volume keeps no 8.3 names the short path is the long one.
DWORD WINAPI noShortNames(LPCSTR path, LPSTR out, DWORD capacity) {
    const DWORD length = static_cast<DWORD>(std::strlen(path));
    if (length >= capacity) return length + 1;
    std::memcpy(out, path, length + 1);
    return length;
}

TEST_F(JavaCandidateTest, APathWithBlanksStartsThatRuntimeAndNoOther) {
    // "scratch\my.exe" is what an unquoted "scratch\my runtime\bin\java.exe -version" would start.
    fs::copy_file(standinDirectory(kBits) / "java.exe", scratch_ / "my.exe");
    const fs::path decoyRuns = scratch_ / kJavaRunsFile;
    {
        std::FILE* config = std::fopen((scratch_ / kJavaConfigFile).string().c_str(), "w");
        ASSERT_NE(config, nullptr);
        std::fputs("banner=java version \"1.6.0_45\"\n", config);
        std::fclose(config);
    }
    const std::string java = makeHome("my runtime");
    for (const bool shortNames : {true, false}) {
        SCOPED_TRACE(shortNames ? "with short names" : "without short names");
        if (!shortNames) systemCalls().getShortPathName = noShortNames;
        ::RegDeleteKeyA(HKEY_CURRENT_USER, cacheKey().c_str());
        std::string path = java;
        std::string version;
        EXPECT_TRUE(checkJavaExe(path, version, "1.6", "", false));
        EXPECT_EQ(version, "1.8.0_202");
        EXPECT_FALSE(fs::exists(decoyRuns));
    }
    EXPECT_EQ(countRuns(home_), 2);
}

BOOL WINAPI refuseProcess(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCSTR,
                          LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(JavaCandidateTest, AChildThatCannotStartLeavesNoFileAndNoMark) {
    std::string path = makeHome("jre");
    systemCalls().createProcess = refuseProcess;
    std::string version;
    EXPECT_FALSE(checkJavaExe(path, version, "1.6", "", false));
    const std::vector<std::string> failures = memoryLogLinesStartingWith("Could not create process ");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("\" -version > "), std::string::npos) << failures[0];
    EXPECT_NE(failures[0].find(" (error 5)"), std::string::npos) << failures[0];
    expectNoOutputFileLeft();
    EXPECT_EQ(queryValue(cacheKey(), L"Version").status, ERROR_FILE_NOT_FOUND);
}

void setValue(const std::string& keyName, const char* name, DWORD type, const std::string& bytes) {
    RegistryKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                                nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

TEST_F(JavaCandidateTest, OnlyAnEntryOfTheRightTypesAndLengthsIsAHit) {
    const std::string path = fullPath((scratch_ / "cached" / "java.exe").string(), false);
    const std::string key = versionCacheKeyName(path);
    keys_.push_back(key);
    constexpr FileTimeStamp kTime = 0x01DA'1122'3344'5566;
    const std::string good = timeBytes(kTime);
    const struct {
        const char* name;
        DWORD timeType;
        std::string time;
        DWORD versionType;
        std::string version;
        std::optional<std::string> read;
    } cases[] = {
        {"as written", REG_BINARY, good, REG_SZ, "1.8.0_202", "1.8.0_202"},
        {"with a terminator by another writer", REG_BINARY, good, REG_SZ, std::string("1.8.0_202\0", 10),
         "1.8.0_202"},
        {"longest version", REG_BINARY, good, REG_SZ, std::string(8191, '1'), std::string(8191, '1')},
        {"version beyond a path buffer", REG_BINARY, good, REG_SZ, std::string(8192, '1'), std::nullopt},
        {"other time", REG_BINARY, timeBytes(kTime + 1), REG_SZ, "1.8.0_202", std::nullopt},
        {"time of 7 bytes", REG_BINARY, good.substr(0, 7), REG_SZ, "1.8.0_202", std::nullopt},
        {"time of 9 bytes", REG_BINARY, good + '\0', REG_SZ, "1.8.0_202", std::nullopt},
        {"time as a QWORD", REG_QWORD, good, REG_SZ, "1.8.0_202", std::nullopt},
        {"version as binary", REG_BINARY, good, REG_BINARY, "1.8.0_202", std::nullopt},
        {"version to expand", REG_BINARY, good, REG_EXPAND_SZ, "1.8.0_202", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        setValue(key, "LastWriteTime", c.timeType, c.time);
        setValue(key, "Version", c.versionType, c.version);
        EXPECT_EQ(readCachedVersion(path, kTime), c.read);
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    EXPECT_EQ(readCachedVersion(path, kTime), std::nullopt);
}

TEST_F(JavaCandidateTest, TheTimeIsWrittenLastAndOnlyAfterItsVersion) {
    const std::string path = fullPath((scratch_ / "cached" / "java.exe").string(), false);
    keys_.push_back(versionCacheKeyName(path));
    constexpr FileTimeStamp kOld = 0x01D0'0000'0000'0001;
    constexpr FileTimeStamp kNew = 0x01D0'0000'0000'0002;
    systemCalls().regSetValue = recordSetValue;
    valuesSet.clear();
    refuseVersionValue = false;
    writeCachedVersion(path, kOld, "1.8.0_45");
    EXPECT_EQ(valuesSet, (std::vector<ValueSet>{{"Version", REG_SZ, 8}, {"LastWriteTime", REG_BINARY, 8}}));
    EXPECT_EQ(readCachedVersion(path, kOld), "1.8.0_45");

    // A version that could not be written leaves the old entry whole: the new
    // time never stands beside the old version.
    refuseVersionValue = true;
    writeCachedVersion(path, kNew, "1.8.0_301");
    EXPECT_EQ(valuesSet.size(), 3u) << "no time after a refused version";
    EXPECT_EQ(readCachedVersion(path, kNew), std::nullopt);
    EXPECT_EQ(readCachedVersion(path, kOld), "1.8.0_45");
}

}  // namespace
