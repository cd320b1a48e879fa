#pragma once

// The stand-in's Java objects: plain records behind the JNI references, kept
// until the process ends. Every reference the caller hands back is checked
// against those handed out, so a stale or foreign pointer is reported as a
// fault instead of being read.

#include "standin/standin_jvm/StandinJvm.h"

#include <string>
#include <vector>

namespace standin {

struct Object {
    enum class Kind { Class, String, Array, Throwable } kind;
    std::string name;               // class name; element class of an array; exception class
    std::u16string text;            // string contents; exception message
    std::vector<Object*> elements;  // array elements
};

struct Method {
    std::string className;
    std::string name;
    std::string signature;
};

jobject newObject(Object object);
jmethodID newMethod(Method method);

// A possibly null reference; a non-null one must be known.
Object* optionalObject(const char* function, jobject reference);
// A non-null reference of the given kind.
Object* object(const char* function, jobject reference, Object::Kind kind);
const Method& method(const char* function, jmethodID id);
const char* text(const char* function, const char* value);

// The calling thread's pending exception, as in Java.
Object* pendingException();
void setPendingException(Object* exception);
// Makes a new exception pending and records it.
void throwNew(const char* exceptionClass, std::u16string message);

// The static calls (StaticCalls.cpp). The variadic forms are caller-cleaned
// on every platform, so they carry no calling convention.
jboolean callStaticBooleanMethod(JNIEnv*, jclass type, jmethodID id, ...);
jboolean STANDIN_JNICALL callStaticBooleanMethodV(JNIEnv*, jclass type, jmethodID id, va_list list);
jboolean STANDIN_JNICALL callStaticBooleanMethodA(JNIEnv*, jclass type, jmethodID id, const jvalue* values);
void callStaticVoidMethod(JNIEnv*, jclass type, jmethodID id, ...);
void STANDIN_JNICALL callStaticVoidMethodV(JNIEnv*, jclass type, jmethodID id, va_list list);
void STANDIN_JNICALL callStaticVoidMethodA(JNIEnv*, jclass type, jmethodID id, const jvalue* values);

}  // namespace standin
