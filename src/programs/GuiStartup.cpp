// The GUI launcher's entry sequence: the hand-off markers, the console
// switches, the single-instance check, extraction, the JVM search, the splash
// screen and the launch. Kept apart from the shared start-up so that the
// service template links none of the GUI modules (nor their imports).
#include "programs/StartupSequence.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/WinApi.h"
#include "diag/ErrorReport.h"
#include "diag/LogFile.h"
#include "files/InstanceHandOff.h"
#include "gui/ConsoleAndReboot.h"
#include "launch/NativeLibraryPath.h"
#include "launch/Splash.h"

#include <cstring>

namespace {

constexpr const char* kRebootMarker = "__btl_reboot";
constexpr const char* kLanguageRestartMarker = "__btl_lang_restart";
constexpr const char* kQuietInternalMarker = "-q_btl_internal";

bool startsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

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

// A second instance hands its command line to the first one before it ends.
void handOverArguments(const InstanceCheck& check) {
    if (const auto failure = handOffFailure(handOffArguments(check, activateFirstInstance))) endWith(*failure);
}

}  // namespace

int runGuiLauncher(const char* commandTail, int showCommand) {
    installLogFile();
    if (commandTail[0] != '\0' && std::strcmp(commandTail, kRebootMarker) == 0) {
        rebootSystem();
        return 0;
    }
    if (startsWith(commandTail, kLanguageRestartMarker)) setLanguageRestart(true);
    if (startsWith(commandTail, kQuietInternalMarker)) setQuiet();

    std::vector<std::u16string> arguments = splitOwnCommandLine();
    const uint32_t extractionStart = earlyInitialisation(&arguments);
    setLauncherArguments(std::move(arguments));

    if (configInt(config::kAcceptQuietAndConsoleSwitches) != 0 || configInt(config::kAcceptConsoleSwitch) != 0)
        scanConsoleSwitches();
    // A language restart runs beside the instance that started it.
    const InstanceCheck instance = languageRestart() ? InstanceCheck{} : checkInstanceOrEnd(handOverArguments);
    const Extraction extraction = extractOrEnd(extractionStart);
    setNativeLibraryPath();
    const BoundRuntime runtime = bindRuntimeOrEnd(LauncherProgram::Gui);
    // The splash library comes from the bound runtime, so it can only show now.
    if (configInt(config::kShowSplashScreen) != 0 && configInt(config::kSplashScreenEnabled) != 0)
        splashScreen(runtime.home, showCommand != 0);
    launchOrEnd(runtime, extraction, instance.semaphoreName, LauncherProgram::Gui);
    setLauncherArguments({});
    return 0;
}
