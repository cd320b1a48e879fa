#pragma once

#include "core/Callback.h"
#include "jvm/RegistryLocations.h"

#include <string>

// Runtimes named in the registry: the JavaSoft keys, the runtimes located
// earlier, and the installation directories of previous installations. Each
// source writes the chosen java.exe into `path` (and, where it has one, its
// version into `version`) and answers whether it found one; on a negative
// answer the outputs are left as they were. Keys are read through the
// process's own registry view and never written.

// The candidate check as the registry sources use it; its members have the
// signatures of findJavaExeInHome and checkJavaExe (JavaCandidate.h), so the
// launcher hands those in and tests put their own in their place. A source
// whose checks are missing accepts nothing.
struct CandidateChecks {
    Callback<bool(const std::string& home, std::string& javaExe)> findJavaExeInHome;
    Callback<bool(std::string& path, std::string& version, const std::string& minVersion,
                       const std::string& maxVersion, bool allowBeta)>
        checkJavaExe;
};

// The "Y" entry of the search sequence: the JavaSoft runtime and the newest
// located runtime, the located one winning unless the JavaSoft one is newer.
bool findRegistryJVM(std::string& path, const std::string& minVersion, const std::string& maxVersion,
                     const CandidateChecks& checks);

// The "V" entry of the search sequence: every home that today's runtime
// packages registered (VendorRegistrations.h), in the registry view of the
// launcher's bitness, under HKEY_LOCAL_MACHINE then HKEY_CURRENT_USER; the
// greatest version the candidate check accepts wins, ties going to the
// earlier registration.
bool findVendorRegistryJVM(std::string& path, const std::string& minVersion, const std::string& maxVersion,
                           const CandidateChecks& checks);

// The runtime named by "CurrentVersion"; failing that the version subkeys of
// the JRE key (unless a JDK is required), then those of the JDK key.
bool findJavaSoftJVM(std::string& path, std::string& version, const std::string& minVersion,
                     const std::string& maxVersion, const CandidateChecks& checks);

// The runtime named by the greater of the two "CurrentVersion" values that lie
// within the limits (the JDK's alone when a JDK is required).
bool findJavaSoftCurrentJVM(std::string& path, std::string& version, const std::string& minVersion,
                            const std::string& maxVersion, const CandidateChecks& checks);

// The version subkeys of one family within the limits, newest first; the
// first one accepted.
bool findJavaSoftVersionsJVM(JavaSoftFamily family, std::string& path, std::string& version,
                             const std::string& minVersion, const std::string& maxVersion,
                             const CandidateChecks& checks);

// The newest of the runtimes located earlier under `hive` (of equal versions,
// the one listed first).
bool findLocatedJVM(RegistryHive hive, std::string& path, std::string& version, const std::string& minVersion,
                    const std::string& maxVersion, const CandidateChecks& checks);

// The first usable runtime of the previous installations listed under `hive`.
bool findPreviousInstallationJVM(RegistryHive hive, std::string& path, const std::string& minVersion,
                                 const std::string& maxVersion, const CandidateChecks& checks);
