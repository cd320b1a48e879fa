#pragma once

// Finds a Java runtime, loads its jvm.dll and binds JNI_CreateJavaVM. With
// `reportErrors`, a failure shows the fitting message first.
bool LoadDLL(bool reportErrors);
