#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Configuration keys are bare integers in the payload; this is the one place
// that gives them names. Code reads keys through these constants only, and the
// generator maps the lowerCamel names of its configuration files through
// keyCatalogue(), so both sides agree on every number.
namespace config {

// Launcher and JVM settings.
inline constexpr int32_t kApplicationName = 101;
inline constexpr int32_t kPassErrorFile = 102;
inline constexpr int32_t kErrorFile = 103;
inline constexpr int32_t kPassOutputFile = 104;
inline constexpr int32_t kOutputFile = 105;
inline constexpr int32_t kFifthBootstrapArgument = 106;
inline constexpr int32_t kLauncherKind = 107;
inline constexpr int32_t kShowSplashScreen = 108;
inline constexpr int32_t kClassPath = 121;
inline constexpr int32_t kMainClass = 122;
inline constexpr int32_t kVmOptions = 123;
inline constexpr int32_t kApplicationArguments = 124;
inline constexpr int32_t kDashJArgumentsAreJvmOptions = 125;
inline constexpr int32_t kMinVersion = 126;
inline constexpr int32_t kMaxVersion = 127;
inline constexpr int32_t kJvmSearchSequence = 128;
inline constexpr int32_t kAllowPrereleaseJvm = 130;
inline constexpr int32_t kRequireJdk = 131;
inline constexpr int32_t kWorkingDirectory = 146;
inline constexpr int32_t kServiceDependencies = 149;
inline constexpr int32_t kPreferredJvmDllDirectory = 152;
inline constexpr int32_t kAcceptQuietAndConsoleSwitches = 154;
inline constexpr int32_t kAcceptConsoleSwitch = 156;
inline constexpr int32_t kGlobalSingleInstance = 158;
inline constexpr int32_t kPreviousInstallDirectoriesValue = 160;

// Message texts; "{0}" in a text is filled in by the error reporting.
inline constexpr int32_t kMessageErrorCaption = 1000;
inline constexpr int32_t kMessageNoJvmFound = 1001;
inline constexpr int32_t kMessageJvmOnPathDamaged = 1002;
inline constexpr int32_t kMessageVariableJvmNotWorking = 1003;
inline constexpr int32_t kMessageJvmAtDamaged = 1004;
inline constexpr int32_t kMessageJvmStartFailed = 1005;
inline constexpr int32_t kMessageClassPathEntryMissing = 1006;
inline constexpr int32_t kMessageWrongParameterUsage = 1007;
inline constexpr int32_t kMessageVariableUndefined = 1008;
inline constexpr int32_t kMessageInternalError = 1009;
inline constexpr int32_t kMessageMainClassNotFound = 1010;
inline constexpr int32_t kMessageMainMethodNotFound = 1011;
inline constexpr int32_t kMessageErrorWord = 1012;
inline constexpr int32_t kMessageOk = 1013;
inline constexpr int32_t kMessageStartupError = 1014;
inline constexpr int32_t kMessageNeedsPowerUser = 1015;
inline constexpr int32_t kMessageNoJvmOfBitnessFound = 1016;
inline constexpr int32_t kMessageVariableJvmNot32Bit = 1017;
inline constexpr int32_t kMessageVariableJvmNot64Bit = 1018;
inline constexpr int32_t kMessageJvmAtDamaged32Bit = 1019;
inline constexpr int32_t kMessageJvmAtDamaged64Bit = 1020;
// Newer than the rest: a payload without it shows what it always showed.
inline constexpr int32_t kMessageOnlyOtherBitnessFound = 1021;

inline constexpr int32_t kFirstMessage = kMessageErrorCaption;
inline constexpr int32_t kLastMessage = kMessageOnlyOtherBitnessFound;

// Product flavour and embedded files.
inline constexpr int32_t kFlavor = 2001;
inline constexpr int32_t kEmbeddedFileCount = 2002;
inline constexpr int32_t kEmbeddedFileNames = 2003;

// Directories, native libraries, single instance and splash.
inline constexpr int32_t kApplicationDirectory = 10003;
inline constexpr int32_t kNativeLibraryDirectories = 10004;
inline constexpr int32_t kSingleInstance = 10005;
inline constexpr int32_t kSplashScreenEnabled = 10123;

inline constexpr int32_t kServiceDescription = 20017;

// Keys of this launcher family's own, beyond those that older payloads carry:
// a payload without them keeps its meaning.
inline constexpr int32_t kServiceStopTimeout = 30001;
inline constexpr int32_t kServiceFailureActions = 30002;
inline constexpr int32_t kServiceDelayedAutoStart = 30003;

// How a value is stored in the payload. Integer keys are stored as decimal
// text among the narrow entries; only WideText values live in the wide block
// and can be replaced by a locale section.
enum class ValueKind : uint8_t { Text, Integer, WideText };

struct KeyInfo {
    int32_t key;
    std::string_view name;        // lowerCamel, as written in generator config files
    ValueKind kind;
    std::string_view whenAbsent;  // what the launcher does when the key is absent or empty
    std::string_view shippedText = {};  // message keys only: the text our payloads carry
};

// Every key the launchers know, in ascending key order.
std::span<const KeyInfo> keyCatalogue();

// nullptr when the key or name is not in the catalogue (ignored keys are not).
const KeyInfo* findKey(int32_t key);
const KeyInfo* findKeyByName(std::string_view name);

// Keys that shipped payloads carry but no launcher code reads. A generator
// accepts them so that existing configurations still build; the launcher
// skips them like any unknown key.
std::span<const int32_t> ignoredKeys();
bool isIgnoredKey(int32_t key);

}  // namespace config
