#pragma once

#include "jvm/SearchDiary.h"

#include <string>

// The candidate check: whether one java.exe is a usable runtime. Every source
// of the search hands its candidates here. Paths are narrow (file API code
// page), at most kBufferCapacity - 1 characters. The decisions are those of
// CandidateCheck.h, over the launcher's file system, its version cache in the
// registry and a hidden "-version" child.

// The java.exe of a Java home: "<home>\jre\bin\java.exe", or "<home>\bin\java.exe"
// when that does not exist. With the JDK requirement (key 131) the answer is
// whether the home is a JDK (CandidateCheck.h says how that is told).
bool findJavaExeInHome(const std::string& home, std::string& javaExe);

// Checks the candidate `path` against the limits: the file exists, its version
// is known (from the version cache, else by running it with "-version"), the
// version is accepted, in the GUI launcher javaw.exe exists beside it, and a
// jvm.dll of the launcher's bitness is where the loader looks (or one whose
// headers could not be read). `path` is rewritten in place to its normalised
// form (and to the javaw.exe form in the GUI launcher); `version` receives the
// version text. The candidate goes into candidateDiary().
bool checkJavaExe(std::string& path, std::string& version, const std::string& minVersion,
                  const std::string& maxVersion, bool allowBeta);

// What the jvm.dll files beside `javaExe` say about the runtime's bitness.
LibraryBitness jvmLibraryBitnessOf(const std::string& javaExe);

// The diary of the launcher's candidate checks. A launcher searches once;
// findJavaRuntime starts it anew for each search.
SearchDiary& candidateDiary();

// The chosen runtime's JVM library did not load: the diary says why, as far
// as its libraries tell (none there, another bitness, or that it just did not).
void recordUnloadedRuntime(const std::string& javaExe);
