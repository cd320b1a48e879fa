#include "core/ConfigKeys.h"

#include <algorithm>
#include <iterator>

namespace config {
namespace {

using enum ValueKind;

// Absent string keys read as "" and absent integer keys as 0; the texts below
// say what that means for the launcher.
constexpr std::string_view kShownEmpty = "empty text in the message box";
constexpr std::string_view kNotRead = "not read by the launchers";

// Sorted by key: findKey searches it by halving.
constexpr KeyInfo kCatalogue[] = {
    {kApplicationName, "applicationName", Text, "empty service name and display name"},
    {kPassErrorFile, "passErrorFile", Integer, "third bootstrap argument empty"},
    {kErrorFile, "errorFile", Text, "no file for the third bootstrap argument"},
    {kPassOutputFile, "passOutputFile", Integer, "fourth bootstrap argument empty"},
    {kOutputFile, "outputFile", Text, "no file for the fourth bootstrap argument"},
    {kFifthBootstrapArgument, "fifthBootstrapArgument", Integer, "fifth bootstrap argument \"false\""},
    {kLauncherKind, "launcherKind", Integer, "kind 0: no dialogs, errors on standard error"},
    {kShowSplashScreen, "showSplashScreen", Integer, "no splash screen"},
    {kClassPath, "classPath", Text, "no configured class path entries"},
    {kMainClass, "mainClass", Text, "empty main class name"},
    {kVmOptions, "vmOptions", Text, "no configured VM options"},
    {kApplicationArguments, "applicationArguments", Text, "no configured application arguments"},
    {kDashJArgumentsAreJvmOptions, "dashJArgumentsAreJvmOptions", Integer, "\"-J\" arguments go to the application"},
    {kMinVersion, "minVersion", Text, "no lower Java version limit"},
    {kMaxVersion, "maxVersion", Text, "no upper Java version limit"},
    {kJvmSearchSequence, "jvmSearchSequence", Text, "only the fixed search steps"},
    {kAllowPrereleaseJvm, "allowPrereleaseJvm", Integer, "pre-release JVMs only from directories and located JVMs"},
    {kRequireJdk, "requireJdk", Integer, "a JRE suffices"},
    {kWorkingDirectory, "workingDirectory", Text, "working directory unchanged"},
    {kServiceDependencies, "serviceDependencies", Text, "no service dependencies"},
    {kPreferredJvmDllDirectory, "preferredJvmDllDirectory", Text, "only the fixed jvm.dll sub-directories"},
    {kAcceptQuietAndConsoleSwitches, "acceptQuietAndConsoleSwitches", Integer, "\"-q\" and \"-c\" not accepted"},
    {kAcceptConsoleSwitch, "acceptConsoleSwitch", Integer, "\"-console\" accepted only with key 154"},
    {kGlobalSingleInstance, "globalSingleInstance", Integer, "single-instance semaphore in \"Local\\\""},
    {kPreviousInstallDirectoriesValue, "previousInstallDirectoriesValue", Text, "previous-installation search skipped"},

    {kMessageErrorCaption, "messageErrorCaption", Text, "empty message box caption", "Error"},
    {kMessageNoJvmFound, "messageNoJvmFound", Text, kNotRead,
     "No JVM could be found on your system.\nPlease define ZELKOR_JAVA_HOME\n"
     "to point to an installed JDK or JRE or download a JRE from java.com."},
    {kMessageJvmOnPathDamaged, "messageJvmOnPathDamaged", Text, kNotRead,
     "The JVM found in your path is damaged.\nPlease reinstall or define ZELKOR_JAVA_HOME\n"
     "to point to an installed JDK or JRE."},
    {kMessageVariableJvmNotWorking, "messageVariableJvmNotWorking", Text, kNotRead,
     "The {0} environment variable does not\npoint to a working JDK or JRE."},
    {kMessageJvmAtDamaged, "messageJvmAtDamaged", Text, kNotRead,
     "The JVM found at {0} is damaged.\nPlease reinstall or define ZELKOR_JAVA_HOME\n"
     "to point to an installed JDK or JRE."},
    {kMessageJvmStartFailed, "messageJvmStartFailed", Text, kShownEmpty,
     "The JVM could not be started. The maximum heap size (-Xmx) might be too large "
     "or an antivirus or firewall tool could block the execution."},
    {kMessageClassPathEntryMissing, "messageClassPathEntryMissing", Text, kShownEmpty,
     "File or directory {0} not found or empty\n"},
    {kMessageWrongParameterUsage, "messageWrongParameterUsage", Text, kNotRead, "Wrong Parameter Usage"},
    {kMessageVariableUndefined, "messageVariableUndefined", Text, kShownEmpty,
     "The environment variable {0} has to be defined"},
    {kMessageInternalError, "messageInternalError", Text, kShownEmpty,
     "An internal error occurred (error code: {0})"},
    {kMessageMainClassNotFound, "messageMainClassNotFound", Text, kShownEmpty, "Couldn't load main class."},
    {kMessageMainMethodNotFound, "messageMainMethodNotFound", Text, kShownEmpty, "Main method not found."},
    {kMessageErrorWord, "messageErrorWord", Text, kNotRead, "Error"},
    {kMessageOk, "messageOk", Text, kNotRead, "Ok"},
    {kMessageStartupError, "messageStartupError", Text, kNotRead, "An error occurred while starting up {0}:"},
    {kMessageNeedsPowerUser, "messageNeedsPowerUser", Text, kShownEmpty,
     "You must be at least Poweruser to run this program."},
    {kMessageNoJvmOfBitnessFound, "messageNoJvmOfBitnessFound", Text, kShownEmpty,
     "No JVM could be found on your system.\nPlease define ZELKOR_JAVA_HOME\n"
     "to point to an installed {0}-bit JDK or JRE or download a JRE from java.com."},
    {kMessageVariableJvmNot32Bit, "messageVariableJvmNot32Bit", Text, kShownEmpty,
     "The {0} environment variable does not\npoint to a working 32-bit JDK or JRE."},
    {kMessageVariableJvmNot64Bit, "messageVariableJvmNot64Bit", Text, kShownEmpty,
     "The {0} environment variable does not\npoint to a working 64-bit JDK or JRE."},
    {kMessageJvmAtDamaged32Bit, "messageJvmAtDamaged32Bit", Text, kShownEmpty,
     "The JVM found at {0} is damaged.\nPlease reinstall or define ZELKOR_JAVA_HOME\n"
     "to point to an installed 32-bit JDK or JRE."},
    {kMessageJvmAtDamaged64Bit, "messageJvmAtDamaged64Bit", Text, kShownEmpty,
     "The JVM found at {0} is damaged.\nPlease reinstall or define ZELKOR_JAVA_HOME\n"
     "to point to an installed 64-bit JDK or JRE."},
    {kMessageOnlyOtherBitnessFound, "messageOnlyOtherBitnessFound", Text,
     "the message for the way the runtime was found (keys 1016-1020, 1005)",
     "No {0}-bit Java could be found on your system.\nThe Java installed here has the other bitness: "
     "please install a JDK or JRE of this program's bitness."},

    {kFlavor, "flavor", Text, "brantel caption word with zelkor class names"},
    {kEmbeddedFileCount, "embeddedFileCount", Integer, "nothing extracted, no temporary directory"},
    {kEmbeddedFileNames, "embeddedFileNames", Text, "nothing extracted"},

    {kApplicationDirectory, "applicationDirectory", Text, "the launcher's directory"},
    {kNativeLibraryDirectories, "nativeLibraryDirectories", Text, "PATH unchanged"},
    {kSingleInstance, "singleInstance", Integer, "several instances may run"},
    {kSplashScreenEnabled, "splashScreenEnabled", Integer, "no splash screen"},

    {kServiceDescription, "serviceDescription", WideText, "no service description set"},

    {kServiceStopTimeout, "serviceStopTimeout", Integer, "a stop waits 20 seconds for the application"},
    {kServiceFailureActions, "serviceFailureActions", Text, "no failure actions set at install"},
    {kServiceDelayedAutoStart, "serviceDelayedAutoStart", Integer, "an automatic service starts without delay"},
};

// 10109-10122 are the splash text settings (positions, fonts, sizes, colours,
// weights, version prefix) that the splash code never took over.
constexpr int32_t kIgnored[] = {
    141, 142, 145, 147, 150, 151, 153, 155, 157, 159, 161,
    10109, 10110, 10111, 10112, 10113, 10114, 10115, 10116, 10117, 10118, 10119, 10120, 10121, 10122,
};

static_assert(std::is_sorted(std::begin(kCatalogue), std::end(kCatalogue),
                             [](const KeyInfo& a, const KeyInfo& b) { return a.key < b.key; }),
              "findKey relies on ascending keys");
static_assert(std::is_sorted(std::begin(kIgnored), std::end(kIgnored)), "isIgnoredKey relies on ascending keys");

}  // namespace

std::span<const KeyInfo> keyCatalogue() { return kCatalogue; }

const KeyInfo* findKey(int32_t key) {
    const auto found = std::lower_bound(std::begin(kCatalogue), std::end(kCatalogue), key,
                                        [](const KeyInfo& info, int32_t wanted) { return info.key < wanted; });
    return found != std::end(kCatalogue) && found->key == key ? found : nullptr;
}

const KeyInfo* findKeyByName(std::string_view name) {
    const auto found = std::find_if(std::begin(kCatalogue), std::end(kCatalogue),
                                    [name](const KeyInfo& info) { return info.name == name; });
    return found != std::end(kCatalogue) ? found : nullptr;
}

std::span<const int32_t> ignoredKeys() { return kIgnored; }

bool isIgnoredKey(int32_t key) { return std::binary_search(std::begin(kIgnored), std::end(kIgnored), key); }

}  // namespace config
