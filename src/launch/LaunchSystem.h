#pragma once

// What assembling the JVM options asks of the system: path look-ups,
// directory listings and environment variables. The launcher answers with the
// Win32 calls; tests answer from tables.

#include <string>
#include <string_view>
#include <vector>

class LaunchSystem {
public:
    virtual ~LaunchSystem() = default;
    // Exists on disk; drive roots ("C:\", "C:\.") exist without a look-up.
    virtual bool pathExists(const std::string& path) = 0;
    // The names (not paths) of the entries matching directory\*.extension, in
    // the order the file system reports them; directories that match too.
    virtual std::vector<std::string> listFilesWithExtension(const std::string& directory,
                                                            std::string_view extension) = 0;
    // A relative path prefixed with the launcher's directory, then collapsed.
    virtual std::string resolvePath(const std::string& path) = 0;
    // resolvePath made absolute, keeping the case.
    virtual std::string fullPath(const std::string& path) = 0;
    // Expands placeholders and environment references in place.
    virtual void expandVariables(std::string& text) = 0;

    enum class Variable { Value, Undefined, NoValue };
    // An environment variable: Value with `value` filled, Undefined when it
    // does not exist, NoValue when it is empty or does not fit the launcher's
    // buffer (it is then never partly used).
    virtual Variable environmentVariable(const std::string& name, std::string& value) = 0;
};
