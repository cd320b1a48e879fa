#include "jvm/SearchSequence.h"

#include "log/MemoryLog.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using Calls = std::vector<std::string>;

// Sources that accept what a test names and record every question asked.
class FakeSources {
public:
    std::map<std::string, std::string> locationFiles;   // file name -> first line
    std::set<std::string> acceptedHomes;                 // homes that pass the version check
    std::set<std::string> presentHomes;                  // homes whose java.exe exists (fallback pass)
    std::set<std::string> acceptedVariables;
    bool pathAccepts = false, registryAccepts = false, vendorRegistryAccepts = false, userInstallation = false,
         machineInstallation = false;
    Calls calls;
    std::vector<SearchStep> steps;

    SearchSources sources() {
        SearchSources s;
        s.readLocationFile = [this](const char* name) -> std::optional<std::string> {
            calls.push_back(std::string("file ") + name);
            auto found = locationFiles.find(name);
            return found == locationFiles.end() ? std::nullopt : std::optional<std::string>(found->second);
        };
        s.checkHomeDirectory = [this](const std::string& home, bool skip, std::string& path) {
            calls.push_back((skip ? "present " : "home ") + home);
            path = "c:\\resolved\\" + home + "\\bin\\java.exe";
            return skip || acceptedHomes.count(home) > 0;
        };
        s.checkEnvironmentHome = [this](const std::string& variable, std::string& path) {
            calls.push_back("variable " + variable);
            path = "c:\\from\\" + variable + "\\bin\\java.exe";
            return acceptedVariables.count(variable) > 0;
        };
        s.checkPathJavaExe = [this](std::string& path) {
            calls.push_back("search path");
            path = "c:\\on\\path\\java.exe";
            return pathAccepts;
        };
        s.findRegistryJVM = [this](std::string& path) {
            calls.push_back("registry");
            path = "c:\\registry\\bin\\java.exe";
            return registryAccepts;
        };
        s.findVendorRegistryJVM = [this](std::string& path) {
            calls.push_back("vendor registry");
            path = "c:\\vendor\\bin\\java.exe";
            return vendorRegistryAccepts;
        };
        s.findPreviousInstallationJVM = [this](RegistryHive hive, std::string& path) {
            const bool user = hive == RegistryHive::CurrentUser;
            calls.push_back(user ? "installations user" : "installations machine");
            path = "c:\\previous\\bin\\java.exe";
            return user ? userInstallation : machineInstallation;
        };
        s.expand = [](std::string& text) {
            if (text == "%HOME%") text = "expanded";
        };
        s.exists = [this](const std::string& path) {
            for (const std::string& home : presentHomes)
                if (path == "c:\\resolved\\" + home + "\\bin\\java.exe") return true;
            return false;
        };
        s.enterStep = [this](const SearchStep& step) { steps.push_back(step); };
        return s;
    }
};

TEST(SearchSequenceTest, EntriesAreSplitAtSemicolonsWithoutEmptyOnes) {
    const std::vector<SearchEntry> entries = splitSearchSequence("Y;;EJAVA_HOME;S;Rjre;a;");
    ASSERT_EQ(entries.size(), 5u);
    const std::string letters{entries[0].letter, entries[1].letter, entries[2].letter, entries[3].letter,
                              entries[4].letter};
    EXPECT_EQ(letters, "YESRa");
    EXPECT_EQ(entries[1].argument, "JAVA_HOME");
    EXPECT_EQ(entries[2].argument, "");
    EXPECT_EQ(entries[3].argument, "jre");
    EXPECT_TRUE(splitSearchSequence(";;").empty());
}

TEST(SearchSequenceTest, OnlyRelativeDirectoriesAndEveryBEntryTakePartInTheFallbackPass) {
    const struct {
        SearchEntry entry;
        bool takesPart;
    } cases[] = {
        {{'A', "jre"}, true},        {{'R', "..\\jre"}, true},       {{'B', "C:\\java"}, true},
        {{'A', "C:\\java"}, false},  {{'R', "\\\\server\\j"}, false}, {{'R', "c"}, true},
        {{'A', "\\java"}, true},     {{'E', "JAVA_HOME"}, false},     {{'Y', ""}, false},
        {{'S', ""}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.entry.letter) + c.entry.argument);
        EXPECT_EQ(takesPartInFallbackPass(c.entry), c.takesPart);
    }
}

TEST(SearchSequenceTest, TheFrameAsksItsSourcesInOrderWhenNothingIsFound) {
    FakeSources fake;
    fake.locationFiles = {{kPreferredLocationFile, "pref"}, {kInstallerLocationFile, "inst"}};
    const SearchResult result = searchJVM("Y;V;EJAVA_HOME;EJDK_HOME;", fake.sources());
    EXPECT_EQ(result.type, LOCATION_NONE);
    EXPECT_EQ(result.path, "");
    const Calls expected{"file \\.brantel\\pref_jre.cfg", "home pref",           "registry",  "vendor registry",
                         "variable JAVA_HOME",             "variable JDK_HOME",   "file \\.brantel\\inst_jre.cfg",
                         "home inst",                      "installations user",  "installations machine",
                         "variable ZELKOR_JAVA_HOME",      "variable BRANTEL_JAVA_HOME"};
    EXPECT_EQ(fake.calls, expected);
}

TEST(SearchSequenceTest, TheFirstSourceThatAcceptsDecides) {
    const struct {
        const char* name;
        const char* sequence;
        std::function<void(FakeSources&)> arrange;
        LocationType type;
        std::string location;
        std::string path;
    } cases[] = {
        {"preferred location wins over the sequence", "Rjre", [](FakeSources& f) {
             f.locationFiles[kPreferredLocationFile] = "pref";
             f.acceptedHomes = {"pref", "jre"};
         }, LOCATION_DIRECTORY, "pref", "c:\\resolved\\pref\\bin\\java.exe"},
        {"directory entry, expanded", "R%HOME%", [](FakeSources& f) { f.acceptedHomes = {"expanded"}; },
         LOCATION_DIRECTORY, "expanded", "c:\\resolved\\expanded\\bin\\java.exe"},
        {"variable entry names the variable", "EJAVA_HOME", [](FakeSources& f) { f.acceptedVariables = {"JAVA_HOME"}; },
         LOCATION_ENVIRONMENT, "JAVA_HOME", "c:\\from\\JAVA_HOME\\bin\\java.exe"},
        {"search path entry", "S", [](FakeSources& f) { f.pathAccepts = true; }, LOCATION_PATH, "",
         "c:\\on\\path\\java.exe"},
        {"registry entry sets no location", "Y", [](FakeSources& f) { f.registryAccepts = true; }, LOCATION_REGISTRY,
         "", "c:\\registry\\bin\\java.exe"},
        {"vendor registry entry after the JavaSoft one", "Y;V", [](FakeSources& f) { f.vendorRegistryAccepts = true; },
         LOCATION_REGISTRY, "", "c:\\vendor\\bin\\java.exe"},
        {"installer location after the first pass", "Rold", [](FakeSources& f) {
             f.locationFiles[kInstallerLocationFile] = "inst";
             f.acceptedHomes = {"inst"};
             f.presentHomes = {"old"};
         }, LOCATION_DIRECTORY, "inst", "c:\\resolved\\inst\\bin\\java.exe"},
        {"fallback pass takes an old runtime, unexpanded", "R%HOME%", [](FakeSources& f) { f.presentHomes = {"%HOME%"}; },
         LOCATION_DIRECTORY, "%HOME%", "c:\\resolved\\%HOME%\\bin\\java.exe"},
        {"fallback pass skips an absolute R but uses an absolute B", "RC:\\a;BC:\\b", [](FakeSources& f) {
             f.presentHomes = {"C:\\a", "C:\\b"};
         }, LOCATION_DIRECTORY, "C:\\b", "c:\\resolved\\C:\\b\\bin\\java.exe"},
        {"previous installation of the user before the machine", "", [](FakeSources& f) {
             f.userInstallation = f.machineInstallation = true;
         }, LOCATION_REGISTRY, "", "c:\\previous\\bin\\java.exe"},
        {"last resort variables", "", [](FakeSources& f) { f.acceptedVariables = {"BRANTEL_JAVA_HOME"}; },
         LOCATION_ENVIRONMENT, "BRANTEL_JAVA_HOME", "c:\\from\\BRANTEL_JAVA_HOME\\bin\\java.exe"},
        {"unknown letters are only logged", "xjre;Qx", [](FakeSources&) {}, LOCATION_NONE, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSources fake;
        c.arrange(fake);
        const SearchResult result = searchJVM(c.sequence, fake.sources());
        EXPECT_EQ(result.type, c.type);
        EXPECT_EQ(result.location, c.location);
        EXPECT_EQ(result.path, c.path);
        // The step that found the runtime was the last one entered, and it
        // tells what the runtime counts as: the message of a runtime that
        // later fails is chosen from it.
        if (result.type == LOCATION_NONE) continue;
        ASSERT_FALSE(fake.steps.empty());
        EXPECT_EQ(fake.steps.back().type, result.type);
        if (result.type != LOCATION_REGISTRY) {
            EXPECT_EQ(fake.steps.back().argument, result.location);
        }
    }
}

TEST(SearchSequenceTest, EachStepIsEnteredBeforeItsSourceIsAsked) {
    FakeSources fake;
    fake.locationFiles = {{kPreferredLocationFile, "pref"}, {kInstallerLocationFile, "inst"}};
    searchJVM("Y;EJAVA_HOME;S;R%HOME%;BC:\\b;AC:\\a;q", fake.sources());
    std::vector<std::string> steps;
    for (const SearchStep& step : fake.steps)
        steps.push_back(std::to_string(step.type) + " " + step.kind + " [" + step.argument + "]");
    const std::vector<std::string> expected{"2 preferred location [pref]",
                                            "4 registry []",
                                            "3 environment [JAVA_HOME]",
                                            "1 path []",
                                            "2 bundled [expanded]",
                                            "2 directory [C:\\b]",
                                            "2 directory [C:\\a]",
                                            "2 installer location [inst]",
                                            "2 fallback pass [%HOME%]",
                                            "2 fallback pass [C:\\b]",
                                            "4 previous installations [user]",
                                            "4 previous installations [machine]",
                                            "3 environment [ZELKOR_JAVA_HOME]",
                                            "3 environment [BRANTEL_JAVA_HOME]"};
    EXPECT_EQ(steps, expected);
}

TEST(SearchSequenceTest, LogShowsEachStep) {
    FakeSources fake;
    fake.locationFiles[kPreferredLocationFile] = "pref";
    fake.presentHomes = {"jre"};
    clearMemoryLog();
    searchJVM("Rjre;q", fake.sources());
    const std::vector<std::string> expected{"Searching for a JVM",
                                            "Has preferred location pref",
                                            "Testing location jre (type R)",
                                            "Testing location  (type q)",
                                            "Testing relative location jre",
                                            "c:\\resolved\\jre\\bin\\java.exe exists"};
    EXPECT_EQ(memoryLogLines(), expected);
}

}  // namespace
