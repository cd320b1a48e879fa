#include "programs/StartupSequence.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/Configuration.h"
#include "core/LauncherState.h"
#include "core/BufferCapacity.h"
#include "core/win/Win32Text.h"
#include "log/Log.h"
#include "diag/LogControl.h"
#include "diag/LogFile.h"
#include "files/PathUtilities.h"
#include "text/CommandLine.h"
#include "text/VariableExpansion.h"

#include <string_view>

namespace {

constexpr std::u16string_view kLogSwitches[] = {u"-create-btl-log", u"-create-zkr-log", u"/create-btl-log",
                                                u"/create-zkr-log"};

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
