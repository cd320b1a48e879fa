#pragma once

// The slice of the JNI invocation interface that the launcher uses, declared
// slot for slot as the runtimes lay out their function tables (JNI 1.2 and
// later only ever append). The launcher carries its own declarations so that
// building it needs no JDK; the host tests compare every named slot with a
// real jni.h. Unnamed slots are plain pointers.

#include <cstddef>
#include <cstdint>

// JNI functions are __stdcall on 32-bit Windows and the platform's default
// elsewhere. The variadic Call... functions cannot be __stdcall: the caller
// cleans their stack everywhere.
#if defined(_WIN32) && !defined(_WIN64)
#define LAUNCHER_JNICALL __stdcall
#else
#define LAUNCHER_JNICALL
#endif

namespace jni {

using jint = int32_t;
using jsize = jint;
using jboolean = uint8_t;
using jchar = char16_t;

struct ObjectTag;
using jobject = ObjectTag*;
using jclass = jobject;
using jstring = jobject;
using jobjectArray = jobject;
using jthrowable = jobject;

struct MethodTag;
using jmethodID = MethodTag*;

inline constexpr jint kJniOk = 0;
inline constexpr jint kJniVersion1_2 = 0x00010002;  // JNI_VERSION_1_2
inline constexpr jboolean kJniTrue = 1;

struct JavaVMOption {
    char* optionString;
    void* extraInfo;
};

struct JavaVMInitArgs {
    jint version;
    jint nOptions;
    JavaVMOption* options;
    jboolean ignoreUnrecognized;
};

struct NativeInterface;
struct InvokeInterface;
using JNIEnv = const NativeInterface*;
using JavaVM = const InvokeInterface*;

struct NativeInterface {
    void* slots0to5[6];
    jclass(LAUNCHER_JNICALL* FindClass)(JNIEnv*, const char*);  // 6
    void* slots7to14[8];
    jthrowable(LAUNCHER_JNICALL* ExceptionOccurred)(JNIEnv*);  // 15
    void(LAUNCHER_JNICALL* ExceptionDescribe)(JNIEnv*);        // 16
    void(LAUNCHER_JNICALL* ExceptionClear)(JNIEnv*);           // 17
    void* slots18to112[95];
    jmethodID(LAUNCHER_JNICALL* GetStaticMethodID)(JNIEnv*, jclass, const char*, const char*);  // 113
    void* slots114to116[3];
    jboolean (*CallStaticBooleanMethod)(JNIEnv*, jclass, jmethodID, ...);  // 117
    void* slots118to140[23];
    void (*CallStaticVoidMethod)(JNIEnv*, jclass, jmethodID, ...);  // 141
    void* slots142to162[21];
    jstring(LAUNCHER_JNICALL* NewString)(JNIEnv*, const jchar*, jsize);  // 163
    void* slots164to171[8];
    jobjectArray(LAUNCHER_JNICALL* NewObjectArray)(JNIEnv*, jsize, jclass, jobject);  // 172
    void* slot173;
    void(LAUNCHER_JNICALL* SetObjectArrayElement)(JNIEnv*, jobjectArray, jsize, jobject);  // 174
};

struct InvokeInterface {
    void* reserved[3];
    jint(LAUNCHER_JNICALL* DestroyJavaVM)(JavaVM*);  // 3
};

// JNI_CreateJavaVM, the one export the launcher binds.
using CreateJavaVmFunction = jint(LAUNCHER_JNICALL*)(JavaVM**, void**, void*);

}  // namespace jni
