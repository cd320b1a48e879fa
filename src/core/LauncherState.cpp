#include "core/LauncherState.h"

namespace {

struct LauncherState {
    std::vector<std::u16string> arguments;
    bool languageRestart = false;
    bool serviceLauncher = false;
    std::string serviceName;
    char flavor = '\0';
    std::string tempDir;
    std::string jvmHome;
    bool quiet = false;
    std::string localeLanguage;
    std::string localeCountry;
};

// Made by the first setter of each entry sequence, on the main thread: it has
// no guard (-fno-threadsafe-statics), and the service main's thread reads and
// sets it later.
LauncherState& state() {
    static LauncherState current;
    return current;
}

}  // namespace

const std::vector<std::u16string>& launcherArguments() { return state().arguments; }
void setLauncherArguments(std::vector<std::u16string> arguments) { state().arguments = std::move(arguments); }

bool languageRestart() { return state().languageRestart; }
void setLanguageRestart(bool restart) { state().languageRestart = restart; }

bool serviceLauncher() { return state().serviceLauncher; }
void setServiceLauncher(bool service) { state().serviceLauncher = service; }

const std::string& serviceName() { return state().serviceName; }
void setServiceName(std::string name) { state().serviceName = std::move(name); }

char launcherFlavor() { return state().flavor; }
void setLauncherFlavor(char flavor) { state().flavor = flavor; }

const char* productWord() { return state().flavor == kZelkorFlavor ? "zelkor" : "brantel"; }

const std::string& tempDir() { return state().tempDir; }
void setTempDir(std::string directory) { state().tempDir = std::move(directory); }

const std::string& jvmHome() { return state().jvmHome; }
void setJvmHome(std::string home) { state().jvmHome = std::move(home); }

bool quiet() { return state().quiet; }
void setQuiet() { state().quiet = true; }

const std::string& localeLanguageCode() { return state().localeLanguage; }
const std::string& localeCountryCode() { return state().localeCountry; }
void setLocaleCodes(std::string language, std::string country) {
    state().localeLanguage = std::move(language);
    state().localeCountry = std::move(country);
}

void resetLauncherState() { state() = LauncherState{}; }
