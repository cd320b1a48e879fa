#pragma once

#include "core/WinApi.h"

#include <string>

// The steps of loading a runtime's JVM library, for LoadDLL and for tests.

// The library of the chosen java.exe: from its own bin directory, else from
// "..\jre\bin" beside it (a JDK whose bin holds no JVM library). Null when
// neither loads; PATH is back to what it was then.
HMODULE loadJvmLibrary(const std::string& javaExe);

// Stores JNI_CreateJavaVM of `library` as the creation entry; false for a
// null library or one without the entry.
bool bindCreateJavaVM(HMODULE library);

// jvmHome from the chosen path (set whether or not its library loaded).
void setJvmHomeFromJavaExe(const std::string& javaExe);
