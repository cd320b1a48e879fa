#pragma once

#include "jvm/BoundRuntime.h"
#include "jvm/SearchDiary.h"

// Finds a Java runtime, loads its jvm.dll and binds JNI_CreateJavaVM, leaving
// the runtime's bin directory at the end of PATH.
struct JvmBinding {
    // The runtime when bound; otherwise `runtime.found` says what the search
    // found.
    BoundRuntime runtime;
    // Every candidate the search looked at, for the message that fits when
    // none could be bound (the log has had them as a table then).
    SearchDiary candidates;
    bool bound() const { return runtime.createJavaVm != nullptr; }
};
JvmBinding LoadDLL();
