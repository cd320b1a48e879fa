#pragma once

#include <functional>
#include <string>

// Runtimes named in the registry: the JavaSoft keys, the runtimes located
// earlier, and the installation directories of previous installations. Each
// source writes the chosen java.exe into `path` and answers whether it found
// one.

enum class RegistryHive { CurrentUser, LocalMachine };

// The candidate check as the registry sources use it (JavaCandidate.h in the
// launcher; tests put their own in its place).
struct CandidateChecks {
    std::function<bool(const std::string& home, std::string& javaExe)> findJavaExeInHome;
    std::function<bool(std::string& path, std::string& version, bool allowBeta)> checkJavaExe;
};

// The "Y" entry of the search sequence.
bool findRegistryJVM(std::string& path, const std::string& minVersion, const std::string& maxVersion,
                     const CandidateChecks& checks);

// The first usable runtime of the previous installations listed under `hive`.
bool findPreviousInstallationJVM(RegistryHive hive, std::string& path, const std::string& minVersion,
                                 const std::string& maxVersion, const CandidateChecks& checks);
