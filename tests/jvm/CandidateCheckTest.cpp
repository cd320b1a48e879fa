#include "jvm/CandidateCheck.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
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

struct CacheEntry {
    FileTimeStamp time;
    std::string version;
    bool operator==(const CacheEntry&) const = default;
};

// Files with their times, a version cache that holds one entry per path and
// hits only for the exact time, and "-version" runs that answer from a table
// and are counted.
class FakeSystem {
public:
    std::map<std::string, FileTimeStamp> files;
    std::map<std::string, CacheEntry> cache;
    std::map<std::string, VersionRun> runAnswers;
    std::vector<std::string> runs;
    std::vector<std::pair<std::string, CacheEntry>> writes;

    CandidateSystem system() {
        return {
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
        };
    }
};

const std::string kJava = "c:\\jre\\bin\\java.exe";
const std::string kJavaw = "c:\\jre\\bin\\javaw.exe";
constexpr FileTimeStamp kTime = 0x01D9'0000'1234'5678;

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
    } cases[] = {
        {"missing file", false, true, std::nullopt, std::nullopt, "0", "0", false, "1.6", "", false, kJava.c_str(),
         "untouched", std::nullopt, {"file doesn't exist"}},
        {"valid cache entry", true, true, CacheEntry{kTime, "1.8.0_202"}, std::nullopt, "0", "0", false, "1.6", "",
         true, kJava.c_str(), "1.8.0_202", std::nullopt, {"file exists", "got version from registry 1.8.0_202"}},
        {"cached version outside the limits", true, true, CacheEntry{kTime, "1.5.0_22"}, std::nullopt, "0", "0", false,
         "1.6", "", false, kJava.c_str(), "1.5.0_22", std::nullopt,
         {"file exists", "got version from registry 1.5.0_22"}},
        {"stale cache entry", true, true, CacheEntry{kTime - 1, "1.6.0_45"}, VersionRun{Outcome::Version, "1.8.0_202"},
         "0", "0", false, "1.6", "", true, kJava.c_str(), "1.8.0_202", CacheEntry{kTime, "1.8.0_202"},
         {"file exists", "got version from execution 1.8.0_202"}},
        {"failure marker in the cache", true, true, CacheEntry{kTime, "1.0.0"}, VersionRun{Outcome::Version, "11.0.2"},
         "0", "0", false, "1.6", "", true, kJava.c_str(), "11.0.2", CacheEntry{kTime, "11.0.2"},
         {"file exists", "got version from execution 11.0.2"}},
        {"empty cached version", true, true, CacheEntry{kTime, ""}, VersionRun{Outcome::Version, "11.0.2"}, "0", "0",
         false, "1.6", "", true, kJava.c_str(), "11.0.2", CacheEntry{kTime, "11.0.2"},
         {"file exists", "got version from execution 11.0.2"}},
        {"run version above the maximum is cached all the same", true, true, std::nullopt,
         VersionRun{Outcome::Version, "9.0.4"}, "0", "0", false, "", "1.8", false, kJava.c_str(), "9.0.4",
         CacheEntry{kTime, "9.0.4"}, {"file exists", "got version from execution 9.0.4"}},
        {"non-zero exit is marked", true, true, std::nullopt, VersionRun{Outcome::NonZeroExit, {}}, "0", "0", false,
         "1.6", "", false, kJava.c_str(), "", CacheEntry{kTime, "1.0.0"}, {"file exists", "couldn't get version"}},
        {"unfinished run leaves no mark", true, true, std::nullopt, VersionRun{Outcome::NotFinished, {}}, "0", "0",
         false, "1.6", "", false, kJava.c_str(), "", std::nullopt, {"file exists", "couldn't get version"}},
        {"unknown first line leaves no mark", true, true, std::nullopt, VersionRun{Outcome::NoVersion, {}}, "0", "0",
         false, "1.6", "", false, kJava.c_str(), "", std::nullopt, {"file exists", "couldn't get version"}},
        {"pre-release refused", true, true, std::nullopt, VersionRun{Outcome::Version, "1.9.0-ea"}, "0", "0", false,
         "1.6", "", false, kJava.c_str(), "1.9.0-ea", CacheEntry{kTime, "1.9.0-ea"},
         {"file exists", "got version from execution 1.9.0-ea", "beta vm not allowed"}},
        {"pre-release allowed by the source", true, true, std::nullopt, VersionRun{Outcome::Version, "1.9.0-ea"}, "0",
         "0", true, "1.6", "", true, kJava.c_str(), "1.9.0-ea", CacheEntry{kTime, "1.9.0-ea"},
         {"file exists", "got version from execution 1.9.0-ea"}},
        {"pre-release allowed by key 130", true, true, CacheEntry{kTime, "1.9.0-ea"}, std::nullopt, "0", "1", false,
         "1.6", "", true, kJava.c_str(), "1.9.0-ea", std::nullopt,
         {"file exists", "got version from registry 1.9.0-ea"}},
        {"GUI launcher takes javaw.exe", true, true, CacheEntry{kTime, "1.8.0_202"}, std::nullopt, "1", "0", false,
         "1.6", "", true, kJavaw.c_str(), "1.8.0_202", std::nullopt,
         {"file exists", "got version from registry 1.8.0_202"}},
        {"GUI launcher without javaw.exe", true, false, std::nullopt, VersionRun{Outcome::Version, "1.8.0_202"}, "1",
         "0", false, "1.6", "", false, kJavaw.c_str(), "1.8.0_202", CacheEntry{kTime, "1.8.0_202"},
         {"file exists", "got version from execution 1.8.0_202"}},
        {"GUI launcher, version refused: javaw.exe not looked at", true, true, CacheEntry{kTime, "1.5.0_22"},
         std::nullopt, "1", "0", false, "1.6", "", false, kJava.c_str(), "1.5.0_22", std::nullopt,
         {"file exists", "got version from registry 1.5.0_22"}},
        {"service launcher needs no javaw.exe", true, false, CacheEntry{kTime, "1.8.0_202"}, std::nullopt, "2", "0",
         false, "1.6", "", true, kJava.c_str(), "1.8.0_202", std::nullopt,
         {"file exists", "got version from registry 1.8.0_202"}},
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
        EXPECT_EQ(checkJavaExe(path, version, c.min, c.max, c.allowBeta, fake.system()), c.accepted);
        EXPECT_EQ(path, c.pathAfter);
        EXPECT_EQ(version, c.versionAfter);
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
        EXPECT_TRUE(checkJavaExe(path, version, "11", "", false, fake.system()));
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
    } cases[] = {
        {"JDK with a jre", {home + "\\jre\\bin\\java.exe", home + "\\bin\\java.exe"}, "0", true,
         home + "\\jre\\bin\\java.exe"},
        {"home without a jre", {home + "\\bin\\java.exe"}, "0", true, home + "\\bin\\java.exe"},
        {"nothing there: the check decides", {}, "0", true, home + "\\bin\\java.exe"},
        {"JDK required and there", {home + "\\lib\\tools.jar"}, "1", true, home + "\\jre\\bin\\java.exe"},
        {"JDK required, no tools.jar", {home + "\\jre\\bin\\java.exe", home + "\\bin\\java.exe"}, "1", false,
         home + "\\jre\\bin\\java.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeNarrowValue(config::kRequireJdk, c.requireJdk);
        CandidateSystem system;
        system.exists = [&c](const std::string& path) { return c.files.count(path) != 0; };
        std::string javaExe;
        EXPECT_EQ(findJavaExeInHome(home, javaExe, system), c.found);
        EXPECT_EQ(javaExe, c.javaExe);
    }
}

TEST_F(CandidateCheckTest, PathsStayWithinTheBuffer) {
    CandidateSystem system;
    system.exists = [](const std::string&) { return true; };
    const std::string longestFitting(kBufferCapacity - 1 - std::string("\\jre\\bin\\java.exe").size(), 'h');
    std::string javaExe = "untouched";
    EXPECT_TRUE(findJavaExeInHome(longestFitting, javaExe, system));
    EXPECT_EQ(javaExe.size(), kBufferCapacity - 1);
    javaExe = "untouched";
    EXPECT_FALSE(findJavaExeInHome(longestFitting + "h", javaExe, system));
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
    EXPECT_FALSE(checkJavaExe(path, version, "", "", false, fake.system()));
    EXPECT_EQ(path, longJava);
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
