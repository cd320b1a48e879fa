#include "jvm/CandidateCheck.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/PeImage.h"
#include "log/MemoryLog.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Outcome = VersionRun::Outcome;
using Verdict = CandidateVerdict;

struct CacheEntry {
    FileTimeStamp time;
    std::string version;
    bool operator==(const CacheEntry&) const = default;
};

const std::string kJava = "c:\\jre\\bin\\java.exe";
const std::string kJavaw = "c:\\jre\\bin\\javaw.exe";
const std::string kServerJvm = "c:\\jre\\bin\\server\\jvm.dll";
constexpr FileTimeStamp kTime = 0x01D9'0000'1234'5678;
constexpr uint16_t kMachineArm64 = 0xAA64;

// Files with their times (a jvm.dll also with its machine, none when its
// headers cannot be read), a version cache that holds one entry per path and
// hits only for the exact time, and "-version" runs that answer from a table
// and are counted. A 64-bit JRE's server\jvm.dll is there unless a test
// takes it away.
class FakeSystem {
public:
    std::map<std::string, FileTimeStamp> files{{kServerJvm, kTime}};
    std::map<std::string, std::optional<uint16_t>> machines{{kServerJvm, PeImage::kMachineAmd64}};
    std::map<std::string, CacheEntry> cache;
    std::map<std::string, VersionRun> runAnswers;
    std::vector<std::string> runs;
    std::vector<std::pair<std::string, CacheEntry>> writes;
    std::vector<std::string> libraryReads;
    LibraryBitness launcherBitness = LibraryBitness::Bits64;
    // Like Windows', the disk ignores case unless a test makes it keep it.
    bool keepsCase = false;

    void addLibrary(const std::string& path, std::optional<uint16_t> machine) {
        files[path] = kTime;
        machines[path] = machine;
    }
    void removeLibrary(const std::string& path) {
        files.erase(path);
        machines.erase(path);
    }

    CandidateSystem system() {
        return {
            [this](const std::string& path) { return keepsCase ? path : lowered(path); },
            [](const std::string& path) { return lowered(path); },
            [this](const std::string& path, FileTimeStamp& time) {
                const auto found = files.find(path);
                if (found == files.end()) return false;
                time = found->second;
                return true;
            },
            [this](const std::string& path) { return files.count(path) != 0; },
            [this](const std::string& path, FileTimeStamp time) -> std::optional<std::string> {
                const auto found = cache.find(path);
                if (found == cache.end() || found->second.time != time) return std::nullopt;
                return found->second.version;
            },
            [this](const std::string& path, FileTimeStamp time, const std::string& version) {
                writes.push_back({path, {time, version}});
                cache[path] = {time, version};
            },
            [this](const std::string& path) {
                runs.push_back(path);
                const auto found = runAnswers.find(path);
                return found == runAnswers.end() ? VersionRun{Outcome::NotFinished, {}} : found->second;
            },
            [this](const std::string& path) {
                libraryReads.push_back(path);
                return files.count(path) != 0 ? FileMachine{true, machines.at(path)} : FileMachine{};
            },
            launcherBitness,
        };
    }
};

class CandidateCheckTest : public ::testing::Test {
protected:
    void SetUp() override { clearMemoryLog(); }
    void TearDown() override { clearConfigStore(); }
};

TEST_F(CandidateCheckTest, DecidesFromTheFileTheCacheTheRunAndTheLimits) {
    const struct {
        const char* name;
        bool javaExists;
        bool javawExists;
        std::optional<CacheEntry> cached;
        std::optional<VersionRun> run;  // nothing: the check must not run the runtime
        const char* launcherKind;
        const char* prereleaseKey;
        bool allowBeta;
        const char* min;
        const char* max;
        bool accepted;
        const char* pathAfter;
        const char* versionAfter;
        std::optional<CacheEntry> written;
        Lines log;  // between the first line and the last
        CandidateVerdict verdict;
    } cases[] = {
        {"missing file", false, true, std::nullopt, std::nullopt, "0", "0", false, "1.6", "", false, kJava.c_str(),
         "untouched", std::nullopt, {"file doesn't exist"}, Verdict::NoJavaExe},
        {"valid cache entry", true, true, CacheEntry{kTime, "1.8.0_202"}, std::nullopt, "0", "0", false, "1.6", "",
         true, kJava.c_str(), "1.8.0_202", std::nullopt, {"file exists", "got version from registry 1.8.0_202"},
         Verdict::Accepted},
        {"cached version outside the limits", true, true, CacheEntry{kTime, "1.5.0_22"}, std::nullopt, "0", "0", false,
         "1.6", "", false, kJava.c_str(), "1.5.0_22", std::nullopt,
         {"file exists", "got version from registry 1.5.0_22"}, Verdict::BelowMinimum},
        {"stale cache entry", true, true, CacheEntry{kTime - 1, "1.6.0_45"}, VersionRun{Outcome::Version, "1.8.0_202"},
         "0", "0", false, "1.6", "", true, kJava.c_str(), "1.8.0_202", CacheEntry{kTime, "1.8.0_202"},
         {"file exists", "got version from execution 1.8.0_202"}, Verdict::Accepted},
        {"failure marker in the cache", true, true, CacheEntry{kTime, "1.0.0"}, VersionRun{Outcome::Version, "11.0.2"},
         "0", "0", false, "1.6", "", true, kJava.c_str(), "11.0.2", CacheEntry{kTime, "11.0.2"},
         {"file exists", "got version from execution 11.0.2"}, Verdict::Accepted},
        {"empty cached version", true, true, CacheEntry{kTime, ""}, VersionRun{Outcome::Version, "11.0.2"}, "0", "0",
         false, "1.6", "", true, kJava.c_str(), "11.0.2", CacheEntry{kTime, "11.0.2"},
         {"file exists", "got version from execution 11.0.2"}, Verdict::Accepted},
        {"run version above the maximum is cached all the same", true, true, std::nullopt,
         VersionRun{Outcome::Version, "9.0.4"}, "0", "0", false, "", "1.8", false, kJava.c_str(), "9.0.4",
         CacheEntry{kTime, "9.0.4"}, {"file exists", "got version from execution 9.0.4"}, Verdict::AboveMaximum},
        {"non-zero exit is marked", true, true, std::nullopt, VersionRun{Outcome::NonZeroExit, {}}, "0", "0", false,
         "1.6", "", false, kJava.c_str(), "", CacheEntry{kTime, "1.0.0"}, {"file exists", "couldn't get version"},
         Verdict::JavaFailed},
        {"unfinished run leaves no mark", true, true, std::nullopt, VersionRun{Outcome::NotFinished, {}}, "0", "0",
         false, "1.6", "", false, kJava.c_str(), "", std::nullopt, {"file exists", "couldn't get version"},
         Verdict::JavaHung},
        {"unknown first line leaves no mark", true, true, std::nullopt, VersionRun{Outcome::NoVersion, {}}, "0", "0",
         false, "1.6", "", false, kJava.c_str(), "", std::nullopt, {"file exists", "couldn't get version"},
         Verdict::NoVersionLine},
        {"pre-release refused", true, true, std::nullopt, VersionRun{Outcome::Version, "1.9.0-ea"}, "0", "0", false,
         "1.6", "", false, kJava.c_str(), "1.9.0-ea", CacheEntry{kTime, "1.9.0-ea"},
         {"file exists", "got version from execution 1.9.0-ea", "beta vm not allowed"}, Verdict::Prerelease},
        {"pre-release allowed by the source", true, true, std::nullopt, VersionRun{Outcome::Version, "1.9.0-ea"}, "0",
         "0", true, "1.6", "", true, kJava.c_str(), "1.9.0-ea", CacheEntry{kTime, "1.9.0-ea"},
         {"file exists", "got version from execution 1.9.0-ea"}, Verdict::Accepted},
        {"pre-release allowed by key 130", true, true, CacheEntry{kTime, "1.9.0-ea"}, std::nullopt, "0", "1", false,
         "1.6", "", true, kJava.c_str(), "1.9.0-ea", std::nullopt,
         {"file exists", "got version from registry 1.9.0-ea"}, Verdict::Accepted},
        {"GUI launcher takes javaw.exe", true, true, CacheEntry{kTime, "1.8.0_202"}, std::nullopt, "1", "0", false,
         "1.6", "", true, kJavaw.c_str(), "1.8.0_202", std::nullopt,
         {"file exists", "got version from registry 1.8.0_202"}, Verdict::Accepted},
        {"GUI launcher without javaw.exe", true, false, std::nullopt, VersionRun{Outcome::Version, "1.8.0_202"}, "1",
         "0", false, "1.6", "", false, kJavaw.c_str(), "1.8.0_202", CacheEntry{kTime, "1.8.0_202"},
         {"file exists", "got version from execution 1.8.0_202"}, Verdict::NoJavaw},
        {"GUI launcher, version refused: javaw.exe not looked at", true, true, CacheEntry{kTime, "1.5.0_22"},
         std::nullopt, "1", "0", false, "1.6", "", false, kJava.c_str(), "1.5.0_22", std::nullopt,
         {"file exists", "got version from registry 1.5.0_22"}, Verdict::BelowMinimum},
        {"service launcher needs no javaw.exe", true, false, CacheEntry{kTime, "1.8.0_202"}, std::nullopt, "2", "0",
         false, "1.6", "", true, kJava.c_str(), "1.8.0_202", std::nullopt,
         {"file exists", "got version from registry 1.8.0_202"}, Verdict::Accepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearMemoryLog();
        clearConfigStore();
        storeNarrowValue(config::kLauncherKind, c.launcherKind);
        storeNarrowValue(config::kAllowPrereleaseJvm, c.prereleaseKey);
        FakeSystem fake;
        if (c.javaExists) fake.files[kJava] = kTime;
        if (c.javawExists) fake.files[kJavaw] = kTime;
        if (c.cached) fake.cache[kJava] = *c.cached;
        if (c.run) fake.runAnswers[kJava] = *c.run;

        std::string path = "C:\\JRE\\bin\\Java.exe";
        std::string version = "untouched";
        SearchDiary diary;
        EXPECT_EQ(checkJavaExe(path, version, c.min, c.max, c.allowBeta, fake.system(), diary), c.accepted);
        EXPECT_EQ(path, c.pathAfter);
        EXPECT_EQ(version, c.versionAfter);
        ASSERT_EQ(diary.records().size(), 1u);
        const CandidateRecord& record = diary.records()[0];
        EXPECT_EQ(record.verdict, c.verdict);
        EXPECT_EQ(record.path, c.pathAfter);
        EXPECT_EQ(record.version, c.javaExists ? c.versionAfter : "");
        // The libraries are looked at only for a runtime that would be taken.
        EXPECT_EQ(record.library, c.accepted ? LibraryBitness::Bits64 : LibraryBitness::NotLooked);
        EXPECT_EQ(fake.runs, c.run ? Lines{kJava} : Lines{});
        if (c.written) {
            EXPECT_EQ(fake.writes, (std::vector<std::pair<std::string, CacheEntry>>{{kJava, *c.written}}));
        } else {
            EXPECT_TRUE(fake.writes.empty());
        }
        Lines log = {"checkJavaExe (C:\\JRE\\bin\\Java.exe, [out], " + std::string(c.min) + ", " + c.max + ", " +
                     (c.allowBeta ? "1" : "0") + ")"};
        log.insert(log.end(), c.log.begin(), c.log.end());
        log.push_back(std::string("checkJavaExe returning ") + (c.accepted ? "1" : "0"));
        EXPECT_EQ(memoryLogLines(), log);
    }
}

// Where the loader looks and what it would reach: the first library of the
// launcher's bitness wins over any other before it; one whose headers cannot
// be read leaves the decision to the loader.
TEST_F(CandidateCheckTest, TheJvmLibraryDecidesAfterEverythingElse) {
    const std::string client = "c:\\jre\\bin\\client\\jvm.dll";
    const std::string hotspot = "c:\\jre\\bin\\hotspot\\jvm.dll";
    const std::string jdkServer = "c:\\jre\\bin\\..\\jre\\bin\\server\\jvm.dll";
    const std::string preferred = "c:\\jre\\bin\\custom\\jvm.dll";
    using Libraries = std::map<std::string, std::optional<uint16_t>>;
    const std::optional<uint16_t> x64 = PeImage::kMachineAmd64, x86 = PeImage::kMachineI386, arm64 = kMachineArm64,
                                  unreadable = std::nullopt;
    const struct {
        const char* name;
        LibraryBitness launcher;
        Libraries libraries;  // in place of server\jvm.dll
        const char* preferredDirectory;
        const char* cachedVersion;
        LibraryBitness library;
        Verdict verdict;
    } cases[] = {
        {"own bitness", LibraryBitness::Bits64, {{kServerJvm, x64}}, "", "1.8.0_202", LibraryBitness::Bits64,
         Verdict::Accepted},
        {"32-bit library, 64-bit launcher", LibraryBitness::Bits64, {{kServerJvm, x86}}, "", "1.8.0_202",
         LibraryBitness::Bits32, Verdict::WrongBitness},
        {"no library at all", LibraryBitness::Bits64, {}, "", "1.8.0_202", LibraryBitness::None,
         Verdict::NoJvmLibrary},
        {"the loader reaches past a client of the other bitness", LibraryBitness::Bits64,
         {{client, x86}, {kServerJvm, x64}}, "", "1.8.0_202", LibraryBitness::Bits64, Verdict::Accepted},
        {"of two of the other bitness the first is shown", LibraryBitness::Bits32,
         {{hotspot, arm64}, {kServerJvm, x64}}, "", "1.8.0_202", LibraryBitness::OtherMachine,
         Verdict::WrongBitness},
        {"a JDK's library under jre\\bin", LibraryBitness::Bits64, {{jdkServer, x64}}, "", "1.8.0_202",
         LibraryBitness::Bits64, Verdict::Accepted},
        {"the preferred directory of key 152", LibraryBitness::Bits32, {{preferred, x86}}, "custom", "1.8.0_202",
         LibraryBitness::Bits32, Verdict::Accepted},
        {"unreadable headers are the loader's business", LibraryBitness::Bits64, {{kServerJvm, unreadable}}, "",
         "1.8.0_202", LibraryBitness::Unreadable, Verdict::Accepted},
        {"unreadable beside the other bitness", LibraryBitness::Bits64, {{client, x86}, {kServerJvm, unreadable}},
         "", "1.8.0_202", LibraryBitness::Unreadable, Verdict::Accepted},
        {"a refused version keeps its verdict, the bitness is shown", LibraryBitness::Bits64, {{kServerJvm, x86}},
         "", "1.5.0_22", LibraryBitness::Bits32, Verdict::BelowMinimum},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearMemoryLog();
        clearConfigStore();
        storeNarrowValue(config::kPreferredJvmDllDirectory, c.preferredDirectory);
        FakeSystem fake;
        fake.launcherBitness = c.launcher;
        fake.removeLibrary(kServerJvm);
        for (const auto& [path, machine] : c.libraries) fake.addLibrary(path, machine);
        fake.files[kJava] = kTime;
        fake.cache[kJava] = {kTime, c.cachedVersion};

        std::string path = kJava;
        std::string version;
        SearchDiary diary;
        EXPECT_EQ(checkJavaExe(path, version, "1.6", "", false, fake.system(), diary), c.verdict == Verdict::Accepted);
        ASSERT_EQ(diary.records().size(), 1u);
        // A refused version costs no library lookups; the table asks for them when it is written.
        const bool looked = c.verdict != Verdict::BelowMinimum;
        EXPECT_EQ(diary.records()[0].library, looked ? c.library : LibraryBitness::NotLooked);
        const CandidateSystem& system = fake.system();
        diary.lookUpMissingLibraries([&system](const std::string& javaExe) { return jvmLibraryBitness(javaExe, system); });
        EXPECT_EQ(diary.records()[0].library, c.library);
        EXPECT_EQ(diary.records()[0].verdict, c.verdict);
        EXPECT_EQ(jvmLibraryBitness(kJava, fake.system()), c.library);
    }
}

// A runtime of the launcher's bitness costs one read: a lookup of a missing
// sub-directory lists its bin directory under Wine.
TEST_F(CandidateCheckTest, TheUsualLibraryOfTheLaunchersBitnessIsReadFirst) {
    const std::string client = "c:\\jre\\bin\\client\\jvm.dll";
    const struct {
        LibraryBitness launcher;
        std::string library;
        uint16_t machine;
    } cases[] = {
        {LibraryBitness::Bits64, kServerJvm, PeImage::kMachineAmd64},
        {LibraryBitness::Bits32, client, PeImage::kMachineI386},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        FakeSystem fake;
        fake.launcherBitness = c.launcher;
        fake.removeLibrary(kServerJvm);
        fake.addLibrary(c.library, c.machine);
        EXPECT_EQ(jvmLibraryBitness(kJava, fake.system()), c.launcher);
        EXPECT_EQ(fake.libraryReads, Lines{c.library});
    }
}

// The disk is asked for the path as written (under Wine a lower-cased path
// costs a directory listing per component of another case); the cache and
// the caller get the lower-cased identity.
TEST_F(CandidateCheckTest, TheDiskIsAskedInThePathsOwnCaseTheCacheInLowerCase) {
    storeNarrowValue(config::kLauncherKind, "1");  // GUI: javaw.exe is looked up too
    const std::string home = "C:\\Program Files\\JRE";
    FakeSystem fake;
    fake.keepsCase = true;
    fake.removeLibrary(kServerJvm);
    fake.addLibrary(home + "\\bin\\server\\jvm.dll", PeImage::kMachineAmd64);
    fake.files[home + "\\bin\\java.exe"] = kTime;
    fake.files[home + "\\bin\\javaw.exe"] = kTime;
    const std::string identity = "c:\\program files\\jre\\bin\\java.exe";
    fake.cache[identity] = {kTime, "17.0.9"};

    std::string path = home + "\\bin\\java.exe";
    std::string version;
    SearchDiary diary;
    EXPECT_TRUE(checkJavaExe(path, version, "11", "", false, fake.system(), diary));
    EXPECT_EQ(path, "c:\\program files\\jre\\bin\\javaw.exe");
    EXPECT_EQ(version, "17.0.9");
    ASSERT_EQ(diary.records().size(), 1u);
    EXPECT_EQ(diary.records()[0].library, LibraryBitness::Bits64);
    EXPECT_TRUE(fake.runs.empty());
}

// Entries written while the banner was cut by position hold the quote and a
// piece of the date: they still count, as the text before the quote.
TEST_F(CandidateCheckTest, OldCacheEntriesReadAsTheTextBeforeTheQuote) {
    const struct {
        const char* stored;
        const char* version;  // empty: not a hit, the runtime is run
    } cases[] = {
        {"17.0.9\" 2023-10-1", "17.0.9"},
        {"11.0.2\" 2019-01-1", "11.0.2"},
        {"17.0.9", "17.0.9"},
        {"\" 2023-10-1", ""},
        {"1.0.0\" x", ""},  // the failure marker, whatever follows it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        FakeSystem fake;
        fake.files[kJava] = kTime;
        fake.cache[kJava] = {kTime, c.stored};
        fake.runAnswers[kJava] = VersionRun{Outcome::Version, "21.0.1"};
        std::string path = kJava;
        std::string version;
        SearchDiary diary;
        EXPECT_TRUE(checkJavaExe(path, version, "11", "", false, fake.system(), diary));
        const bool hit = *c.version != '\0';
        EXPECT_EQ(version, hit ? c.version : "21.0.1");
        EXPECT_EQ(fake.runs, hit ? Lines{} : Lines{kJava});
    }
}

TEST_F(CandidateCheckTest, HomesGiveTheJreFormTheBinFormOrTheJdkAnswer) {
    const std::string home = "C:\\jdk";
    const struct {
        const char* name;
        std::set<std::string> files;
        const char* requireJdk;
        bool found;
        std::string javaExe;
        CandidateVerdict refusal = CandidateVerdict::NotAJdk;
    } cases[] = {
        {"JDK with a jre", {home + "\\jre\\bin\\java.exe", home + "\\bin\\java.exe"}, "0", true,
         home + "\\jre\\bin\\java.exe"},
        {"home without a jre", {home + "\\bin\\java.exe"}, "0", true, home + "\\bin\\java.exe"},
        {"nothing there: the check decides", {}, "0", true, home + "\\bin\\java.exe"},
        {"JDK required and there", {home + "\\lib\\tools.jar"}, "1", true, home + "\\jre\\bin\\java.exe"},
        {"JDK required, no tools.jar", {home + "\\jre\\bin\\java.exe", home + "\\bin\\java.exe"}, "1", false,
         home + "\\jre\\bin\\java.exe"},
        {"JDK 9 or later required: javac.exe, no tools.jar, no jre",
         {home + "\\bin\\java.exe", home + "\\bin\\javac.exe"}, "1", true, home + "\\bin\\java.exe"},
        {"JDK required, no runtime at all", {}, "1", false, home + "\\jre\\bin\\java.exe",
         CandidateVerdict::NoJavaExe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeNarrowValue(config::kRequireJdk, c.requireJdk);
        CandidateSystem system;
        system.exists = [&c](const std::string& path) { return c.files.count(path) != 0; };
        system.normalise = [](const std::string& path) { return "normalised " + path; };
        std::string javaExe;
        SearchDiary diary;
        EXPECT_EQ(findJavaExeInHome(home, javaExe, system, diary), c.found);
        EXPECT_EQ(javaExe, c.javaExe);
        // Only a home refused as no JDK is the home's own verdict; the rest is the check's.
        if (c.found) {
            EXPECT_TRUE(diary.records().empty());
        } else {
            ASSERT_EQ(diary.records().size(), 1u);
            EXPECT_EQ(diary.records()[0].path, "normalised " + home + "\\bin\\java.exe");
            EXPECT_EQ(diary.records()[0].verdict, c.refusal);
        }
    }
}

TEST_F(CandidateCheckTest, PathsStayWithinTheBuffer) {
    CandidateSystem system;
    system.exists = [](const std::string&) { return true; };
    const std::string longestFitting(kBufferCapacity - 1 - std::string("\\jre\\bin\\java.exe").size(), 'h');
    std::string javaExe = "untouched";
    SearchDiary diary;
    EXPECT_TRUE(findJavaExeInHome(longestFitting, javaExe, system, diary));
    EXPECT_EQ(javaExe.size(), kBufferCapacity - 1);
    javaExe = "untouched";
    EXPECT_FALSE(findJavaExeInHome(longestFitting + "h", javaExe, system, diary));
    EXPECT_EQ(javaExe, "untouched");

    const struct {
        std::string javaExe;
        std::optional<std::string> javaw;
    } cases[] = {
        {"c:\\j\\bin\\java.exe", "c:\\j\\bin\\javaw.exe"},
        {"abcd", "w.exe"},
        {"abc", std::nullopt},
        {std::string(kBufferCapacity - 2, 'p'), std::string(kBufferCapacity - 6, 'p') + "w.exe"},
        {std::string(kBufferCapacity - 1, 'p'), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(javawPathOf(c.javaExe), c.javaw) << c.javaExe.size();
}

TEST_F(CandidateCheckTest, AGuiCandidateWhoseJavawPathWouldNotFitIsRefused) {
    storeNarrowValue(config::kLauncherKind, "1");
    FakeSystem fake;
    const std::string longJava = "c:\\" + std::string(kBufferCapacity - 1 - 3 - 9, 'd') + "\\java.exe";
    ASSERT_EQ(longJava.size(), kBufferCapacity - 1);
    fake.files[longJava] = kTime;
    fake.cache[longJava] = {kTime, "1.8.0_202"};
    std::string path = longJava;
    std::string version;
    SearchDiary diary;
    EXPECT_FALSE(checkJavaExe(path, version, "", "", false, fake.system(), diary));
    EXPECT_EQ(path, longJava);
    ASSERT_EQ(diary.records().size(), 1u);
    EXPECT_EQ(diary.records()[0].verdict, CandidateVerdict::NoJavaw);
}

TEST_F(CandidateCheckTest, CacheKeysAndCommandLines) {
    const struct {
        const char* path;
        const char* key;
    } keys[] = {
        {"c:\\program files\\java\\jre8\\bin\\java.exe",
         "SOFTWARE\\corvanta\\zelkor\\jvms\\c:/program files/java/jre8/bin/java.exe"},
        {"\\\\server\\share\\bin\\java.exe", "SOFTWARE\\corvanta\\zelkor\\jvms\\//server/share/bin/java.exe"},
    };
    for (const auto& k : keys) EXPECT_EQ(versionCacheKeyName(k.path), k.key);

    EXPECT_EQ(versionCommandLine("C:\\PROGRA~1\\Java\\bin\\java.exe"), "\"C:\\PROGRA~1\\Java\\bin\\java.exe\" -version");
    EXPECT_EQ(versionCommandLine("c:\\program files\\java\\bin\\java.exe"),
              "\"c:\\program files\\java\\bin\\java.exe\" -version");
}

}  // namespace
