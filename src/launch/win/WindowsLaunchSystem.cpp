#include "launch/win/WindowsLaunchSystem.h"

#include "core/BufferCapacity.h"
#include "core/WinApi.h"
#include "core/win/Handles.h"
#include "files/PathUtilities.h"
#include "text/VariableExpansion.h"

namespace {

class WindowsLaunchSystem final : public LaunchSystem {
public:
    bool pathExists(const std::string& path) override { return ::pathExists(path); }

    std::vector<std::string> listFilesWithExtension(const std::string& directory, std::string_view extension) override {
        std::string pattern = directory + "\\*";
        if (!extension.starts_with('.')) pattern += '.';
        pattern += extension;
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        FindHandle search(::FindFirstFileA(pattern.c_str(), &found));
        if (!search) return names;
        do {
            names.emplace_back(found.cFileName);
        } while (::FindNextFileA(search.get(), &found));
        return names;
    }

    std::string resolvePath(const std::string& path) override { return ::resolvePath(path); }

    std::string fullPath(const std::string& path) override { return ::fullPath(path, true); }

    void expandVariables(std::string& text) override { ::expandVariables(text); }

    Variable environmentVariable(const std::string& name, std::string& value) override {
        char buffer[kBufferCapacity];
        // A defined but empty variable answers 0 and leaves the last error as
        // it was: clear it, or an older "not found" would be read.
        ::SetLastError(0);
        const DWORD length = ::GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
        if (length == 0) return ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? Variable::Undefined : Variable::NoValue;
        if (length >= sizeof buffer) return Variable::NoValue;
        value.assign(buffer, length);
        return Variable::Value;
    }
};

}  // namespace

LaunchSystem& windowsLaunchSystem() {
    // Used by the launch on the main thread only; no guard (-fno-threadsafe-statics).
    static WindowsLaunchSystem system;
    return system;
}
