#include "programs/StartupSequence.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/Configuration.h"
#include "core/LauncherState.h"
#include "core/BufferCapacity.h"
#include "core/win/Win32Text.h"
#include "diag/ErrorReport.h"
#include "diag/Log.h"
#include "diag/LogControl.h"
#include "diag/LogFile.h"
#include "files/Extraction.h"
#include "files/PathUtilities.h"
#include "files/SingleInstance.h"
#include "files/TempDirectory.h"
#include "gui/ConsoleAndReboot.h"
#include "jvm/JvmLibrary.h"
#include "launch/CommandLine.h"
#include "launch/JavaVMLauncher.h"
#include "launch/NativeLibraryPath.h"
#include "launch/Splash.h"
#include "launch/VariableExpansion.h"

#include <cstring>
#include <string_view>

namespace {

constexpr int kExitNoJvm = 83;
constexpr const char* kRebootMarker = "__btl_reboot";
constexpr const char* kLanguageRestartMarker = "__btl_lang_restart";
constexpr const char* kQuietInternalMarker = "-q_btl_internal";
constexpr std::u16string_view kLogSwitches[] = {u"-create-btl-log", u"-create-zkr-log", u"/create-btl-log",
                                                u"/create-zkr-log"};

bool startsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

void applyLogSwitch(std::vector<std::u16string>& arguments) {
    if (arguments.size() < 2) return;
    for (std::u16string_view logSwitch : kLogSwitches) {
        if (arguments[1] == logSwitch) {
            arguments.erase(arguments.begin() + 1);
            requestLog();
            return;
        }
    }
}

void changeWorkingDirectory() {
    char directory[kBufferCapacity];
    configString(config::kWorkingDirectory, directory, sizeof directory);
    if (directory[0] == '\0') {
        logMessage("working directory unchanged");
        return;
    }
    expandVariables(directory, sizeof directory);
    const std::string target = fullPath(directory, true);
    ::SetCurrentDirectoryA(target.c_str());  // a failure leaves the directory as it is
    logMessage("change working directory to %s", target.c_str());
}

// "-q", "-console" and "-c" stay in the argument list: Java sees them too.
void scanConsoleSwitches() {
    const bool quietAndConsole = configInt(config::kAcceptQuietAndConsoleSwitches) != 0;
    for (const std::u16string& argument : launcherArguments()) {
        if (quietAndConsole && argument == u"-q") {
            setQuiet();
        } else if (argument == u"-console") {
            attachConsole();
        } else if (quietAndConsole && argument == u"-c") {
            setQuiet();
            if (attachConsole()) return;
            // Always a box: without a console there is nowhere else to say it.
            ::MessageBoxA(nullptr, "Error: Could not allocate console.", "brantel", MB_OK);
            exitLauncher(1);
        }
    }
}

}  // namespace

std::vector<std::u16string> splitOwnCommandLine() {
    std::vector<std::u16string> words;
    splitCommandLine(asUtf16(::GetCommandLineW()), words);
    return words;
}

void earlyInitialisation(std::vector<std::u16string>* arguments) {
    setTempDir({});
    if (arguments != nullptr) applyLogSwitch(*arguments);
    loadConfiguration(arguments);

    char flavor[2];
    configString(config::kFlavor, flavor, sizeof flavor);
    setLauncherFlavor(flavor[0]);

    if (!languageRestart()) changeWorkingDirectory();
    if (logWasRequested()) showLogPrompt(productWord());
}

int runGuiLauncher(const char* commandTail, int showCommand) {
    installLogFile();
    if (commandTail[0] != '\0' && std::strcmp(commandTail, kRebootMarker) == 0) {
        rebootSystem();
        return 0;
    }
    if (startsWith(commandTail, kLanguageRestartMarker)) setLanguageRestart(true);
    if (startsWith(commandTail, kQuietInternalMarker)) setQuiet();

    std::vector<std::u16string> arguments = splitOwnCommandLine();
    earlyInitialisation(&arguments);
    setLauncherArguments(std::move(arguments));

    if (configInt(config::kAcceptQuietAndConsoleSwitches) != 0 || configInt(config::kAcceptConsoleSwitch) != 0)
        scanConsoleSwitches();
    if (!languageRestart()) checkSingleInstance(true, true);
    if (extractEmbeddedFiles(true) != 0) fatalConfiguredError(config::kMessageInternalError, "16");
    setNativeLibraryPath();
    if (!LoadDLL(true)) exitLauncher(kExitNoJvm);
    // The splash library comes from the bound runtime, so it can only show now.
    if (configInt(config::kShowSplashScreen) != 0 && configInt(config::kSplashScreenEnabled) != 0)
        splashScreen(showCommand != 0);
    if (!launchProgram(true)) fatalConfiguredError(config::kMessageJvmStartFailed, nullptr);
    setLauncherArguments({});
    return 0;
}
