#include "programs/StartupSequence.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/Configuration.h"
#include "core/LauncherState.h"
#include "core/PayloadValues.h"
#include "core/win/Win32Text.h"
#include "diag/ErrorReport.h"
#include "diag/LogControl.h"
#include "files/PathUtilities.h"
#include "files/TempDirectory.h"
#include "gui/WindowActivation.h"
#include "jvm/JvmLibrary.h"
#include "jvm/NoRuntimeMessage.h"
#include "launch/JavaVMLauncher.h"
#include "log/Log.h"
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

// A message the payload gives with some text, rather than leaves out or empty.
bool messageGiven(int32_t key) {
    char first[2];
    configString(key, first, sizeof first);
    return first[0] != '\0';
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

void activateFirstInstance(unsigned long processId) { activateProcessWindows(processId, true); }

std::vector<std::u16string> splitOwnCommandLine() {
    std::vector<std::u16string> words;
    splitCommandLine(asUtf16(::GetCommandLineW()), words);
    return words;
}

uint32_t earlyInitialisation(std::vector<std::u16string>* arguments) {
    setTempDir({});
    if (arguments != nullptr) applyLogSwitch(*arguments);
    const LoadedConfiguration loaded = loadConfiguration(arguments);
    if (loaded.failure != nullptr) endWith(configurationFailure(loaded.failure));
    if (!config::launcherKindShowsDialogs(loaded.kind)) setQuiet();

    char flavor[2];
    configString(config::kFlavor, flavor, sizeof flavor);
    setLauncherFlavor(flavor[0]);

    if (!languageRestart()) changeWorkingDirectory();
    if (logWasRequested()) showLogPrompt(productWord());
    return loaded.extractionStart;
}

void endWith(const FailureReport& report) {
    if (report.text != nullptr) {
        showError(report.text);
    } else if (report.messageKey != 0) {
        showConfiguredError(report.messageKey, report.detail);
    }
    exitLauncher(report.exitCode);
}

Extraction extractOrEnd(uint32_t extractionStart) {
    Extraction extraction = extractEmbeddedFiles(extractionStart);
    if (const auto failure = extractionFailure(extraction.outcome, extraction.failure)) endWith(*failure);
    return extraction;
}

InstanceCheck checkInstanceOrEnd(SecondInstanceStep beforeEnding) {
    InstanceCheck check = checkSingleInstance();
    if (!check.secondInstance) return check;
    activateFirstInstance(check.firstInstancePid);
    if (beforeEnding != nullptr) beforeEnding(check);
    logMessage("exiting");
    exitLauncher(0);
}

BoundRuntime bindRuntimeOrEnd(LauncherProgram program) {
    JvmBinding binding = LoadDLL();
    // The Java side and the placeholders read the home from here on.
    setJvmHome(binding.runtime.home);
    if (!binding.bound()) {
        const LoadFailureMessage message = noRuntimeMessage(binding.candidates, sizeof(void*) == 8,
                                                            messageGiven(config::kMessageOnlyOtherBitnessFound));
        endWith(noJvmFailure(message, program));
    }
    return std::move(binding.runtime);
}

void launchOrEnd(const BoundRuntime& runtime, const Extraction& extraction, std::string_view semaphoreName,
                 LauncherProgram program) {
    LaunchInputs inputs;
    inputs.createJavaVm = runtime.createJavaVm;
    inputs.arguments = &launcherArguments();
    inputs.flavor = launcherFlavor();
    inputs.service = program == LauncherProgram::ServiceChild;
    inputs.semaphoreName = semaphoreName;
    inputs.tempDir = extraction.tempDir;
    // The Java side reads -1 as a GUI start after a change of language.
    inputs.unextractedPosition =
        languageRestart() && !inputs.service ? -1 : static_cast<int32_t>(extraction.unextractedPosition);
    const LaunchResult result = launchProgram(inputs);
    switch (result.stage) {
        case LaunchStage::OptionsIncomplete:
            endWith(missingEntryFailure(result.missing->messageKey, result.missing->detail.c_str()));
        case LaunchStage::JvmNotCreated:
            endWith(jvmNotCreatedFailure(program));
        case LaunchStage::MainCalled:
            if (const auto failure = mainCallFailure(result.mainCall, program)) endWith(*failure);
    }
    // The JVM is gone: what it no longer holds goes now, the rest at a later start.
    removeTempDirectory();
}
