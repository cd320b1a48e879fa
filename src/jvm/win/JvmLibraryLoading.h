#pragma once

#include "core/WinApi.h"
#include "jvm/BoundRuntime.h"

#include <string>

// The steps of loading a runtime's JVM library, for LoadDLL and for tests.

// The library of the chosen java.exe: from its own bin directory, else from
// "..\jre\bin" beside it (a JDK whose bin holds no JVM library). Null when
// neither loads; PATH is back to what it was then.
HMODULE loadJvmLibrary(const std::string& javaExe);

// JNI_CreateJavaVM of `library`; null for a null library or one without the entry.
CreateJavaVmEntry createJavaVmEntryOf(HMODULE library);
