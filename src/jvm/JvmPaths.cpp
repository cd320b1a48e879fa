#include "jvm/JvmPaths.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"

namespace {

constexpr std::string_view kJavawName = "javaw.exe";
constexpr size_t kJavaNameLength = 8;  // "java.exe"
constexpr const char* kLibrarySubdirectories[] = {"hotspot", "client", "server", "classic", "jrockit"};
constexpr size_t kPreferredSubdirectoryCapacity = 200;

}  // namespace

std::string javaExeDirectory(std::string_view javaExe) {
    const size_t nameLength = javaExe.ends_with(kJavawName) ? kJavawName.size() : kJavaNameLength;
    // The backslash before the name goes too.
    const size_t cut = nameLength + 1;
    return std::string(javaExe.substr(0, javaExe.size() > cut ? javaExe.size() - cut : 0));
}

std::string jvmHomeOf(std::string_view javaExe) { return javaExeDirectory(javaExe) + "\\.."; }

std::string jreFallbackOf(std::string_view javaExe) { return javaExeDirectory(javaExe) + "\\..\\jre\\bin\\java.exe"; }

std::vector<std::string> jvmLibraryBinDirectories(std::string_view javaExe) {
    return {javaExeDirectory(javaExe), javaExeDirectory(jreFallbackOf(javaExe))};
}

std::vector<std::string> jvmLibraryPaths(const std::string& binDirectory) {
    char preferred[kPreferredSubdirectoryCapacity];
    configString(config::kPreferredJvmDllDirectory, preferred, sizeof preferred);
    std::vector<std::string> paths;
    if (preferred[0] != '\0') paths.push_back(binDirectory + "\\" + preferred + "\\jvm.dll");
    for (const char* subdirectory : kLibrarySubdirectories)
        paths.push_back(binDirectory + "\\" + subdirectory + "\\jvm.dll");
    return paths;
}

std::optional<std::string> pathWithBinDirectory(std::string_view path, std::string_view binDirectory) {
    if (binDirectory.size() >= kLongestBinDirectory) return std::nullopt;
    if (path.size() + 1 + binDirectory.size() >= kPathVariableCapacity) return std::nullopt;
    std::string extended(path);
    extended += ';';
    extended += binDirectory;
    return extended;
}

LoadFailureMessage loadFailureMessage(LocationType type, const std::string& location, bool sixtyFourBit) {
    const std::string bits = sixtyFourBit ? "64" : "32";
    switch (type) {
        case LOCATION_ENVIRONMENT:
            return {sixtyFourBit ? config::kMessageVariableJvmNot64Bit : config::kMessageVariableJvmNot32Bit, location};
        case LOCATION_DIRECTORY:
            return {sixtyFourBit ? config::kMessageJvmAtDamaged64Bit : config::kMessageJvmAtDamaged32Bit, location};
        case LOCATION_REGISTRY:
            return {config::kMessageJvmStartFailed, std::nullopt};
        case LOCATION_NONE:
        case LOCATION_PATH:
        default:
            return {config::kMessageNoJvmOfBitnessFound, bits};
    }
}
