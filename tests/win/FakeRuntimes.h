#pragma once

#include "jvm/RegistrySources.h"

#include <map>
#include <string>
#include <vector>

// Runtime homes for the registry source tests: plain directories in a folder
// of this process, each with a "bin\java.exe" file, and a candidate check
// that accepts exactly those it was given a version for. Runtimes that other
// keys of the registry name are never accepted.
class FakeRuntimes {
public:
    FakeRuntimes();
    ~FakeRuntimes();
    FakeRuntimes(const FakeRuntimes&) = delete;
    FakeRuntimes& operator=(const FakeRuntimes&) = delete;

    // A home below the root (`name` may hold backslashes); with a version the
    // check judges it by that version (acceptVersion), without one it rejects it.
    std::string home(const std::string& name, const std::string& runtimeVersion = "");

    static std::string javaExe(const std::string& home) { return home + "\\bin\\java.exe"; }
    // The check lower-cases what it accepts, as the real one normalises it.
    static std::string acceptedPath(const std::string& home);
    const std::string& root() const { return root_; }

    // findJavaExeInHome takes "<home>\bin\java.exe" whatever the home holds.
    CandidateChecks checks();

    struct CheckCall {
        std::string path;
        bool allowBeta;
    };
    std::vector<std::string> homesAsked;
    std::vector<CheckCall> checked;
    std::vector<std::string> checkedPaths() const;

private:
    std::string root_;
    std::map<std::string, std::string> versions_;
    // Removed in the reverse order of their making.
    std::vector<std::string> directories_;
    std::vector<std::string> files_;
};
