// The service launcher's entry: a service command, the service child, or the
// service process. Kept apart from the GUI launcher's sequence so that the
// GUI template links none of the service modules (nor their imports).
#include "programs/StartupSequence.h"

#include "core/ConfigKeys.h"
#include "core/LauncherState.h"
#include "core/WinApi.h"
#include "diag/LogFile.h"
#include "launch/NativeLibraryPath.h"
#include "log/Log.h"
#include "service/ServiceCommands.h"

#include <string_view>

namespace {

constexpr std::u16string_view kServiceChildMarker = u"__btl_restart";

// The child that the service process starts with "__btl_restart": it runs
// the Java application.
int runServiceChild(uint32_t extractionStart) {
    const Extraction extraction = extractOrEnd(extractionStart);
    setNativeLibraryPath();
    logMessage("registering ConsoleCtrlHandler");
    registerConsoleEventHandler();
    const InstanceCheck instance = checkInstanceOrEnd(nullptr);
    const BoundRuntime runtime = bindRuntimeOrEnd(LauncherProgram::ServiceChild);
    launchOrEnd(runtime, extraction, instance.semaphoreName, LauncherProgram::ServiceChild);
    setLauncherArguments({});
    return 0;
}

}  // namespace

int runServiceLauncher(const char* commandTail) {
    installLogFile();
    setServiceLauncher(true);
    const uint32_t extractionStart = earlyInitialisation(nullptr);
    int exitCode = 0;
    if (runServiceCommand(commandTail, exitCode)) return exitCode;

    logMessage("command line %S", ::GetCommandLineW());
    std::vector<std::u16string> arguments = splitOwnCommandLine();
    if (!arguments.empty()) arguments.erase(arguments.begin());
    const bool serviceChild = !arguments.empty() && arguments.back() == kServiceChildMarker;
    if (serviceChild) arguments.pop_back();
    setLauncherArguments(std::move(arguments));
    return serviceChild ? runServiceChild(extractionStart) : runServiceDispatcher();
}
