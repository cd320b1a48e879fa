#pragma once

// Creates the JVM and calls the bootstrap class's static main through the JNI
// invocation interface alone, so the same code runs against any runtime's JVM
// library: a Windows jvm.dll in the launcher, the host's libjvm.so in the tests.
// Nothing here ends the process; every ending is an outcome for the caller.

#include "launch/Jni.h"

#include <string>
#include <string_view>
#include <vector>

struct JvmHandles {
    jni::JavaVM* vm = nullptr;
    jni::JNIEnv* env = nullptr;
};

// Packs `options` into JNI 1.2 initialisation arguments (unrecognised options
// ignored) and calls `createJavaVm`. The arguments and the option texts are
// allocated once and never released: the JVM may keep referring to them.
// True when the JVM exists; `handles` is filled then.
bool createJvm(jni::CreateJavaVmFunction createJavaVm, const std::vector<std::string>& options, JvmHandles& handles);

enum class MainCallOutcome {
    Returned,              // main returned without a pending exception
    StoppedByFirstRun,     // the first-run hook answered false: main was not called
    Exception,             // main, or the first-run hook, ended with an exception
    ClassNotFound,         // the bootstrap class
    MethodNotFound,        // its static main(String[])
    FirstRunClassNotFound,
    FirstRunMethodNotFound,
    ArgumentArrayFailed,   // the String[] could not be created
    ArgumentStringFailed,  // one of its strings could not be created
};

struct MainCall {
    std::string_view className;  // JNI form or with dots: "com.example.Boot" works too
    // Every argument goes to Java as its exact UTF-16 code units.
    const std::vector<std::u16string>* arguments = nullptr;
    // Call the first-run hook before main (the brantel flavour with its marker present).
    bool runFirstRunHook = false;
    // Narrows an argument for its log line only.
    std::string (*logText)(std::u16string_view argument) = nullptr;
};

MainCallOutcome callMain(jni::JNIEnv* env, const MainCall& call);

// The class of the first-run hook and its method, static boolean firstRun().
inline constexpr const char* kFirstRunClass = "com/brantel/runtime/launcher/FirstRun";
