#pragma once

// The part of the JNI invocation interface the stand-in jvm.dll implements:
// the types, JavaVMInitArgs, and the two function tables laid out slot for slot
// like the JNI 1.2 tables (extended to the 234 slots of current runtimes, so a
// caller of a newer function lands on a trap instead of past the end).
// Only the slots the stand-in answers carry a name and a type; the others are
// plain pointers. Everything lives in namespace `standin`, so the host can
// compare the layout with a real jni.h in the same translation unit.

#include <cstdarg>
#include <cstddef>
#include <cstdint>

// JNI functions use __stdcall on 32-bit Windows, the platform default elsewhere.
// Variadic functions cannot be __stdcall and are caller-cleaned everywhere.
#if defined(_WIN32) && !defined(_WIN64)
#define STANDIN_JNICALL __stdcall
#else
#define STANDIN_JNICALL
#endif

namespace standin {

using jint = int32_t;
using jlong = int64_t;
using jbyte = int8_t;
using jboolean = uint8_t;
using jchar = char16_t;
using jshort = int16_t;
using jfloat = float;
using jdouble = double;
using jsize = jint;

struct JObjectTag;
using jobject = JObjectTag*;
using jclass = jobject;
using jstring = jobject;
using jarray = jobject;
using jobjectArray = jobject;
using jthrowable = jobject;

struct JMethodTag;
using jmethodID = JMethodTag*;

union jvalue {
    jboolean z;
    jbyte b;
    jchar c;
    jshort s;
    jint i;
    jlong j;
    jfloat f;
    jdouble d;
    jobject l;
};

constexpr jint JNI_OK = 0;
constexpr jint JNI_ERR = -1;
constexpr jint JNI_EDETACHED = -2;
constexpr jint JNI_EVERSION = -3;
constexpr jint JNI_EEXIST = -5;
constexpr jint JNI_EINVAL = -6;
constexpr jint JNI_VERSION_1_2 = 0x00010002;
constexpr jint JNI_VERSION_1_8 = 0x00010008;
constexpr jboolean JNI_FALSE = 0;
constexpr jboolean JNI_TRUE = 1;

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

struct JNINativeInterface;
struct JNIInvokeInterface;
using JNIEnv = const JNINativeInterface*;
using JavaVM = const JNIInvokeInterface*;

constexpr size_t kNativeInterfaceSlots = 234;

struct JNINativeInterface {
    void* slots0to3[4];
    jint(STANDIN_JNICALL* GetVersion)(JNIEnv*);                        // 4
    void* DefineClass;                                                  // 5
    jclass(STANDIN_JNICALL* FindClass)(JNIEnv*, const char*);           // 6
    void* slots7to14[8];
    jthrowable(STANDIN_JNICALL* ExceptionOccurred)(JNIEnv*);            // 15
    void(STANDIN_JNICALL* ExceptionDescribe)(JNIEnv*);                  // 16
    void(STANDIN_JNICALL* ExceptionClear)(JNIEnv*);                     // 17
    void* slots18to20[3];
    jobject(STANDIN_JNICALL* NewGlobalRef)(JNIEnv*, jobject);           // 21
    void(STANDIN_JNICALL* DeleteGlobalRef)(JNIEnv*, jobject);           // 22
    void(STANDIN_JNICALL* DeleteLocalRef)(JNIEnv*, jobject);            // 23
    void* slots24to112[89];
    jmethodID(STANDIN_JNICALL* GetStaticMethodID)(JNIEnv*, jclass, const char*, const char*);  // 113
    void* slots114to116[3];
    jboolean (*CallStaticBooleanMethod)(JNIEnv*, jclass, jmethodID, ...);                       // 117
    jboolean(STANDIN_JNICALL* CallStaticBooleanMethodV)(JNIEnv*, jclass, jmethodID, va_list);  // 118
    jboolean(STANDIN_JNICALL* CallStaticBooleanMethodA)(JNIEnv*, jclass, jmethodID, const jvalue*);  // 119
    void* slots120to140[21];
    void (*CallStaticVoidMethod)(JNIEnv*, jclass, jmethodID, ...);                              // 141
    void(STANDIN_JNICALL* CallStaticVoidMethodV)(JNIEnv*, jclass, jmethodID, va_list);         // 142
    void(STANDIN_JNICALL* CallStaticVoidMethodA)(JNIEnv*, jclass, jmethodID, const jvalue*);   // 143
    void* slots144to162[19];
    jstring(STANDIN_JNICALL* NewString)(JNIEnv*, const jchar*, jsize);                  // 163
    jsize(STANDIN_JNICALL* GetStringLength)(JNIEnv*, jstring);                          // 164
    const jchar*(STANDIN_JNICALL* GetStringChars)(JNIEnv*, jstring, jboolean*);         // 165
    void(STANDIN_JNICALL* ReleaseStringChars)(JNIEnv*, jstring, const jchar*);          // 166
    jstring(STANDIN_JNICALL* NewStringUTF)(JNIEnv*, const char*);                       // 167
    jsize(STANDIN_JNICALL* GetStringUTFLength)(JNIEnv*, jstring);                       // 168
    const char*(STANDIN_JNICALL* GetStringUTFChars)(JNIEnv*, jstring, jboolean*);       // 169
    void(STANDIN_JNICALL* ReleaseStringUTFChars)(JNIEnv*, jstring, const char*);        // 170
    jsize(STANDIN_JNICALL* GetArrayLength)(JNIEnv*, jarray);                            // 171
    jobjectArray(STANDIN_JNICALL* NewObjectArray)(JNIEnv*, jsize, jclass, jobject);     // 172
    jobject(STANDIN_JNICALL* GetObjectArrayElement)(JNIEnv*, jobjectArray, jsize);      // 173
    void(STANDIN_JNICALL* SetObjectArrayElement)(JNIEnv*, jobjectArray, jsize, jobject);  // 174
    void* slots175to218[44];
    jint(STANDIN_JNICALL* GetJavaVM)(JNIEnv*, JavaVM**);                                // 219
    void* slots220to227[8];
    jboolean(STANDIN_JNICALL* ExceptionCheck)(JNIEnv*);                                 // 228
    void* slots229to233[5];
};
static_assert(sizeof(JNINativeInterface) == kNativeInterfaceSlots * sizeof(void*));
static_assert(offsetof(JNINativeInterface, FindClass) == 6 * sizeof(void*));
static_assert(offsetof(JNINativeInterface, GetStaticMethodID) == 113 * sizeof(void*));
static_assert(offsetof(JNINativeInterface, CallStaticVoidMethod) == 141 * sizeof(void*));
static_assert(offsetof(JNINativeInterface, NewString) == 163 * sizeof(void*));
static_assert(offsetof(JNINativeInterface, ExceptionCheck) == 228 * sizeof(void*));

struct JNIInvokeInterface {
    void* reserved0;
    void* reserved1;
    void* reserved2;
    jint(STANDIN_JNICALL* DestroyJavaVM)(JavaVM*);                              // 3
    jint(STANDIN_JNICALL* AttachCurrentThread)(JavaVM*, void**, void*);         // 4
    jint(STANDIN_JNICALL* DetachCurrentThread)(JavaVM*);                        // 5
    jint(STANDIN_JNICALL* GetEnv)(JavaVM*, void**, jint);                       // 6
    jint(STANDIN_JNICALL* AttachCurrentThreadAsDaemon)(JavaVM*, void**, void*); // 7
};

// The export, as a runtime's jvm.dll has it.
using CreateJavaVMFunction = jint(STANDIN_JNICALL*)(JavaVM**, void**, void*);

}  // namespace standin
