// Stop latency of a service launcher under Wine's service control manager:
// from ControlService(STOP) to the service reported stopped. Each run starts
// the service, waits until its Java side is ready (the ready file exists and,
// when a ready text is given, holds it), then stops it and polls the state
// every millisecond.
//   service_stop_latency <label> <service> <launcher> <ready file> <ready text> <runs>
#include "core/win/Handles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool isReady(const char* path, const char* text) {
    const FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    char contents[65536];
    DWORD count = 0;
    if (!::ReadFile(file.get(), contents, sizeof contents - 1, &count, nullptr)) return false;
    contents[count] = '\0';
    return std::string(contents).find(text) != std::string::npos;
}

DWORD state(SC_HANDLE service) {
    SERVICE_STATUS status{};
    return ::QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

template <typename Condition>
bool waitUntil(Condition condition, DWORD pollMs) {
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    while (!condition()) {
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(pollMs);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) return 2;
    const char* label = argv[1];
    const char* name = argv[2];
    const std::string binary = std::string("\"") + argv[3] + "\"";
    const char* readyFile = argv[4];
    const char* readyText = argv[5];
    const int runs = std::atoi(argv[6]);
    const ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    const ServiceHandle service(::CreateServiceA(manager.get(), name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                                 SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, binary.c_str(), nullptr,
                                                 nullptr, nullptr, nullptr, nullptr));
    if (!service) return std::printf("could not create the service (%lu)\n", ::GetLastError()), 1;

    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> latencies;
    int result = 0;
    for (int run = 0; run < runs && result == 0; ++run) {
        ::DeleteFileA(readyFile);
        // The previous service process may still be on its way out.
        if (!waitUntil([&] { return ::StartServiceA(service.get(), 0, nullptr) != FALSE; }, 50) ||
            !waitUntil([&] { return isReady(readyFile, readyText); }, 5)) {
            std::printf("run %d: the service's Java side did not start (%lu)\n", run, ::GetLastError());
            result = 1;
            break;
        }
        LARGE_INTEGER start, end;
        SERVICE_STATUS status{};
        ::QueryPerformanceCounter(&start);
        if (!::ControlService(service.get(), SERVICE_CONTROL_STOP, &status) ||
            !waitUntil([&] { return state(service.get()) == SERVICE_STOPPED; }, 1)) {
            std::printf("run %d: the service did not stop (%lu)\n", run, ::GetLastError());
            result = 1;
            break;
        }
        ::QueryPerformanceCounter(&end);
        latencies.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
    }
    ::DeleteService(service.get());
    if (result != 0 || latencies.empty()) return 1;
    std::sort(latencies.begin(), latencies.end());
    const size_t n = latencies.size();
    const double median = n % 2 ? latencies[n / 2] : (latencies[n / 2 - 1] + latencies[n / 2]) / 2;
    std::printf("service stop latency, %s, over %zu runs: median %.1f ms, worst %.1f ms, best %.1f ms\n", label, n,
                median, latencies.back(), latencies.front());
    return 0;
}
