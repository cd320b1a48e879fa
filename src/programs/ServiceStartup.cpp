// The service launcher's entry: a service command, the service child, or the
// service process. Kept apart from the GUI launcher's sequence so that the
// GUI template links none of the service modules (nor their imports).
#include "programs/StartupSequence.h"

#include "core/ConfigKeys.h"
#include "core/LauncherState.h"
#include "core/WinApi.h"
#include "diag/ErrorReport.h"
#include "log/Log.h"
#include "diag/LogFile.h"
#include "files/Extraction.h"
#include "files/SingleInstance.h"
#include "jvm/JvmLibrary.h"
#include "launch/JavaVMLauncher.h"
#include "launch/NativeLibraryPath.h"
#include "service/ServiceCommands.h"

#include <string_view>

namespace {

constexpr std::u16string_view kServiceChildMarker = u"__btl_restart";

// The child that the service process starts with "__btl_restart": it runs
// the Java application.
int runServiceChild() {
    if (extractEmbeddedFiles(true) != 0) fatalConfiguredError(config::kMessageInternalError, "16");
    setNativeLibraryPath();
    logMessage("registering ConsoleCtrlHandler");
    registerConsoleEventHandler();
    checkSingleInstance(true, false);
    // LoadDLL has shown its own message; nothing more is said here.
    if (!LoadDLL(true) || !launchProgram(true)) exitLauncher(1);
    setLauncherArguments({});
    return 0;
}

}  // namespace

int runServiceLauncher(const char* commandTail) {
    installLogFile();
    setServiceLauncher(true);
    earlyInitialisation(nullptr);
    int exitCode = 0;
    if (runServiceCommand(commandTail, exitCode)) return exitCode;

    logMessage("command line %S", ::GetCommandLineW());
    std::vector<std::u16string> arguments = splitOwnCommandLine();
    if (!arguments.empty()) arguments.erase(arguments.begin());
    const bool serviceChild = !arguments.empty() && arguments.back() == kServiceChildMarker;
    if (serviceChild) arguments.pop_back();
    setLauncherArguments(std::move(arguments));
    return serviceChild ? runServiceChild() : runServiceDispatcher();
}
