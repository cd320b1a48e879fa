#include "ConfigurationText.h"
#include "ExampleConfiguration.h"
#include "LauncherConfig.h"
#include "core/ConfigKeys.h"
#include "core/PayloadValues.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

using namespace generator;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMinimal = "[application]\nmainClass = \"org.example.Main\"\n[files]\nbootstrapJar = false\n";

ReadOptions options(LauncherProgram program = LauncherProgram::Gui) {
    ReadOptions result;
    result.sourceName = "app.toml";
    result.baseDirectory = fs::temp_directory_path();
    result.program = program;
    result.checkFiles = false;
    result.defaultBootstrapJar = "/dist/launcher-bootstrap.jar";
    return result;
}

std::map<int32_t, std::string> narrowValues(const payload::LauncherPayload& payload) {
    std::map<int32_t, std::string> values;
    for (const auto& entry : payload.record.narrowEntries) values[entry.key] = entry.value;
    return values;
}

const std::string kAbsent = "<absent>";

struct MappingCase {
    const char* name;
    std::string toml;  // added after the minimal file
    LauncherProgram program;
    std::map<int32_t, std::string> expected;  // kAbsent: not written at all
};

class SectionMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(SectionMapping, WritesTheCatalogueKeys) {
    const MappingCase& c = GetParam();
    payload::LauncherPayload payload;
    std::string error;
    const std::string text = std::string(kMinimal) + c.toml;
    ASSERT_TRUE(readLauncherConfiguration(text, options(c.program), payload, error)) << error;
    const auto values = narrowValues(payload);
    for (const auto& [key, value] : c.expected) {
        const auto found = values.find(key);
        if (value == kAbsent) {
            EXPECT_EQ(found, values.end()) << "key " << key;
        } else {
            ASSERT_NE(found, values.end()) << "key " << key;
            EXPECT_EQ(found->second, value) << "key " << key;
        }
    }
}

const LauncherProgram kGui = LauncherProgram::Gui;
const LauncherProgram kService = LauncherProgram::Service;

INSTANTIATE_TEST_SUITE_P(
    Sections, SectionMapping,
    ::testing::Values(
        MappingCase{"Defaults", "", kGui,
                    {{107, "1"}, {2001, "z"}, {122, "org.example.Main"}, {128, "Rjre;Y;V;EJAVA_HOME;EJDK_HOME;S;"},
                     {1000, "Error"}, {1009, "An internal error occurred (error code: {0})"}, {121, kAbsent},
                     {123, kAbsent}, {10005, kAbsent}}},
        MappingCase{"ClassPathKinds",
                    "[[classPath]]\nkind = \"scan\"\npath = '..\\.\\lib'\n"
                    "[[classPath]]\nkind = \"archive\"\npath = 'a.jar'\nrequired = true\n"
                    "[[classPath]]\nkind = \"directory\"\npath = 'conf'\n"
                    "[[classPath]]\nkind = \"variable\"\nvariable = \"CP\"\nrequired = true\n",
                    kGui, {{121, "S0..\\.\\lib;A1a.jar;D0conf;E1CP;"}}},
        MappingCase{"JavaSearch",
                    "[java]\nsearch = [{kind = \"bundled\", path = 'jre'}, {kind = \"directory\", path = 'C:\\J'},"
                    " {kind = \"directory\", path = 'C:\\K', fallbackAlways = true},"
                    " {kind = \"environment\", variable = \"JAVA_HOME\"}, {kind = \"path\"}, {kind = \"registry\"}]\n"
                    "minVersion = \"1.8\"\nmaxVersion = \"17\"\nallowPrerelease = true\nrequireJdk = true\n"
                    "jvmSubdirectory = \"server\"\npreviousInstallationsValue = \"dirs\"\n",
                    kGui,
                    {{128, "Rjre;AC:\\J;BC:\\K;EJAVA_HOME;S;Y;V;"}, {126, "1.8"}, {127, "17"}, {130, "1"}, {131, "1"},
                     {152, "server"}, {160, "dirs"}}},
        MappingCase{"EmptySearchLeavesTheFixedSteps", "[java]\nsearch = []\n", kGui, {{128, ""}}},
        MappingCase{"VendorKeysAlone", "[java]\nsearch = [{kind = \"vendorRegistry\"}, {kind = \"path\"}]\n", kGui,
                    {{128, "V;S;"}}},
        MappingCase{"VmOptionsQuotedWhenBlank", "[vm]\noptions = [\"-Xmx1g\", \"-Dhome=C:\\\\My App\"]\n", kGui,
                    {{123, "-Xmx1g \"-Dhome=C:\\My App\""}}},
        MappingCase{"MessagesInAnsi", "[messages]\nerrorCaption = \"Fehler – café\"\n", kGui,
                    {{1000, "Fehler \x96 caf\xE9"}}},
        MappingCase{"OtherBitnessMessageByDefault", "", kGui,
                    {{1021, "No {0}-bit Java could be found on your system.\nThe Java installed here has the other "
                            "bitness: please install a JDK or JRE of this program's bitness."}}},
        MappingCase{"OtherBitnessMessageGiven", "[messages]\nonlyOtherBitnessFound = \"Needs {0}-bit Java.\"\n", kGui,
                    {{1021, "Needs {0}-bit Java."}}},
        MappingCase{"GuiSwitchesAndSplash", "[gui]\nconsoleSwitches = \"console\"\nsplash = true\n", kGui,
                    {{154, "0"}, {156, "1"}, {108, "1"}, {10123, "1"}}},
        MappingCase{"Logs", "[logs]\nerrorFile = \"e.log\"\noutputFile = \"o.log\"\n", kGui,
                    {{102, "1"}, {103, "e.log"}, {104, "1"}, {105, "o.log"}, {123, kAbsent}}},
        MappingCase{"LogLimitWithUnitAndDefaultKeep", "[logs]\nerrorFile = \"e.log\"\nmaxSize = \"10 MB\"\n", kService,
                    {{103, "e.log"}, {123, "-Djlaunchkit.log.maxSize=10485760 -Djlaunchkit.log.keep=5"}}},
        MappingCase{"LogLimitAfterTheVmOptions", "[vm]\noptions = [\"-Xmx1g\"]\n[logs]\nmaxSize = 1000\nkeep = 2\n", kGui,
                    {{123, "-Xmx1g -Djlaunchkit.log.maxSize=1000 -Djlaunchkit.log.keep=2"}}},
        MappingCase{"ServiceManualStart",
                    "[service]\nname = \"Svc\"\ndependencies = [\"HTTP\", \"Tcpip\"]\nstartType = \"manual\"\n",
                    kService, {{101, "Svc"}, {107, "0"}, {149, "HTTP,Tcpip"}}},
        MappingCase{"ServiceAutomaticByDefault", "[service]\ndescription = \"d\"\n", kService,
                    {{107, "4"}, {30001, kAbsent}, {30002, kAbsent}, {30003, kAbsent}}},
        MappingCase{"ServiceStopAndRecovery",
                    "[service]\nstopTimeout = \"2min\"\ndelayedAutoStart = true\n[service.onFailure]\n"
                    "actions = [\"restart 10s\", \"restart 1 min\", \"none\"]\nresetAfter = \"1d\"\n",
                    kService, {{30001, "120"}, {30003, "1"}, {30002, "86400;1:10000;1:60000;0:0"}}},
        MappingCase{"ServiceRecoveryInSecondsResetAfterADay",
                    "[service]\nstopTimeout = 5\nonFailure = {actions = [\"restart 0s\"]}\n", kService,
                    {{30001, "5"}, {30002, "86400;1:0"}}},
        MappingCase{"RawOverridesAndAddsKeys", "[raw]\n106 = 1\nmainClass = \"other.Main\"\n10110 = \"Arial\"\n", kGui,
                    {{106, "1"}, {122, "other.Main"}, {10110, "Arial"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LauncherConfig, ApplicationSectionMapsEveryField) {
    const std::string text =
        "[application]\nname = \"App\"\nmainClass = \"a.Main\"\narguments = \"-x\"\nworkingDirectory = \".\"\n"
        "directory = '..\\'\nflavor = \"brantel\"\ndashJArguments = false\n"
        "nativeLibraryDirectories = ['lib\\x64', 'bin']\nsingleInstance = \"global\"\n[files]\nbootstrapJar = false\n";
    payload::LauncherPayload payload;
    std::string error;
    ASSERT_TRUE(readLauncherConfiguration(text, options(), payload, error)) << error;
    const std::map<int32_t, std::string> expected = {
        {101, "App"}, {122, "a.Main"}, {124, "-x"}, {146, "."}, {10003, "..\\"}, {2001, "b"}, {125, "0"},
        {10004, "lib\\x64;bin"}, {10005, "1"}, {158, "1"}};
    const auto values = narrowValues(payload);
    for (const auto& [key, value] : expected) EXPECT_EQ(values.count(key) ? values.at(key) : "<absent>", value) << key;
}

TEST(LauncherConfig, FilesEmbedTheBootstrapJarFirstAndTranslationsGoGeneralFirst) {
    ReadOptions service = options(kService);
    service.defaultBootstrapJar = "/dist/launcher-bootstrap.jar";
    const std::string text =
        "[application]\nmainClass = \"a.Main\"\n[[files.embed]]\nsource = \"build/app.jar\"\n"
        "[[files.embed]]\nname = \"lib/x.dll\"\nsource = \"/abs/x.dll\"\n"
        "[service]\ndescription = \"Media\"\n"
        "[translations.de_AT]\nserviceDescription = \"Medien (AT)\"\n[translations.de]\nserviceDescription = \"Medien\"\n";
    payload::LauncherPayload payload;
    std::string error;
    ASSERT_TRUE(readLauncherConfiguration(text, service, payload, error)) << error;
    ASSERT_EQ(payload.files.size(), 3u);
    EXPECT_EQ(payload.files[0].name, "launcher-bootstrap.jar");
    EXPECT_EQ(payload.files[0].source, fs::path("/dist/launcher-bootstrap.jar"));
    EXPECT_EQ(payload.files[1].name, "app.jar");
    EXPECT_EQ(payload.files[1].source, service.baseDirectory / "build/app.jar");
    EXPECT_EQ(payload.files[2].name, "lib\\x.dll");
    ASSERT_EQ(payload.record.wideEntries.size(), 1u);
    EXPECT_EQ(payload.record.wideEntries[0].value, u"Media");
    ASSERT_EQ(payload.record.localeSections.size(), 2u);
    EXPECT_EQ(payload.record.localeSections[0].prefix, "de");
    EXPECT_EQ(payload.record.localeSections[1].prefix, "de_AT");
    EXPECT_EQ(payload.record.localeSections[1].entries[0].value, u"Medien (AT)");
}

struct ErrorCase {
    const char* name;
    std::string toml;  // the whole file
    std::string expected;  // "app.toml:L:C: ..." prefix of the message
    LauncherProgram program = LauncherProgram::Gui;
};

class ConfigurationErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ConfigurationErrors, NameThePlaceAndWriteNothing) {
    const ErrorCase& c = GetParam();
    payload::LauncherPayload payload;
    payload.record.narrowEntries = {{1, "untouched"}};
    std::string error;
    ReadOptions readOptions = options(c.program);
    readOptions.checkFiles = true;
    EXPECT_FALSE(readLauncherConfiguration(c.toml, readOptions, payload, error));
    EXPECT_EQ(error.substr(0, c.expected.size()), c.expected) << error;
    ASSERT_EQ(payload.record.narrowEntries.size(), 1u);
    EXPECT_EQ(payload.record.narrowEntries[0].value, "untouched");
}

const std::string kApp = "[application]\nmainClass = \"a.Main\"\n";
const std::string kNoJar = "[files]\nbootstrapJar = false\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ConfigurationErrors,
    ::testing::Values(
        ErrorCase{"TomlSyntax", "[application\n", "app.toml:1:13: "},
        ErrorCase{"StrayCharacterAfterAValue", "[application]\nmainClass = \"a\" \u00e9\n", "app.toml:2:17: "},
        ErrorCase{"UnknownSection", kApp + kNoJar + "[jvm]\n", "app.toml:5:2: unknown field \"jvm\" in the file"},
        ErrorCase{"UnknownField", "[application]\nmainClass = \"a\"\nmainclass = \"b\"\n" + kNoJar,
                  "app.toml:3:1: unknown field \"mainclass\" in [application]"},
        ErrorCase{"WrongType", "[application]\nmainClass = 5\n" + kNoJar,
                  "app.toml:2:13: mainClass must be a string, not an integer"},
        ErrorCase{"WrongTypeOfFlag", kApp + "dashJArguments = \"yes\"\n" + kNoJar,
                  "app.toml:3:18: dashJArguments must be true or false, not a string"},
        ErrorCase{"MissingMainClass", "[application]\nname = \"x\"\n" + kNoJar,
                  "app.toml:1:1: [application] needs a mainClass"},
        ErrorCase{"MissingApplication", kNoJar, "app.toml:1:1: missing [application]"},
        ErrorCase{"UnknownSearchSource", kApp + kNoJar + "[java]\nsearch = [{kind = \"jre\"}]\n",
                  "app.toml:6:19: kind \"jre\" is not one of \"bundled\", \"directory\""},
        ErrorCase{"SearchSourceWithoutItsArgument", kApp + kNoJar + "[java]\nsearch = [{kind = \"environment\"}]\n",
                  "app.toml:6:11: this search source needs its variable"},
        ErrorCase{"UnknownClassPathKind", kApp + kNoJar + "[[classPath]]\nkind = \"jar\"\npath = \"x\"\n",
                  "app.toml:6:8: kind \"jar\" is not one of \"scan\", \"archive\""},
        ErrorCase{"ClassPathSeparatorInPath", kApp + kNoJar + "[[classPath]]\nkind = \"archive\"\npath = \"a;b\"\n",
                  "app.toml:7:8: a class path entry must not contain \";\""},
        ErrorCase{"UnreadableEmbeddedFile", kApp + "[files]\nbootstrapJar = false\n[[files.embed]]\nsource = \"/nonexistent/a.jar\"\n",
                  "app.toml:6:10: cannot read the file to embed: /nonexistent/a.jar"},
        ErrorCase{"UnreadableBootstrapJar", kApp + "[files]\nbootstrapJar = \"/nonexistent/b.jar\"\n",
                  "app.toml:4:16: cannot read the file to embed"},
        ErrorCase{"EmbeddedNameTooDeep", kApp + kNoJar + "[[files.embed]]\nname = \"a/b/c.jar\"\nsource = \"/etc/hostname\"\n",
                  "app.toml:6:8: embedded file name \"a\\b\\c.jar\" must be a plain file name"},
        ErrorCase{"TextLongerThanTheBuffer", kApp + kNoJar + "[vm]\noptions = [\"-D" + std::string(8190, 'x') + "\"]\n",
                  "app.toml:6:11: text of 8192 bytes is longer than the launcher's 8191"},
        ErrorCase{"JvmSubdirectoryLongerThanItsBuffer", kApp + kNoJar + "[java]\njvmSubdirectory = \"" + std::string(200, 's') + "\"\n",
                  "app.toml:6:19: text of 200 bytes is longer than the launcher's 199"},
        ErrorCase{"CharacterOutsideTheCodePage", kApp + kNoJar + "[messages]\nerrorCaption = \"エラー\"\n",
                  "app.toml:6:16: \"エ\" cannot be written in the launcher's ANSI code page"},
        ErrorCase{"PlaceholderNeverFilled", kApp + kNoJar + "[messages]\ninternalError = \"code {1}\"\n",
                  "app.toml:6:17: internalError: placeholder \"{1}\" is never filled in"},
        ErrorCase{"PlaceholderInAMessageWithoutDetail", kApp + kNoJar + "[messages]\nmainClassNotFound = \"{0} missing\"\n",
                  "app.toml:6:21: mainClassNotFound: this message is shown without a detail"},
        ErrorCase{"UnknownMessage", kApp + kNoJar + "[messages]\nnoJava = \"x\"\n",
                  "app.toml:6:1: unknown message \"noJava\" in [messages]"},
        ErrorCase{"MessagesAreNotTranslatedAtRunTime", kApp + kNoJar + "[service]\n[translations.de]\nerrorCaption = \"Fehler\"\n",
                  "app.toml:7:1: \"errorCaption\" cannot be translated", kService},
        ErrorCase{"BadLocale", kApp + kNoJar + "[service]\n[translations.german]\n",
                  "app.toml:6:15: \"german\" is not a locale", kService},
        ErrorCase{"StopTimeoutOfNothing", kApp + kNoJar + "[service]\nstopTimeout = 0\n",
                  "app.toml:6:15: stopTimeout must lie between 1 second and 1 hour", kService},
        ErrorCase{"StopTimeoutWithoutUnit", kApp + kNoJar + "[service]\nstopTimeout = \"20 seconds\"\n",
                  "app.toml:6:15: stopTimeout must be whole seconds or a duration such as \"30s\"", kService},
        ErrorCase{"DelayedStartOfAManualService", kApp + kNoJar + "[service]\nstartType = \"manual\"\ndelayedAutoStart = true\n",
                  "app.toml:7:20: delayedAutoStart needs the automatic start type", kService},
        ErrorCase{"FailureActionWithoutDelay", kApp + kNoJar + "[service.onFailure]\nactions = [\"restart\"]\n",
                  "app.toml:6:12: a failure action is \"none\" or \"restart\" and a delay", kService},
        ErrorCase{"FailureActionThatReboots", kApp + kNoJar + "[service.onFailure]\nactions = [\"none\", \"reboot 1min\"]\n",
                  "app.toml:6:20: a failure action is", kService},
        ErrorCase{"NoFailureActions", kApp + kNoJar + "[service.onFailure]\nactions = []\n",
                  "app.toml:5:1: onFailure needs actions", kService},
        ErrorCase{"RawKeyThatIsNoKey", kApp + kNoJar + "[raw]\nfoo = 1\n",
                  "app.toml:6:1: \"foo\" is neither a key number nor a key name"},
        ErrorCase{"UnreadableIcon", kApp + kNoJar + "[resources]\nicon = \"/nonexistent/app.ico\"\n",
                  "app.toml:6:8: cannot read the icon file: /nonexistent/app.ico"},
        ErrorCase{"IconThatIsNoIcon", kApp + kNoJar + "[resources]\nicon = \"/etc/hostname\"\n",
                  "app.toml:6:8: icon file /etc/hostname is not an icon (.ico) file"},
        ErrorCase{"UnreadableSplashImage", kApp + kNoJar + "[gui]\nsplash = \"/nonexistent/splash.png\"\n",
                  "app.toml:6:10: cannot read the splash image: /nonexistent/splash.png"},
        ErrorCase{"SplashImageThatIsNoImage", kApp + kNoJar + "[gui]\nsplash = \"/etc/hostname\"\n",
                  "app.toml:6:10: splash image /etc/hostname is not a GIF, PNG, JPEG or BMP image"},
        ErrorCase{"VersionNumberWithALetter", kApp + kNoJar + "[resources.version]\nfileVersion = \"1.2.x\"\n",
                  "app.toml:6:15: version \"1.2.x\" must be one to four numbers"},
        ErrorCase{"UnknownVersionField", kApp + kNoJar + "[resources.version]\nvendor = \"x\"\n",
                  "app.toml:6:1: unknown field \"vendor\" in [resources.version]"},
        ErrorCase{"LogSizeNegative", kApp + kNoJar + "[logs]\nmaxSize = -1\n", "app.toml:6:11: maxSize must be more than 0 bytes"},
        ErrorCase{"LogSizeZeroWithAUnit", kApp + kNoJar + "[logs]\nmaxSize = \"0 KB\"\n",
                  "app.toml:6:11: maxSize must be more than 0 bytes"},
        ErrorCase{"LogSizeThatIsNoSize", kApp + kNoJar + "[logs]\nmaxSize = \"ten MB\"\n",
                  "app.toml:6:11: maxSize \"ten MB\" is not a size"},
        ErrorCase{"LogSizeFraction", kApp + kNoJar + "[logs]\nmaxSize = 1.5\n",
                  "app.toml:6:11: maxSize must be an integer or a string such as \"10 MB\", not a number"},
        ErrorCase{"LogKeepOutOfRange", kApp + kNoJar + "[logs]\nmaxSize = 100\nkeep = 0\n",
                  "app.toml:7:8: keep must be from 1 to 1000"},
        ErrorCase{"LogKeepWithoutSize", kApp + kNoJar + "[logs]\nerrorFile = \"e.log\"\nkeep = 3\n",
                  "app.toml:7:8: keep needs maxSize"},
        ErrorCase{"LogLimitOverfillsTheVmOptions",
                  kApp + kNoJar + "[vm]\noptions = [\"-D" + std::string(8150, 'x') + "\"]\n[logs]\nmaxSize = 1\n",
                  "app.toml:8:11: text of 8203 bytes is longer than the launcher's 8191"},
        ErrorCase{"ServiceSectionInAGuiLauncher", kApp + kNoJar + "[service]\n", "app.toml:5:1: [service] needs the service launcher template"}),
    [](const auto& info) { return std::string(info.param.name); });

// What inspect prints reads back into the same record: every section's
// reverse mapping agrees with the forward one.
TEST(LauncherConfig, InspectOutputReadsBackIntoTheSameRecord) {
    for (const LauncherProgram program : {kGui, kService}) {
        std::string text = kExampleConfiguration;
        if (program == kService) {
            text = text.substr(0, text.find("# GUI launcher only.")) +
                   "[service]\ndescription = \"Sample\"\ndependencies = [\"HTTP\"]\nstopTimeout = 45\n"
                   "startType = \"manual\"\ndelayedAutoStart = false\n"
                   "[service.onFailure]\nactions = [\"restart 90s\", \"none\"]\nresetAfter = 7200\n"
                   "[translations.de]\nserviceDescription = \"Beispiel\"\n[raw]\n106 = 1\n";
        }
        payload::LauncherContents contents;
        payload::LauncherPayload first, second;
        std::string error;
        ASSERT_TRUE(readLauncherConfiguration(text, options(program), first, error)) << error;
        contents.record = first.record;
        const std::string described = describeConfiguration(contents, program);
        ASSERT_TRUE(readLauncherConfiguration(described, options(program), second, error)) << error << "\n" << described;
        EXPECT_EQ(narrowValues(first), narrowValues(second)) << described;
        ASSERT_EQ(first.record.wideEntries.size(), second.record.wideEntries.size());
        ASSERT_EQ(first.record.localeSections.size(), second.record.localeSections.size());
    }
}

// Every entry kind the launcher knows is written with its letter, and the
// listing names it so that it reads back into the same entry.
TEST(LauncherConfig, EveryEntryKindReadsBackFromTheListing) {
    struct Case {
        std::string toml;
        int32_t key;
        std::string expected;
    };
    std::vector<Case> cases;
    for (const config::EntryForm& form : config::kClassPathForms) {
        const std::string argument(config::entryArgumentName(form.argument));
        cases.push_back({"[[classPath]]\nkind = \"" + std::string(form.name) + "\"\n" + argument + " = 'x\\y'\n",
                         config::kClassPath, std::string(1, form.letter) + "0x\\y;"});
        cases.push_back({"[[classPath]]\nkind = \"" + std::string(form.name) + "\"\n" + argument +
                             " = 'z'\nrequired = true\n",
                         config::kClassPath, std::string(1, form.letter) + "1z;"});
    }
    for (const config::EntryForm& form : config::kSearchForms) {
        const std::string kind = "kind = \"" + std::string(form.name) + "\"";
        if (form.argument == config::EntryArgument::None) {
            // "registry" stands for both registry sources.
            cases.push_back({"[java]\nsearch = [{" + kind + "}]\n", config::kJvmSearchSequence,
                             std::string(1, form.letter) + (form.letter == config::kSearchRegistry ? ";V;" : ";")});
            continue;
        }
        const std::string argument = ", " + std::string(config::entryArgumentName(form.argument)) + " = 'x'";
        cases.push_back({"[java]\nsearch = [{" + kind + argument + "}]\n", config::kJvmSearchSequence,
                         std::string(1, form.letter) + "x;"});
        if (form.argument == config::EntryArgument::Path)
            cases.push_back({"[java]\nsearch = [{" + kind + argument + ", fallbackAlways = true}]\n",
                             config::kJvmSearchSequence, std::string(1, config::kSearchDirectoryAlwaysFallback) + "x;"});
    }
    for (const Case& c : cases) {
        payload::LauncherPayload first, second;
        std::string error;
        ASSERT_TRUE(readLauncherConfiguration(std::string(kMinimal) + c.toml, options(), first, error)) << error;
        EXPECT_EQ(narrowValues(first)[c.key], c.expected) << c.toml;
        payload::LauncherContents contents;
        contents.record = first.record;
        const std::string described = describeConfiguration(contents, kGui);
        EXPECT_EQ(described.find("[raw]"), std::string::npos) << described;
        ASSERT_TRUE(readLauncherConfiguration(described, options(), second, error)) << error << "\n" << described;
        EXPECT_EQ(narrowValues(second)[c.key], c.expected) << described;
    }
}

// An older payload's JavaSoft step alone has no kind of its own: the listing
// keeps the sequence as it is, in [raw].
TEST(LauncherConfig, JavaSoftStepAloneReadsBackThroughRaw) {
    payload::LauncherContents contents;
    contents.record.narrowEntries = {{config::kMainClass, "a.Main"}, {config::kJvmSearchSequence, "Y;EJAVA_HOME;"}};
    const std::string described = describeConfiguration(contents, kGui);
    EXPECT_NE(described.find("[raw]"), std::string::npos) << described;
    payload::LauncherPayload read;
    std::string error;
    ASSERT_TRUE(readLauncherConfiguration(described, options(), read, error)) << error << "\n" << described;
    EXPECT_EQ(narrowValues(read)[config::kJvmSearchSequence], "Y;EJAVA_HOME;");
}

// The log limit travels among the VM options; the listing gives it back as
// [logs] fields when it is there as [logs] writes it, and as options otherwise.
TEST(LauncherConfig, LogLimitReadsBackFromTheListingAsLogsFields) {
    struct Case {
        std::string toml;
        std::string listed;  // a part of the listing
        bool asLogFields;
    };
    const Case cases[] = {
        {"[logs]\noutputFile = \"o.log\"\nmaxSize = \"10 mb\"\n", "maxSize = \"10 MB\"\nkeep = 5\n", true},
        {"[vm]\noptions = [\"-Xmx1g\"]\n[logs]\nmaxSize = 1000\nkeep = 2\n", "maxSize = 1000\nkeep = 2\n", true},
        {"[vm]\noptions = []\n[logs]\nmaxSize = 1025\n", "[logs]\nmaxSize = 1025\nkeep = 5\n", true},
        {"[vm]\noptions = [\"-Djlaunchkit.log.maxSize=010\", \"-Djlaunchkit.log.keep=5\"]\n",
         "options = [\"-Djlaunchkit.log.maxSize=010\", \"-Djlaunchkit.log.keep=5\"]", false},
        {"[vm]\noptions = [\"-Djlaunchkit.log.keep=5\", \"-Djlaunchkit.log.maxSize=10\"]\n", "[vm]", false},
    };
    for (const Case& c : cases) {
        payload::LauncherPayload first, second;
        std::string error;
        ASSERT_TRUE(readLauncherConfiguration(std::string(kMinimal) + c.toml, options(), first, error)) << error;
        payload::LauncherContents contents;
        contents.record = first.record;
        const std::string described = describeConfiguration(contents, kGui);
        EXPECT_NE(described.find(c.listed), std::string::npos) << described;
        EXPECT_EQ(described.find("-Djlaunchkit") == std::string::npos, c.asLogFields) << described;
        EXPECT_EQ(described.find("[raw]"), std::string::npos) << described;
        ASSERT_TRUE(readLauncherConfiguration(described, options(), second, error)) << error << "\n" << described;
        EXPECT_EQ(narrowValues(first), narrowValues(second)) << described;
    }
}

TEST(LauncherConfig, ReferencePageCarriesTheExampleThatInitWrites) {
    std::ifstream in(fs::path(LAUNCHER_SOURCE_DIR) / "docs/configuration.md");
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(page.find(kExampleConfiguration), std::string::npos);
}

}  // namespace
