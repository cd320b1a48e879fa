// Reads back what the service control manager holds for a service, for the
// service command scenarios, and removes test services whatever the launcher
// under test does.
//
//   service_probe config NAME   prints type, start, path, dependencies, description
//                               (one "key=value" line each, UTF-8; dependencies joined by "|")
//
// The dependencies come from the service's key in the registry, where the
// manager keeps them: Wine's QueryServiceConfigW does not return them.
//   service_probe delete NAME   stops and deletes the service; 0 also when there is none
#include "core/WinApi.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.resize(static_cast<size_t>(length) - 1);
    return out;
}

std::wstring wide(const char* text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), length);
    out.resize(static_cast<size_t>(length) - 1);
    return out;
}

std::string joined(const wchar_t* list) {
    std::string names;
    for (const wchar_t* name = list; name && *name; name += std::wcslen(name) + 1)
        names += (names.empty() ? "" : "|") + utf8(name);
    return names;
}

std::string registeredDependencies(const std::wstring& name) {
    HKEY key = nullptr;
    const std::wstring path = L"SYSTEM\\CurrentControlSet\\Services\\" + name;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "?";
    std::vector<wchar_t> list(16384, L'\0');
    DWORD bytes = static_cast<DWORD>((list.size() - 2) * sizeof(wchar_t));
    const LONG status = ::RegQueryValueExW(key, L"DependOnService", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(list.data()), &bytes);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? joined(list.data()) : std::string();
}

int printConfig(SC_HANDLE service, const std::wstring& name) {
    DWORD needed = 0;
    ::QueryServiceConfigW(service, nullptr, 0, &needed);
    std::vector<unsigned char> buffer(needed + 16);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!::QueryServiceConfigW(service, config, static_cast<DWORD>(buffer.size()), &needed)) {
        std::fprintf(stderr, "QueryServiceConfigW failed: %lu\n", ::GetLastError());
        return 1;
    }
    std::printf("type=0x%lx\nstart=%lu\npath=%s\ndependencies=%s\n", config->dwServiceType, config->dwStartType,
                utf8(config->lpBinaryPathName).c_str(), registeredDependencies(name).c_str());

    needed = 0;
    ::QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptionBuffer(needed + 16);
    auto* description = reinterpret_cast<SERVICE_DESCRIPTIONW*>(descriptionBuffer.data());
    if (!::QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, descriptionBuffer.data(),
                                static_cast<DWORD>(descriptionBuffer.size()), &needed)) {
        std::fprintf(stderr, "QueryServiceConfig2W failed: %lu\n", ::GetLastError());
        return 1;
    }
    std::printf("description=%s\n", utf8(description->lpDescription).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: service_probe config|delete NAME\n", stderr);
        return 2;
    }
    const bool remove = std::strcmp(argv[1], "delete") == 0;
    SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        std::fprintf(stderr, "OpenSCManagerW failed: %lu\n", ::GetLastError());
        return 1;
    }
    const DWORD access = remove ? SERVICE_STOP | DELETE : SERVICE_QUERY_CONFIG;
    const std::wstring name = wide(argv[2]);
    SC_HANDLE service = ::OpenServiceW(manager, name.c_str(), access);
    int result = 0;
    if (service == nullptr) {
        const DWORD error = ::GetLastError();
        if (!remove || error != ERROR_SERVICE_DOES_NOT_EXIST) {
            std::fprintf(stderr, "OpenServiceW failed: %lu\n", error);
            result = 1;
        }
    } else if (remove) {
        SERVICE_STATUS status;
        ::ControlService(service, SERVICE_CONTROL_STOP, &status);
        if (!::DeleteService(service) && ::GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) result = 1;
    } else {
        result = printConfig(service, name);
    }
    if (service) ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return result;
}
