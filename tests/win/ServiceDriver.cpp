// Drives the service control manager for the service scenarios and prints one
// line per step, for the host test to compare:
//   service_driver <service> <step>...
//   create=<program>   install <program> (quoted) as a demand-start own-process service
//   start[=a,b,...]    start it, with these start arguments
//   stop               ControlService(STOP)
//   interrogate        ControlService(INTERROGATE)
//   query              its state, check point, Win32 and service-specific exit codes
//   wait=<state>       poll until it is in <state> (30 s at most); prints the
//                      states met on the way
//   ended              wait (30 s at most) for the service's process to end
//   priority=<value>   the DWORD under the priority key, named after the service
//   delete             stop it if it runs, delete it and its priority value
// A step that fails prints its error and the driver goes on.
#include "core/win/Handles.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kPriorityKey[] = "SOFTWARE\\corvanta\\zelkor\\priority";

ServiceHandle manager;
std::string name;

void failed(const char* step) { std::printf("%s failed %lu\n", step, ::GetLastError()); }

ServiceHandle openService() {
    ServiceHandle service(::OpenServiceA(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
    if (!service) failed("open");
    return service;
}

bool query(SERVICE_STATUS& status) {
    const ServiceHandle service = openService();
    return service && ::QueryServiceStatus(service.get(), &status);
}

void printStatus() {
    SERVICE_STATUS status{};
    if (!query(status)) return failed("query");
    std::printf("state %lu checkpoint %lu exit %lu %lu\n", status.dwCurrentState, status.dwCheckPoint,
                status.dwWin32ExitCode, status.dwServiceSpecificExitCode);
}

void control(DWORD code, const char* step) {
    const ServiceHandle service = openService();
    SERVICE_STATUS status{};
    if (!service || !::ControlService(service.get(), code, &status)) return failed(step);
    std::printf("%s ok\n", step);
}

void waitFor(DWORD wanted) {
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    DWORD last = 0;
    std::string met;
    for (;;) {
        SERVICE_STATUS status{};
        if (!query(status)) return failed("wait");
        if (status.dwCurrentState != last) met.append(" ").append(std::to_string(last = status.dwCurrentState));
        if (status.dwCurrentState == wanted) break;
        if (::GetTickCount64() >= deadline) return (void)std::printf("wait timeout, met%s\n", met.c_str());
        ::Sleep(20);
    }
    std::printf("reached %lu, met%s\n", wanted, met.c_str());
}

void waitForProcessEnd() {
    const ServiceHandle service = openService();
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!service || !::QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                            sizeof status, &needed))
        return failed("ended");
    if (status.dwProcessId == 0) return (void)std::printf("no process\n");
    // A process that is gone already cannot be opened.
    const KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId));
    const bool ended = !process || ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0;
    std::printf(ended ? "process ended\n" : "process running\n");
}

void start(const std::string& list) {
    std::vector<std::string> arguments;
    for (size_t at = 0; !list.empty() && at <= list.size();) {
        const size_t comma = std::min(list.find(',', at), list.size());
        arguments.push_back(list.substr(at, comma - at));
        at = comma + 1;
    }
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    const ServiceHandle service = openService();
    if (!service || !::StartServiceA(service.get(), static_cast<DWORD>(pointers.size()), pointers.data()))
        return failed("start");
    std::printf("start ok\n");
}

void remove() {
    SERVICE_STATUS status{};
    if (query(status) && status.dwCurrentState != SERVICE_STOPPED) {
        const ServiceHandle service = openService();
        ::ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
    }
    const ServiceHandle service = openService();
    if (!service || !::DeleteService(service.get())) return failed("delete");
    RegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPriorityKey, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), name.c_str());
    std::printf("delete ok\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    name = argv[1];
    manager = ServiceHandle(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return failed("manager"), 1;
    for (int i = 2; i < argc; ++i) {
        const std::string step = argv[i];
        const size_t equals = step.find('=');
        const std::string verb = step.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : step.substr(equals + 1);
        if (verb == "create") {
            const std::string path = "\"" + value + "\"";
            const ServiceHandle service(::CreateServiceA(manager.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                                         SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr, nullptr,
                                                         nullptr, nullptr));
            service ? (void)std::printf("create ok\n") : failed("create");
        } else if (verb == "start") {
            start(value);
        } else if (verb == "stop") {
            control(SERVICE_CONTROL_STOP, "stop");
        } else if (verb == "interrogate") {
            control(SERVICE_CONTROL_INTERROGATE, "interrogate");
        } else if (verb == "ended") {
            waitForProcessEnd();
        } else if (verb == "query") {
            printStatus();
        } else if (verb == "wait") {
            waitFor(static_cast<DWORD>(std::atoi(value.c_str())));
        } else if (verb == "priority") {
            RegistryKey key;
            const DWORD priority = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 0));
            if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPriorityKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                                  nullptr) != ERROR_SUCCESS ||
                ::RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&priority),
                                 sizeof priority) != ERROR_SUCCESS)
                failed("priority");
            else
                std::printf("priority ok\n");
        } else if (verb == "delete") {
            remove();
        } else {
            std::printf("unknown step %s\n", step.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
