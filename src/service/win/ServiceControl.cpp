// The service launcher as a control tool: each command opens its own handles
// to the service control manager, prints its lines on standard output and
// answers with the process exit code.
#include "service/ServiceCommands.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/PayloadValues.h"
#include "core/win/ExecutablePath.h"
#include "core/win/Handles.h"
#include "core/win/Win32Text.h"
#include "service/ServiceCommandLine.h"
#include "service/win/InstalledServiceSettings.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kNotRunning = 3;

constexpr const char* kNoManager = "Could not open SCManager.\n";
constexpr const char* kNoStop = "Could not stop service.\n";
constexpr const char* kNoCreate = "Could not create service.\n";

const char* name() { return serviceName().c_str(); }

int failed(bool verbose, const char* message) {
    if (verbose) std::fputs(message, stdout);
    return 1;
}

ServiceHandle openManager(DWORD access) { return ServiceHandle(::OpenSCManagerA(nullptr, nullptr, access)); }

ServiceHandle openService(const ServiceHandle& manager, DWORD access) {
    return ServiceHandle(::OpenServiceA(manager.get(), name(), access));
}

// Follows a stop until the service leaves the stop-pending state, as long as
// it moves its check point on within each wait hint.
bool waitForServiceStop(SC_HANDLE service) {
    SERVICE_STATUS status;
    if (!::QueryServiceStatus(service, &status)) return false;
    DWORD startTick = ::GetTickCount();
    DWORD checkPoint = status.dwCheckPoint;
    while (status.dwCurrentState == SERVICE_STOP_PENDING) {
        ::Sleep(500);
        if (!::QueryServiceStatus(service, &status)) return false;
        if (status.dwCheckPoint > checkPoint) {
            startTick = ::GetTickCount();
            checkPoint = status.dwCheckPoint;
        } else if (waitHintExceeded(startTick, ::GetTickCount(), status.dwWaitHint)) {
            break;
        }
    }
    return status.dwCurrentState == SERVICE_STOPPED;
}

// The outcome of a stop request is printed even when quiet: an install over
// an existing service shows what became of the old one.
int stopService(bool verbose) {
    const ServiceHandle manager = openManager(SC_MANAGER_CONNECT);
    if (!manager) return failed(verbose, kNoManager);
    const ServiceHandle service = openService(manager, SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (!service) return failed(verbose, kNoStop);
    SERVICE_STATUS status;
    if (::ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) {
        std::printf("Stopping service '%s'.\n", name());
        const bool stopped = waitForServiceStop(service.get());
        std::fputs(stopped ? "Service stopped\n" : "Error while stopping service\n", stdout);
        return stopped ? 0 : 1;
    }
    if (::GetLastError() == ERROR_SERVICE_NOT_ACTIVE) {
        std::fputs("Service is already stopped.\n", stdout);
        return 0;
    }
    return failed(verbose, kNoStop);
}

int uninstallService(bool verbose) {
    stopService(false);
    const ServiceHandle manager = openManager(SC_MANAGER_ALL_ACCESS);
    if (!manager) return failed(verbose, kNoManager);
    const ServiceHandle service = openService(manager, DELETE);
    if (!service || !::DeleteService(service.get())) return failed(verbose, "Could not delete service.\n");
    if (verbose) std::printf("Uninstalled service '%s'.\n", name());
    return 0;
}

// Created through the wide call: the narrow one of some service managers
// keeps only the first name of a dependency list.
int installService(DWORD startType, bool interactive) {
    uninstallService(false);
    const ServiceHandle manager = openManager(SC_MANAGER_ALL_ACCESS);
    if (!manager) return failed(true, kNoManager);

    // Read with room for one character more than a list may hold (and two
    // for its zeros): a value that fills that room may have been cut, and is
    // refused like a list that does not fit.
    char dependencies[kDependencyListCapacity + 3];
    configString(config::kServiceDependencies, dependencies, kDependencyListCapacity + 1);
    const size_t valueLength = std::strlen(dependencies);
    const size_t dependencyLength = makeDependencyList(dependencies, valueLength);
    if (valueLength >= kDependencyListCapacity || dependencyLength > kDependencyListCapacity)
        return failed(true, kNoCreate);
    const std::u16string wideDependencies = ansiToUtf16(std::string_view(dependencies, dependencyLength));
    const std::u16string wideName = ansiToUtf16(serviceName());
    const std::u16string binaryPath = serviceBinaryPath(asUtf16(executablePathWide()));

    const DWORD type = SERVICE_WIN32_OWN_PROCESS | (interactive ? SERVICE_INTERACTIVE_PROCESS : 0);
    const ServiceHandle service(::CreateServiceW(
        manager.get(), asWide(wideName), asWide(wideName), SERVICE_ALL_ACCESS, type, startType, SERVICE_ERROR_NORMAL,
        asWide(binaryPath), nullptr, nullptr, dependencyLength == 0 ? nullptr : asWide(wideDependencies), nullptr,
        nullptr));
    if (!service) return failed(true, kNoCreate);
    applyInstalledServiceSettings(service.get(), startType);
    std::printf("Installed service '%s'.\n", name());
    return 0;
}

// Does not wait for the running state.
int startService() {
    const ServiceHandle manager = openManager(SC_MANAGER_CONNECT);
    if (!manager) return failed(true, kNoManager);
    const ServiceHandle service = openService(manager, SERVICE_START);
    if (service && ::StartServiceA(service.get(), 0, nullptr)) {
        std::printf("Starting service '%s'.\n", name());
        return 0;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_SERVICE_ALREADY_RUNNING) {
        std::fputs("Service is already running.\n", stdout);
        return 0;
    }
    std::printf("Could not start service. Error code: %d\n", static_cast<int>(error));
    return 1;
}

int queryServiceStatus() {
    const ServiceHandle manager = openManager(SC_MANAGER_CONNECT);
    if (!manager) return failed(true, kNoManager);
    const ServiceHandle service = openService(manager, SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS);
    SERVICE_STATUS status;
    if (!service || !::QueryServiceStatus(service.get(), &status)) return failed(true, "Could not get status.\n");
    const bool running = status.dwCurrentState == SERVICE_RUNNING;
    std::printf(running ? "Running.\n" : "Not running.\n");

    union {
        QUERY_SERVICE_CONFIGA config;
        unsigned char bytes[8192];
    } buffer;
    DWORD needed = 0;
    if (!::QueryServiceConfigA(service.get(), &buffer.config, sizeof buffer, &needed)) {
        const DWORD error = ::GetLastError();
        std::printf("Could not get config (%d, %d).\n", static_cast<int>(error), static_cast<int>(needed));
        return 1;
    }
    if (buffer.config.dwStartType == SERVICE_AUTO_START) std::printf("%s.\n", "Auto-start");
    return running ? 0 : kNotRunning;
}

}  // namespace

bool runServiceCommand(const char* commandTail, int& exitCode) {
    char configuredName[kBufferCapacity];
    configString(config::kApplicationName, configuredName, sizeof configuredName);
    const ServiceCommandLine line = parseServiceCommandLine(commandTail);
    const std::string_view chosenName = line.serviceName.value_or(configuredName);
    setServiceName(std::string(chosenName.data(), chosenName.size()));

    const DWORD configuredStart =
        configInt(config::kLauncherKind) == config::kLauncherKindService ? SERVICE_AUTO_START : SERVICE_DEMAND_START;
    switch (line.command) {
    case ServiceCommand::None:
        return false;
    case ServiceCommand::Install:
        exitCode = installService(configuredStart, line.interactive);
        break;
    case ServiceCommand::InstallAndStart:
        // A service that could not be installed is not reported as started,
        // even when one of its name still runs.
        exitCode = installService(configuredStart, line.interactive) == 0 ? startService() : 1;
        break;
    case ServiceCommand::InstallAuto:
        exitCode = installService(SERVICE_AUTO_START, line.interactive);
        break;
    case ServiceCommand::InstallDemand:
        exitCode = installService(SERVICE_DEMAND_START, line.interactive);
        break;
    case ServiceCommand::Uninstall:
        exitCode = uninstallService(true);
        break;
    case ServiceCommand::Stop:
        exitCode = stopService(true);
        break;
    case ServiceCommand::Start:
        exitCode = startService();
        break;
    case ServiceCommand::Status:
        exitCode = queryServiceStatus();
        break;
    case ServiceCommand::Restart:
        // Started again only once the running one has stopped (or was not running).
        exitCode = stopService(true) == 0 ? startService() : 1;
        break;
    }
    return true;
}
