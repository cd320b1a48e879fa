// The registry sources under Wine, against real keys in the prefix's
// registry. The candidate check is a fake that knows the runtimes a test made
// (homes with an empty bin\java.exe) and the version each was given, so
// runtimes that other keys in the registry name are never accepted. Version
// names start with a number of this bitness's own and the limits keep to it,
// so names already in the JavaSoft keys fall outside them.
#include "RegistryTestKeys.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/SystemCalls.h"
#include "jvm/RegistrySources.h"
#include "jvm/VersionRules.h"
#include "log/MemoryLog.h"
#include "support/MemoryLogQueries.h"
#include "support/ProcessStateGuard.h"
#include "support/RuntimeLayout.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// The runtimes a test made, in a folder of this process, and a candidate
// check that accepts exactly those it was given a version for.
class FakeRuntimes {
public:
    FakeRuntimes() {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        root_ = std::string(base) + "RegistrySources_" + std::to_string(::GetCurrentProcessId());
        std::filesystem::create_directories(root_);
    }
    ~FakeRuntimes() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeRuntimes(const FakeRuntimes&) = delete;
    FakeRuntimes& operator=(const FakeRuntimes&) = delete;

    // A home below the root (`name` may hold backslashes); with a version the
    // check judges it by that version (acceptVersion), without one it rejects it.
    std::string home(const std::string& name, const std::string& runtimeVersion = "") {
        const std::string home = root_ + "\\" + name;
        makeRuntimeHome(home, RuntimeShape::ExeOnly, static_cast<int>(sizeof(void*) * 8), "");
        if (!runtimeVersion.empty()) versions_[javaExe(home)] = runtimeVersion;
        return home;
    }

    static std::string javaExe(const std::string& home) { return home + "\\bin\\java.exe"; }
    // The check lower-cases what it accepts, as the real one normalises it.
    static std::string acceptedPath(const std::string& home) { return lowered(javaExe(home)); }
    const std::string& root() const { return root_; }

    // findJavaExeInHome takes "<home>\bin\java.exe" whatever the home holds.
    CandidateChecks checks() {
        return {[this](const std::string& home, std::string& exe) {
                    homesAsked.push_back(home);
                    exe = javaExe(home);
                    return true;
                },
                [this](std::string& path, std::string& found, const std::string& min, const std::string& max,
                       bool allowBeta) {
                    checked.push_back({path, allowBeta});
                    const auto known = versions_.find(path);
                    if (known == versions_.end() || !exists(path)) return false;
                    if (!acceptVersion(known->second, min, max, allowBeta)) return false;
                    found = known->second;
                    path = lowered(path);
                    return true;
                }};
    }

    struct CheckCall {
        std::string path;
        bool allowBeta;
    };
    std::vector<std::string> homesAsked;
    std::vector<CheckCall> checked;
    std::vector<std::string> checkedPaths() const {
        std::vector<std::string> paths;
        for (const CheckCall& call : checked) paths.push_back(call.path);
        return paths;
    }

private:
    std::string root_;
    std::map<std::string, std::string> versions_;
};

const std::string kMajor = sizeof(void*) == 8 ? "6401" : "3201";
std::string version(const std::string& rest) { return kMajor + rest; }

const std::string kJdk = "SOFTWARE\\JavaSoft\\Java Development Kit";
const std::string kJre = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const std::string kLocated = "SOFTWARE\\corvanta\\zelkor\\locatedjvms\\";
const std::string kInstallations = "SOFTWARE\\corvanta\\brantel\\installations";

using CheckCall = FakeRuntimes::CheckCall;

std::string slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Opens and enumerations seen through the system-call table.
std::vector<std::string> openedSubkeys;
int enumerationCalls = 0;
bool enumerationLengthNotReset = false;

LONG WINAPI recordOpen(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY key) {
    openedSubkeys.emplace_back(subkey != nullptr ? subkey : "");
    return ::RegOpenKeyExA(parent, subkey, options, access, key);
}

std::vector<HKEY> openedHandles;

LONG WINAPI recordOpenedHandle(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY key) {
    const LONG status = ::RegOpenKeyExA(parent, subkey, options, access, key);
    if (status == ERROR_SUCCESS) openedHandles.push_back(*key);
    return status;
}

LONG WINAPI recordEnumeration(HKEY key, DWORD index, LPSTR name, LPDWORD length, LPDWORD reserved, LPSTR className,
                              LPDWORD classLength, PFILETIME written) {
    ++enumerationCalls;
    if (*length != 8192) enumerationLengthNotReset = true;
    return ::RegEnumKeyExA(key, index, name, length, reserved, className, classLength, written);
}

LONG WINAPI keyDeletedMeanwhile(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPSTR, LPDWORD, PFILETIME) {
    ++enumerationCalls;
    return ERROR_KEY_DELETED;
}

LONG WINAPI firstNameTooLong(HKEY key, DWORD index, LPSTR name, LPDWORD length, LPDWORD reserved, LPSTR className,
                             LPDWORD classLength, PFILETIME written) {
    if (index == 0) return ERROR_MORE_DATA;
    return ::RegEnumKeyExA(key, index, name, length, reserved, className, classLength, written);
}

class RegistrySourcesTest : public ::testing::Test {
protected:
    // First in, last out: held until the test's keys are gone.
    RegistryTestLock lock;
    ProcessStateGuard processState_;

    void SetUp() override {
        clearConfigStore();
        clearMemoryLog();
        openedSubkeys.clear();
        enumerationCalls = 0;
        enumerationLengthNotReset = false;
    }
    // A JavaSoft version subkey whose "JavaHome" is a new runtime home.
    std::string javaSoftRuntime(RegistryKeys& keys, const std::string& family, const std::string& name,
                                const std::string& runtimeVersion = "") {
        const std::string home = runtimes.home((family == kJdk ? "jdk" : "jre") + name, runtimeVersion);
        keys.add(HKEY_LOCAL_MACHINE, family + "\\" + name).setText("JavaHome", home);
        return home;
    }

    // A located runtime: a key named by its java.exe with "/" for "\".
    std::string locatedRuntime(RegistryKeys& keys, HKEY hive, const std::string& name,
                               const std::string& runtimeVersion) {
        const std::string home = runtimes.home(name, runtimeVersion);
        keys.add(hive, kLocated + slashed(FakeRuntimes::javaExe(home)));
        return home;
    }

    static std::string accepted(const std::string& home) { return FakeRuntimes::acceptedPath(home); }

    std::vector<std::string> foundLines() const { return memoryLogLinesStartingWith("found "); }

    FakeRuntimes runtimes;
    std::string path = "untouched";
    std::string found = "untouched";
};

TEST_F(RegistrySourcesTest, CurrentVersionNamesTheRuntimeKeyTheJdkOnlyWhenNewer) {
    RegistryKeys keys;
    const std::string jdk8 = javaSoftRuntime(keys, kJdk, version(".8"), version(".8.0_1"));
    const std::string jre8 = javaSoftRuntime(keys, kJre, version(".8"), version(".8.0_2"));
    const std::string jre7 = javaSoftRuntime(keys, kJre, version(".7"), version(".7.0_3"));
    const struct {
        std::string jdk;
        std::string jre;
        std::string home;
        std::string version;
    } cases[] = {
        {version(".8"), version(".8"), jre8, version(".8.0_2")},
        {version(".8"), version(".7"), jdk8, version(".8.0_1")},
        {version(".7"), version(".8"), jre8, version(".8.0_2")},
        // Outside the limits counts as absent, whatever the other one holds.
        {version(".8"), "9999.1", jdk8, version(".8.0_1")},
        {"9999.1", version(".7"), jre7, version(".7.0_3")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("jdk " + c.jdk + ", jre " + c.jre);
        ScopedRegistryValue jdkCurrent(HKEY_LOCAL_MACHINE, kJdk, "CurrentVersion", c.jdk);
        ScopedRegistryValue jreCurrent(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", c.jre);
        runtimes.checked.clear();
        ASSERT_TRUE(findJavaSoftCurrentJVM(path, found, kMajor, kMajor, runtimes.checks()));
        EXPECT_EQ(path, accepted(c.home));
        EXPECT_EQ(found, c.version);
        ASSERT_EQ(runtimes.checked.size(), 1u);
        EXPECT_FALSE(runtimes.checked[0].allowBeta);
    }
}

TEST_F(RegistrySourcesTest, ARequiredJdkKeepsTheJreKeysClosedInBothSteps) {
    RegistryKeys keys;
    const std::string jre8 = javaSoftRuntime(keys, kJre, version(".8"), version(".8"));
    const std::string jdk6 = javaSoftRuntime(keys, kJdk, version(".6"), version(".6"));
    ScopedRegistryValue jdkCurrent(HKEY_LOCAL_MACHINE, kJdk, "CurrentVersion", "9999.1");
    ScopedRegistryValue jreCurrent(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", version(".8"));
    const struct {
        const char* requireJdk;
        std::string chosen;
        bool jreOpened;
    } cases[] = {{"0", jre8, true}, {"1", jdk6, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("key 131 = ") + c.requireJdk);
        storeNarrowValue(config::kRequireJdk, c.requireJdk);
        openedSubkeys.clear();
        systemCalls().regOpenKey = recordOpen;
        ASSERT_TRUE(findJavaSoftJVM(path, found, kMajor, kMajor, runtimes.checks()));
        systemCalls() = realSystemCalls();
        EXPECT_EQ(path, accepted(c.chosen));
        const bool jreOpened = std::any_of(openedSubkeys.begin(), openedSubkeys.end(), [](const std::string& key) {
            return key.find("Java Runtime Environment") != std::string::npos;
        });
        EXPECT_EQ(jreOpened, c.jreOpened);
    }
}

TEST_F(RegistrySourcesTest, VersionSubkeysAreEnumeratedOnlyWhenCurrentVersionFails) {
    RegistryKeys keys;
    javaSoftRuntime(keys, kJre, version(".9"));  // no version: rejected
    const std::string jre8 = javaSoftRuntime(keys, kJre, version(".8"), version(".8"));
    const std::string jre7 = javaSoftRuntime(keys, kJre, version(".7"), version(".7"));
    ScopedRegistryValue jdkCurrent(HKEY_LOCAL_MACHINE, kJdk, "CurrentVersion", "9999.1");
    const struct {
        std::string current;
        bool enumerated;
        std::string chosen;
    } cases[] = {{version(".7"), false, jre7}, {version(".9"), true, jre8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        ScopedRegistryValue jreCurrent(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", c.current);
        enumerationCalls = 0;
        systemCalls().regEnumKey = recordEnumeration;
        ASSERT_TRUE(findJavaSoftJVM(path, found, kMajor, kMajor, runtimes.checks()));
        systemCalls() = realSystemCalls();
        EXPECT_EQ(path, accepted(c.chosen));
        EXPECT_EQ(enumerationCalls > 0, c.enumerated);
    }
}

TEST_F(RegistrySourcesTest, VersionSubkeysWithinTheLimitsAreTriedNewestFirst) {
    RegistryKeys keys;
    // Listed by the registry in name order, the shortest name first: each
    // longer name needs the name length given afresh.
    const std::string jre8 = javaSoftRuntime(keys, kJre, version(".8"));
    const std::string jre121 = javaSoftRuntime(keys, kJre, version(".8.0_121"));
    const std::string jre45 = javaSoftRuntime(keys, kJre, version(".8.0_45"));
    javaSoftRuntime(keys, kJre, version(".9"), version(".9"));  // outside the limits
    javaSoftRuntime(keys, kJdk, version(".8.0_121"));
    const std::string jdk45 = javaSoftRuntime(keys, kJdk, version(".8.0_45"), version(".8.0_45"));
    javaSoftRuntime(keys, kJdk, version(".8"), version(".8.0_5"));
    const std::string limit = version(".8");
    const std::string root = runtimes.root() + "\\";
    const struct {
        JavaSoftFamily family;
        bool accepted;
        std::vector<std::string> tried;
    } cases[] = {
        {JavaSoftFamily::RuntimeEnvironment, false,
         {FakeRuntimes::javaExe(jre121), FakeRuntimes::javaExe(jre45), FakeRuntimes::javaExe(jre8)}},
        // The first acceptance ends the search.
        {JavaSoftFamily::DevelopmentKit, true,
         {FakeRuntimes::javaExe(root + "jdk" + version(".8.0_121")), FakeRuntimes::javaExe(jdk45)}},
    };
    for (const auto& c : cases) {
        runtimes.checked.clear();
        systemCalls().regEnumKey = recordEnumeration;
        EXPECT_EQ(findJavaSoftVersionsJVM(c.family, path, found, limit, limit, runtimes.checks()), c.accepted);
        systemCalls() = realSystemCalls();
        EXPECT_EQ(runtimes.checkedPaths(), c.tried);
        EXPECT_FALSE(enumerationLengthNotReset);
    }
    EXPECT_EQ(path, accepted(jdk45));
    EXPECT_EQ(found, version(".8.0_45"));
}

TEST_F(RegistrySourcesTest, TheNewestRuntimeWinsAndTiesGoToLocatedThenToTheMachine) {
    const struct {
        const char* label;
        std::vector<std::pair<std::string, std::string>> user;     // home name, version
        std::vector<std::pair<std::string, std::string>> machine;  // home name, version
        std::string javaSoft;                                      // version of the JRE's current runtime
        std::string winner;                                        // home name, "" for none
    } cases[] = {
        {"machine wins a tie", {{"u1", ".6"}}, {{"m1", ".6"}}, "", "m1"},
        {"newer user wins", {{"u2", ".7"}}, {{"m2", ".6"}}, "", "u2"},
        {"located wins a tie with JavaSoft", {}, {{"m3", ".6"}}, ".6", "m3"},
        {"newer JavaSoft wins", {{"u4", ".5"}}, {{"m4", ".6"}}, ".7", "js.7"},
        {"older JavaSoft loses", {{"u5", ".6"}}, {}, ".5", "u5"},
        {"first listed of equals", {{"u6a", ".6"}, {"u6b", ".6"}, {"u6c", ".5"}}, {}, "", "u6a"},
        {"pre-release allowed for located only", {{"u7", ".6-ea"}}, {}, ".8-ea", "u7"},
        {"nothing accepted", {}, {}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryKeys keys;
        std::map<std::string, std::string> homes;
        for (const auto& [name, v] : c.user) homes[name] = locatedRuntime(keys, HKEY_CURRENT_USER, name, version(v));
        for (const auto& [name, v] : c.machine)
            homes[name] = locatedRuntime(keys, HKEY_LOCAL_MACHINE, name, version(v));
        std::optional<ScopedRegistryValue> jdkCurrent, jreCurrent;
        if (!c.javaSoft.empty()) {
            homes["js" + c.javaSoft] = javaSoftRuntime(keys, kJre, version(c.javaSoft), version(c.javaSoft));
            jdkCurrent.emplace(HKEY_LOCAL_MACHINE, kJdk, "CurrentVersion", "9999.1");
            jreCurrent.emplace(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", version(c.javaSoft));
        }
        clearMemoryLog();
        runtimes.checked.clear();
        path = "untouched";
        EXPECT_EQ(findRegistryJVM(path, kMajor, kMajor, runtimes.checks()), !c.winner.empty());
        EXPECT_EQ(path, c.winner.empty() ? "untouched" : accepted(homes[c.winner]));
        // Every located runtime is checked, with pre-releases allowed; JavaSoft ones never.
        for (const auto& [name, v] : c.user) {
            const std::string exe = FakeRuntimes::javaExe(homes[name]);
            EXPECT_TRUE(std::any_of(runtimes.checked.begin(), runtimes.checked.end(),
                                    [&](const CheckCall& call) { return call.path == exe && call.allowBeta; }))
                << exe;
        }
        for (const CheckCall& call : runtimes.checked) {
            const bool fromJavaSoft = call.path.find("\\jre" + kMajor) != std::string::npos;
            EXPECT_FALSE(fromJavaSoft && call.allowBeta) << call.path;
        }
        if (c.winner.empty()) {
            EXPECT_EQ(foundLines(), std::vector<std::string>{});
        }
    }
}

TEST_F(RegistrySourcesTest, BothCandidatesAreLoggedBeforeTheChoice) {
    RegistryKeys keys;
    const std::string located = locatedRuntime(keys, HKEY_CURRENT_USER, "logged", version(".6"));
    const std::string javaSoft = javaSoftRuntime(keys, kJre, version(".7"), version(".7"));
    ScopedRegistryValue jdkCurrent(HKEY_LOCAL_MACHINE, kJdk, "CurrentVersion", "9999.1");
    ScopedRegistryValue jreCurrent(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", version(".7"));
    ASSERT_TRUE(findRegistryJVM(path, kMajor, kMajor, runtimes.checks()));
    EXPECT_EQ(foundLines(), (std::vector<std::string>{"found sun " + accepted(javaSoft) + " " + version(".7"),
                                                      "found located " + accepted(located) + " " + version(".6")}));
}

TEST_F(RegistrySourcesTest, PreviousInstallationsAreTriedInListOrder) {
    const std::string valueName = "RegistrySourcesTest" + std::to_string(::GetCurrentProcessId());
    storeNarrowValue(config::kPreviousInstallDirectoriesValue, valueName);
    runtimes.home("old\\jre");  // present but rejected
    const std::string newer = runtimes.home("new\\jre", version(".1"));
    const std::string list = runtimes.root() + "\\old;;" + runtimes.root() + "\\new;";
    RegistryKeys keys;
    keys.add(HKEY_CURRENT_USER, kInstallations).setText(valueName, list);

    EXPECT_FALSE(findPreviousInstallationJVM(RegistryHive::LocalMachine, path, "", "", runtimes.checks()));
    EXPECT_EQ(path, "untouched");
    EXPECT_EQ(foundLines(), std::vector<std::string>{});

    ASSERT_TRUE(findPreviousInstallationJVM(RegistryHive::CurrentUser, path, "", "", runtimes.checks()));
    EXPECT_EQ(path, accepted(newer));
    EXPECT_EQ(runtimes.homesAsked, (std::vector<std::string>{runtimes.root() + "\\old\\jre", newer}));
    EXPECT_EQ(foundLines(), std::vector<std::string>{"found installations: " + list});
    for (const CheckCall& call : runtimes.checked) EXPECT_FALSE(call.allowBeta);
}

TEST_F(RegistrySourcesTest, AnEmptyInstallationsValueNameLeavesTheRegistryAlone) {
    systemCalls().regOpenKey = recordOpen;
    EXPECT_FALSE(findPreviousInstallationJVM(RegistryHive::CurrentUser, path, "", "", runtimes.checks()));
    EXPECT_EQ(openedSubkeys, std::vector<std::string>{});
}

TEST_F(RegistrySourcesTest, ValuesThatAreNotFittingTextAreNotRead) {
    const std::string valueName = "RegistrySourcesTest" + std::to_string(::GetCurrentProcessId());
    storeNarrowValue(config::kPreviousInstallDirectoriesValue, valueName);
    const std::string home = runtimes.home("typed\\jre", version(".1"));
    const std::string directory = runtimes.root() + "\\typed";
    const struct {
        const char* label;
        DWORD type;
        std::string bytes;
        bool accepted;
    } cases[] = {
        {"text with terminator", REG_SZ, directory + '\0', true},
        {"text without terminator", REG_SZ, directory, true},
        {"binary", REG_BINARY, directory, false},
        {"list of texts", REG_MULTI_SZ, directory + '\0' + '\0', false},
        {"number", REG_DWORD, std::string(4, '\x01'), false},
        {"longer than its buffer", REG_SZ, directory + ";" + std::string(8192, 'x') + '\0', false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryKeys keys;
        keys.add(HKEY_CURRENT_USER, kInstallations).setValue(valueName, c.type, c.bytes);
        path = "untouched";
        EXPECT_EQ(findPreviousInstallationJVM(RegistryHive::CurrentUser, path, "", "", runtimes.checks()),
                  c.accepted);
        EXPECT_EQ(path, c.accepted ? accepted(home) : "untouched");
    }
}

TEST_F(RegistrySourcesTest, ACurrentVersionLongerThanItsBufferIsAbsent) {
    RegistryKeys keys;
    // A key of that very name exists: cutting the value would not find it,
    // reading past the buffer might.
    const std::string longName = version(".8.0_" + std::string(120, '1'));
    javaSoftRuntime(keys, kJre, longName, version(".8"));
    ScopedRegistryValue jdkCurrent(HKEY_LOCAL_MACHINE, kJdk, "CurrentVersion", "9999.1");
    ScopedRegistryValue jreCurrent(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", longName);
    EXPECT_FALSE(findJavaSoftCurrentJVM(path, found, kMajor, kMajor, runtimes.checks()));
    EXPECT_EQ(runtimes.checked.size(), 0u);
    // The version subkeys still find it.
    EXPECT_TRUE(findJavaSoftJVM(path, found, kMajor, kMajor, runtimes.checks()));
}

TEST_F(RegistrySourcesTest, EnumerationsEndWhenTheKeyFailsAtEveryIndex) {
    RegistryKeys keys;
    locatedRuntime(keys, HKEY_CURRENT_USER, "deleted", version(".1"));
    javaSoftRuntime(keys, kJre, version(".1"), version(".1"));
    systemCalls().regEnumKey = keyDeletedMeanwhile;
    EXPECT_FALSE(findRegistryJVM(path, kMajor, kMajor, runtimes.checks()));
    // One call for each key enumerated: the two JavaSoft families and the located keys of both hives.
    EXPECT_GE(enumerationCalls, 2);
    EXPECT_LE(enumerationCalls, 4);
}

TEST_F(RegistrySourcesTest, ANameTooLongForTheBufferIsSkippedAndTheRestRead) {
    RegistryKeys keys;
    const std::string a = locatedRuntime(keys, HKEY_CURRENT_USER, "skipped_a", version(".1"));
    const std::string b = locatedRuntime(keys, HKEY_CURRENT_USER, "skipped_b", version(".1"));
    systemCalls().regEnumKey = firstNameTooLong;
    ASSERT_TRUE(findLocatedJVM(RegistryHive::CurrentUser, path, found, kMajor, kMajor, runtimes.checks()));
    EXPECT_NE(std::find(runtimes.checkedPaths().begin(), runtimes.checkedPaths().end(), FakeRuntimes::javaExe(b)),
              runtimes.checkedPaths().end());
}

TEST_F(RegistrySourcesTest, EveryKeyOpenedIsClosedAgain) {
    RegistryKeys keys;
    locatedRuntime(keys, HKEY_LOCAL_MACHINE, "handles", version(".2"));
    const std::string jre = javaSoftRuntime(keys, kJre, version(".3"), version(".3"));
    javaSoftRuntime(keys, kJre, version(".4"));  // rejected: tried and passed over
    ScopedRegistryValue jreCurrent(HKEY_LOCAL_MACHINE, kJre, "CurrentVersion", version(".9"));
    const std::string valueName = "RegistrySourcesTest" + std::to_string(::GetCurrentProcessId());
    storeNarrowValue(config::kPreviousInstallDirectoriesValue, valueName);
    keys.add(HKEY_CURRENT_USER, kInstallations).setText(valueName, runtimes.root() + "\\none");
    // The first search opens the predefined keys for good; record after it.
    ASSERT_TRUE(findRegistryJVM(path, kMajor, kMajor, runtimes.checks()));
    openedHandles.clear();
    systemCalls().regOpenKey = recordOpenedHandle;
    ASSERT_TRUE(findRegistryJVM(path, kMajor, kMajor, runtimes.checks()));
    EXPECT_EQ(path, accepted(jre));
    EXPECT_FALSE(findPreviousInstallationJVM(RegistryHive::CurrentUser, path, "", "", runtimes.checks()));
    systemCalls() = realSystemCalls();
    EXPECT_GE(openedHandles.size(), 6u);
    // A closed handle is refused; one left open still answers.
    for (const HKEY handle : openedHandles) {
        DWORD subkeys = 0;
        EXPECT_EQ(::RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr),
                  ERROR_INVALID_HANDLE);
    }
}

}  // namespace
