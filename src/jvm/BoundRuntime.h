#pragma once

#include "jvm/SearchSequence.h"

#include <string>

// The JNI invocation entry of a loaded JVM library (JNI_CreateJavaVM: the
// JavaVM and JNIEnv out pointers and the init arguments; 0 on success).
using CreateJavaVmEntry = long(__stdcall*)(void** vm, void** env, void* initArguments);

// A Java runtime whose JVM library is loaded and whose creation entry is bound.
struct BoundRuntime {
    SearchResult found;  // how it was found and its java.exe
    std::string home;    // the directory of its java executable with a trailing backslash, then ".."
    CreateJavaVmEntry createJavaVm = nullptr;
};
