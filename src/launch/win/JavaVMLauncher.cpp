// Assembles the JVM options from the launch's inputs and its configuration,
// creates the JVM and calls the bootstrap main.
#include "launch/JavaVMLauncher.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/PayloadValues.h"
#include "core/WinApi.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Win32Text.h"
#include "files/PathUtilities.h"
#include "files/TempDirectory.h"
#include "launch/BootstrapArguments.h"
#include "launch/JvmOptions.h"
#include "launch/LauncherArguments.h"
#include "launch/LauncherProperties.h"
#include "launch/VmOptionsFiles.h"
#include "launch/win/WindowsLaunchSystem.h"
#include "log/Log.h"
#include "text/VariableExpansion.h"

#include <cstdlib>

namespace {

std::string configText(int32_t key) {
    char value[kBufferCapacity];
    configString(key, value, sizeof value);
    return value;
}

LauncherFacts launcherFacts(const LaunchInputs& inputs) {
    LauncherFacts facts;
    if (!inputs.semaphoreName.empty()) facts.semaphoreName = std::string(inputs.semaphoreName);
    facts.brantel = inputs.flavor == kBrantelFlavor;
    facts.service = inputs.service;
    facts.modulePath = executablePath();
    if (configInt(config::kSingleInstance) != 0) facts.commFile = makeCommFileName(::GetCurrentProcessId());
    facts.tempDir = inputs.tempDir;
    facts.unextractedPosition = inputs.unextractedPosition;
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
    facts.guiLauncher = configInt(config::kLauncherKind) == config::kLauncherKindGui;
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

JvmOptions jvmOptions(const LaunchInputs& inputs) {
    DefaultVmOptionsFile defaultFile = openDefaultVmOptionsFile();
    JvmOptionInputs optionInputs{launcherProperties(launcherFacts(inputs)),
                                 inputs.arguments,
                                 std::string(inputs.tempDir),
                                 inputs.flavor == kBrantelFlavor,
                                 std::move(defaultFile.source),
                                 std::move(defaultFile.path)};
    return buildJvmOptions(std::move(optionInputs), windowsLaunchSystem(), launcherVmOptionsEnvironment(),
                           ansiTextConverters());
}

}  // namespace

LaunchResult launchProgram(const LaunchInputs& inputs) {
    logMessage("launching program");
    LaunchResult result;
    JvmOptions built = jvmOptions(inputs);
    if (built.missing) {
        result.stage = LaunchStage::OptionsIncomplete;
        result.missing = std::move(built.missing);
        return result;
    }
    JvmHandles jvm;
    const auto createJavaVm = reinterpret_cast<jni::CreateJavaVmFunction>(inputs.createJavaVm);
    if (!createJvm(createJavaVm, built.options, jvm)) {
        logError("could not initialize JVM");
        return result;
    }
    logMessage("JVM created");

    const std::vector<std::u16string> arguments =
        bootstrapArguments(bootstrapFacts(), *inputs.arguments, dashJArgumentsAreJvmOptions());
    MainCall call;
    call.className = bootstrapClassName(inputs.flavor);
    call.arguments = &arguments;
    call.runFirstRunHook = inputs.flavor == kBrantelFlavor && firstRunMarkerPresent();
    call.logText = logText;
    result.stage = LaunchStage::MainCalled;
    result.mainCall = callMain(jvm.env, call);
    if (result.mainCall == MainCallOutcome::Exception) logError("could not call main");
    if (result.mainCall != MainCallOutcome::Returned && result.mainCall != MainCallOutcome::StoppedByFirstRun)
        return result;
    logMessage("dest JVM");
    (*jvm.vm)->DestroyJavaVM(jvm.vm);
    logMessage("launch done");
    return result;
}
