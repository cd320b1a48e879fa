#pragma once

// Finds a Java runtime, loads its jvm.dll and binds JNI_CreateJavaVM; sets
// jvmHome and leaves the runtime's bin directory at the end of PATH. With
// `reportErrors`, a failure shows the fitting message first.
bool LoadDLL(bool reportErrors);

// The JNI invocation entry of the loaded library (JNI_CreateJavaVM: the
// JavaVM and JNIEnv out pointers and the init arguments; 0 on success), or
// null before a successful LoadDLL.
using CreateJavaVmEntry = long(__stdcall*)(void** vm, void** env, void* initArguments);
CreateJavaVmEntry createJavaVmEntry();
