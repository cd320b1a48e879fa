// The JVM option list and the bootstrap arguments, assembled from a launcher
// in C:\App\bin with directories, files and variables from tables.
#include "launch/BootstrapArguments.h"
#include "launch/ClassPath.h"
#include "launch/JvmOptions.h"
#include "launch/LauncherProperties.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/Locale.h"
#include "core/PathText.h"
#include "log/MemoryLog.h"
#include "support/MemoryLogQueries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace {

using Options = std::vector<std::string>;
using Words16 = std::vector<std::u16string>;

const std::string kLauncherDirectory = "C:\\App\\bin\\";

class FakeLaunchSystem final : public LaunchSystem {
public:
    // Directory listings in file system order; a listed directory exists.
    std::map<std::string, std::vector<std::string>> directories;
    std::set<std::string> files;
    std::map<std::string, std::string> variables;  // absent: undefined
    std::map<std::string, std::string> optionFiles;

    bool pathExists(const std::string& path) override {
        return directories.count(path) != 0 || files.count(path) != 0;
    }
    std::vector<std::string> listFilesWithExtension(const std::string& directory, std::string_view extension) override {
        std::vector<std::string> names;
        for (const std::string& name : directories[directory])
            if (name.ends_with("." + std::string(extension))) names.push_back(name);
        return names;
    }
    std::string resolvePath(const std::string& path) override {
        return isRelativePath(path) ? kLauncherDirectory + path : path;
    }
    std::string fullPath(const std::string& path) override { return resolvePath(path); }
    void expandVariables(std::string& text) override {
        for (const auto& [name, value] : variables)
            for (size_t at; (at = text.find("%" + name + "%")) != std::string::npos;)
                text.replace(at, name.size() + 2, value);
    }
    Variable environmentVariable(const std::string& name, std::string& value) override {
        auto found = variables.find(name);
        if (found == variables.end()) return Variable::Undefined;
        if (found->second.empty()) return Variable::NoValue;
        value = found->second;
        return Variable::Value;
    }

    VmOptionsEnvironment environment() {
        return {[this](std::string& text) { expandVariables(text); },
                [this](const std::string& path, const char*) { return resolvePath(path); },
                [this](const std::string& path) -> std::unique_ptr<LineSource> {
                    auto found = optionFiles.find(path);
                    if (found == optionFiles.end()) return nullptr;
                    return std::make_unique<TextLineSource>(found->second);
                }};
    }
};

// Plain ASCII both ways is all these tables need.
const TextConverters kAscii{[](std::string_view narrow) { return std::u16string(narrow.begin(), narrow.end()); },
                            [](std::u16string_view wide) {
                                std::string narrow;
                                for (char16_t c : wide) narrow += static_cast<char>(c);
                                return narrow;
                            }};

class LaunchAssemblyTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearConfigStore();
        resetLauncherState();
        clearMemoryLog();
    }
    void TearDown() override { clearConfigStore(); }

    ClassPathOption classPath(const std::string& entries, std::string tempDir = "",
                              const ClassPathDirectives& directives = {}, bool brantel = false) {
        storeNarrowValue(config::kClassPath, entries);
        return buildClassPathOption({std::move(tempDir), brantel, &directives}, system_);
    }

    FakeLaunchSystem system_;
};

TEST_F(LaunchAssemblyTest, ClassPathEntriesByTheirType) {
    system_.directories = {{"C:\\App\\bin\\..\\.\\lib", {"b.zip", "a.jar", "sub.jar", "notes.txt"}},
                           {"C:\\App\\bin\\empty", {}}};
    system_.files = {"C:\\App\\bin\\app.jar"};
    system_.variables = {{"QUOTED", "\"C:\\q dir\\x.jar\""}, {"QUOTE", "\""},     {"SEMI", "C:\\s.jar;"},
                         {"EMPTY", ""},                      {"LIBDIR", "lib"},
                         {"PAIR", "x.jar;C:\\y.jar"}};
    const struct {
        const char* entries;
        const char* option;
    } cases[] = {
        // The shipped class path: archives of the scanned directory, jars first
        // and matching directories too, then the directory entry; not normalised.
        {"S0..\\.\\lib;D0..\\.\\config;",
         "C:\\App\\bin\\..\\.\\lib\\a.jar;C:\\App\\bin\\..\\.\\lib\\sub.jar;C:\\App\\bin\\..\\.\\lib\\b.zip;"
         "C:\\App\\bin\\..\\.\\config;"},
        {"S1empty", ""},                                  // an empty scanned directory is found
        {"A0missing.jar;A1app.jar", "C:\\App\\bin\\missing.jar;C:\\App\\bin\\app.jar;"},
        {"A0%PAIR%", "C:\\App\\bin\\x.jar;C:\\y.jar;"},  // pieces of one expanded entry
        {"E0UNSET;E0EMPTY", ""},
        {"E0QUOTED", "C:\\q dir\\x.jar;"},
        {"E0QUOTE", "\";"},  // one quote is no pair of quotes
        {"E1SEMI", "C:\\s.jar;"},
        {"D0%LIBDIR%\\conf", "C:\\App\\bin\\lib\\conf;"},
        {"X1anything;A;;", ""},  // unknown types and entries without a path add nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries);
        const ClassPathOption result = classPath(c.entries);
        EXPECT_FALSE(result.missing);
        EXPECT_EQ(result.option, std::string("-Djava.class.path=") + c.option);
    }
}

TEST_F(LaunchAssemblyTest, RequiredEntriesThatAreNotFoundNameTheirMessage) {
    system_.variables = {{"EMPTY", ""}, {"DIR", "gone"}};
    const struct {
        const char* entries;
        int32_t key;
        const char* detail;
    } cases[] = {
        {"S1%DIR%", config::kMessageClassPathEntryMissing, "gone"},
        {"D1%DIR%\\conf", config::kMessageClassPathEntryMissing, "gone\\conf"},
        {"A1lib\\a.jar", config::kMessageClassPathEntryMissing, "lib\\a.jar"},
        {"E1UNSET", config::kMessageVariableUndefined, "UNSET"},
        {"E1EMPTY", config::kMessageClassPathEntryMissing, "EMPTY"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries);
        const ClassPathOption result = classPath(c.entries);
        ASSERT_TRUE(result.missing);
        EXPECT_EQ(result.missing->messageKey, c.key);
        EXPECT_EQ(result.missing->detail, c.detail);
    }
}

TEST_F(LaunchAssemblyTest, ExtractedArchivesRuntimeJarAndDirectivesFrameTheEntries) {
    system_.directories = {{"C:\\T\\zkr1", {"app.jar", "res.zip"}}, {"C:\\T\\zkr1\\user", {"u.jar"}}};
    storeNarrowValue(config::kApplicationDirectory, "..");
    ClassPathDirectives directives;
    directives.prepend = "P";
    directives.append = "Q";
    EXPECT_EQ(classPath("A0c.jar", "C:\\T\\zkr1", directives, true).option,
              "-Djava.class.path=P;C:\\T\\zkr1\\app.jar;C:\\T\\zkr1\\res.zip;C:\\T\\zkr1\\user\\u.jar;"
              "C:\\App\\bin\\..\\.brantel\\btlruntime.jar;C:\\App\\bin\\c.jar;Q");

    // "-classpath X" replaces the entries only; the extracted archives stay first.
    directives = {};
    directives.replace = "X";
    directives.append = "Q";
    EXPECT_EQ(classPath("A0c.jar", "C:\\T\\zkr1", directives).option,
              "-Djava.class.path=C:\\T\\zkr1\\app.jar;C:\\T\\zkr1\\res.zip;C:\\T\\zkr1\\user\\u.jar;X;Q");
}

TEST_F(LaunchAssemblyTest, ClassPathAtItsCapacityLeavesOutWholeEntries) {
    // Six values of 7000 characters do not fit; the sixth is left out whole
    // and a short entry after it still fits.
    std::string entries;
    for (char name = '1'; name <= '6'; ++name) {
        system_.variables[std::string("V") + name] = std::string(7000, name);
        entries += std::string("E0V") + name + ";";
    }
    const ClassPathOption result = classPath(entries + "A0C:\\short.jar");
    EXPECT_LT(result.option.size(), kClassPathOptionCapacity);
    EXPECT_TRUE(result.option.ends_with(std::string(7000, '5') + ";C:\\short.jar;"));
    EXPECT_TRUE(memoryLogHas("ERROR: class path full, left out " + std::string(7000, '6')));
}

TEST_F(LaunchAssemblyTest, LauncherPropertiesInTheirOrderAndConditions) {
    LauncherFacts all;
    all.semaphoreName = "Local\\c:_app_bin_tool.exe0";
    all.brantel = true;
    all.service = true;
    all.modulePath = "C:\\App\\bin\\tool.exe";
    all.commFile = "C:\\T\\zkr_p42.tmp";
    all.tempDir = "C:\\T\\zkr1";
    all.unextractedPosition = -1;
    all.libraryPath = "C:\\lib;C:\\jre\\bin";
    all.consoleCodePage = 850;
    EXPECT_EQ(launcherProperties(all),
              (Options{"-Dzelkor.semaphoreName=Local\\c:_app_bin_tool.exe0", "-Dzelkor.isBrantel=true",
                       "-Dzelkor.isService=true", "-Dzelkor.moduleName=C:\\App\\bin\\tool.exe",
                       "-Dsun.java.command=C:\\App\\bin\\tool.exe", "-Dzelkor.processCommFile=C:\\T\\zkr_p42.tmp",
                       "-Dzelkor.tempDir=C:\\T\\zkr1", "-Dzelkor.unextractedPosition=-1",
                       "-Djava.library.path=C:\\lib;C:\\jre\\bin", "-Dzelkor.consoleCodepage=cp850"}));

    LauncherFacts fewest;
    fewest.modulePath = "C:\\a.exe";
    fewest.unextractedPosition = 123456;
    fewest.libraryPath = std::string(kLibraryPathCapacity + 1, 'p');  // too long: left empty
    EXPECT_EQ(launcherProperties(fewest),
              (Options{"-Dzelkor.moduleName=C:\\a.exe", "-Dsun.java.command=C:\\a.exe", "-Dzelkor.tempDir=",
                       "-Dzelkor.unextractedPosition=123456", "-Djava.library.path="}));
    fewest.libraryPath.pop_back();
    EXPECT_EQ(launcherProperties(fewest)[4].size(), std::string("-Djava.library.path=").size() + kLibraryPathCapacity);
}

TEST_F(LaunchAssemblyTest, CompleteListInBlockOrderWithTheClassPathLast) {
    storeNarrowValue(config::kVmOptions, "-Xmx%HEAP% -include-options more.vmoptions -Dlast");
    storeNarrowValue(config::kDashJArgumentsAreJvmOptions, "1");
    storeNarrowValue(config::kClassPath, "A0a.jar");
    system_.variables = {{"HEAP", "256m"}};
    system_.optionFiles = {{"C:\\App\\bin\\more.vmoptions", "-Dincluded\n-classpath/a tail.jar\n"}};
    splitLocale("de_CH");
    const Words16 arguments{u"tool.exe", u"-J-Xss2m", u"-Dsun.locale.formatasdefault=false", u"app"};

    JvmOptionInputs inputs{{"-Dprop=1"}, &arguments, "", false,
                           std::make_unique<TextLineSource>("# comment\n-Dfile=1\n"), "C:\\App\\bin\\tool.vmoptions"};
    const JvmOptions built = buildJvmOptions(std::move(inputs), system_, system_.environment(), kAscii);
    EXPECT_FALSE(built.missing);
    EXPECT_EQ(built.options,
              (Options{"-Dprop=1", "-Xmx256m", "-Dincluded", "-Dlast", "-Xss2m", "-Dsun.locale.formatasdefault=false",
                       "-Duser.language=de", "-Duser.country=CH", "-Dfile=1",
                       "-Djava.class.path=C:\\App\\bin\\a.jar;tail.jar"}));
    EXPECT_TRUE(memoryLogHas("adding options\n"));
}

TEST_F(LaunchAssemblyTest, LocaleOptionsFollowOnlyTheLastFormatArgumentThatIsNotTrue) {
    splitLocale("fr");
    const struct {
        Words16 arguments;
        Options locale;
    } cases[] = {
        {{u"tool.exe"}, {}},
        {{u"tool.exe", u"-Dsun.locale.formatasdefault=true"}, {"-Dsun.locale.formatasdefault=true"}},
        {{u"tool.exe", u"-Dsun.locale.formatasdefault=true", u"-Dsun.locale.formatasdefault=no"},
         {"-Dsun.locale.formatasdefault=no", "-Duser.language=fr"}},
    };
    for (const auto& c : cases) {
        Options options;
        ClassPathDirectives directives;
        addConfiguredVmOptions(c.arguments, options, directives, system_, system_.environment(), kAscii);
        EXPECT_EQ(options, c.locale);
    }
}

TEST_F(LaunchAssemblyTest, BootstrapArgumentsLeadTheProgramWordAndTheRoutedArguments) {
    BootstrapFacts facts;
    facts.guiLauncher = true;
    facts.mainClass = u"org.example.Main";
    facts.errorLog = u"C:\\App\\error.log";
    facts.configuredArguments = u"-a 'b c'";
    const Words16 lead{u"true", u"org.example.Main", u"C:\\App\\error.log", u"", u"false"};
    const struct {
        Words16 arguments;
        bool dashJIsJvm;
        Words16 tail;
    } cases[] = {
        {{}, false, {u"-a", u"b c"}},
        {{u"tool.exe"}, false, {u"tool.exe", u"-a", u"b c"}},
        {{u"tool.exe", u"-J-Xmx1g", u"app1"}, true, {u"tool.exe", u"-a", u"b c", u"app1"}},
        {{u"tool.exe", u"-Jfoo", u"-Dsun.locale.formatasdefault=true", u""}, false,
         {u"tool.exe", u"-a", u"b c", u"-Jfoo", u""}},
    };
    for (const auto& c : cases) {
        Words16 expected = lead;
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(bootstrapArguments(facts, c.arguments, c.dashJIsJvm), expected);
    }
    EXPECT_STREQ(bootstrapClassName(kBrantelFlavor), "com/brantel/runtime/launcher/WinLauncher");
    EXPECT_STREQ(bootstrapClassName(kZelkorFlavor), "com/zelkor/runtime/WinLauncher");
    EXPECT_STREQ(bootstrapClassName('\0'), "com/zelkor/runtime/WinLauncher");
}

}  // namespace
