#pragma once

#include "jvm/BoundRuntime.h"

// Finds a Java runtime, loads its jvm.dll and binds JNI_CreateJavaVM, leaving
// the runtime's bin directory at the end of PATH.
struct JvmBinding {
    // The runtime when bound; otherwise `runtime.found` says what the search
    // found, for the message that fits.
    BoundRuntime runtime;
    bool bound() const { return runtime.createJavaVm != nullptr; }
};
JvmBinding LoadDLL();
