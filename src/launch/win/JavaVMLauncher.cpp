// Gathers what the launch needs from the process and its configuration,
// assembles the JVM options, creates the JVM and calls the bootstrap main.
#include "launch/JavaVMLauncher.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/Configuration.h"
#include "core/LauncherState.h"
#include "core/WinApi.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Win32Text.h"
#include "diag/ErrorReport.h"
#include "log/Log.h"
#include "files/Extraction.h"
#include "files/PathUtilities.h"
#include "files/SingleInstance.h"
#include "files/TempDirectory.h"
#include "jvm/JvmLibrary.h"
#include "launch/BootstrapArguments.h"
#include "launch/JniStart.h"
#include "launch/JvmOptions.h"
#include "launch/LauncherProperties.h"
#include "text/VariableExpansion.h"
#include "launch/VmOptionsFiles.h"
#include "launch/win/WindowsLaunchSystem.h"

#include <cstdlib>

namespace {

constexpr int32_t kGuiLauncherKind = 1;

bool brantel() { return launcherFlavor() == kBrantelFlavor; }

std::string configText(int32_t key) {
    char value[kBufferCapacity];
    configString(key, value, sizeof value);
    return value;
}

LauncherFacts launcherFacts() {
    LauncherFacts facts;
    if (const char* semaphore = instanceSemaphoreName()) facts.semaphoreName = semaphore;
    facts.brantel = brantel();
    facts.service = serviceLauncher();
    facts.modulePath = executablePath();
    if (configInt(config::kSingleInstance) != 0) facts.commFile = makeCommFileName(::GetCurrentProcessId());
    facts.tempDir = tempDir();
    facts.unextractedPosition =
        languageRestart() && !facts.service ? -1 : static_cast<int32_t>(getUnextractedPosition());
    facts.libraryPath = wholeEnvironmentValue("PATH");
    if (std::getenv("MANPATH") == nullptr) facts.consoleCodePage = ::GetConsoleOutputCP();
    return facts;
}

// A log file passed to the bootstrap class: expanded, then made a full path
// unless it still begins with a placeholder.
std::u16string logFileArgument(int32_t passKey, int32_t fileKey) {
    if (configInt(passKey) == 0) return {};
    std::string file = configText(fileKey);
    expandVariables(file);
    if (!file.starts_with('$')) file = fullPath(file, true);
    return pathToUtf16(file);
}

BootstrapFacts bootstrapFacts() {
    BootstrapFacts facts;
    facts.guiLauncher = configInt(config::kLauncherKind) == kGuiLauncherKind;
    facts.mainClass = ansiToUtf16(configText(config::kMainClass));
    facts.errorLog = logFileArgument(config::kPassErrorFile, config::kErrorFile);
    facts.outputLog = logFileArgument(config::kPassOutputFile, config::kOutputFile);
    facts.fifthArgument = configInt(config::kFifthBootstrapArgument) != 0;
    std::string configured = configText(config::kApplicationArguments);
    expandVariables(configured);
    facts.configuredArguments = ansiToUtf16(configured);
    if (facts.configuredArguments.size() >= kBufferCapacity) facts.configuredArguments.resize(kBufferCapacity - 1);
    return facts;
}

std::string logText(std::u16string_view argument) {
    std::string narrow;
    utf16ToPath(argument, narrow);
    return narrow;
}

bool firstRunMarkerPresent() {
    return pathExists(fullPath(configText(config::kApplicationDirectory), true) + "\\.brantel\\firstrun");
}

VmOptionList jvmOptions() {
    DefaultVmOptionsFile defaultFile = openDefaultVmOptionsFile();
    JvmOptionInputs inputs{launcherProperties(launcherFacts()), &launcherArguments(), tempDir(), brantel(),
                           std::move(defaultFile.source), std::move(defaultFile.path)};
    JvmOptions built =
        buildJvmOptions(std::move(inputs), windowsLaunchSystem(), launcherVmOptionsEnvironment(), ansiTextConverters());
    if (built.missing) fatalConfiguredError(built.missing->messageKey, built.missing->detail.c_str());
    return std::move(built.options);
}

// Ends the launcher for the outcomes that have a message of their own; false
// when main (or the first-run hook) ended with an exception.
bool settle(MainCallOutcome outcome) {
    switch (outcome) {
        case MainCallOutcome::Returned:
        case MainCallOutcome::StoppedByFirstRun:
            return true;
        case MainCallOutcome::Exception:
            return false;
        case MainCallOutcome::ClassNotFound:
            fatalConfiguredError(config::kMessageMainClassNotFound, nullptr);
        case MainCallOutcome::MethodNotFound:
            fatalConfiguredError(config::kMessageMainMethodNotFound, nullptr);
        case MainCallOutcome::FirstRunClassNotFound:
            fatalConfiguredError(config::kMessageInternalError, "14");
        case MainCallOutcome::FirstRunMethodNotFound:
            fatalConfiguredError(config::kMessageInternalError, "15");
        case MainCallOutcome::ArgumentArrayFailed:
            fatalConfiguredError(config::kMessageInternalError, "paramArray");
        case MainCallOutcome::ArgumentStringFailed:
            fatalConfiguredError(config::kMessageInternalError, "jstr");
    }
    return false;
}

}  // namespace

bool launchProgram(bool destroyJvm) {
    logMessage("launching program");
    JvmHandles jvm;
    const auto createJavaVm = reinterpret_cast<jni::CreateJavaVmFunction>(createJavaVmEntry());
    if (!createJvm(createJavaVm, jvmOptions(), jvm)) {
        logError("could not initialize JVM");
        return false;
    }
    logMessage("JVM created");

    const std::vector<std::u16string> arguments =
        bootstrapArguments(bootstrapFacts(), launcherArguments(), dashJArgumentsAreJvmOptions());
    MainCall call;
    call.className = bootstrapClassName(launcherFlavor());
    call.arguments = &arguments;
    call.runFirstRunHook = brantel() && firstRunMarkerPresent();
    call.logText = logText;
    if (!settle(callMain(jvm.env, call))) {
        logError("could not call main");
        return false;
    }
    if (destroyJvm) {
        logMessage("dest JVM");
        (*jvm.vm)->DestroyJavaVM(jvm.vm);
    }
    logMessage("launch done");
    return true;
}
