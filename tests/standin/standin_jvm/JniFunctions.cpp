// The JNIEnv function table of the stand-in: every call is written to the
// transcript before it takes effect.
#include "standin/standin_jvm/JniObjects.h"
#include "standin/standin_jvm/ModifiedUtf8.h"
#include "standin/standin_jvm/StandinJvmFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace standin {
namespace {

std::u16string numberText(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

jint STANDIN_JNICALL getVersion(JNIEnv*) {
    TranscriptLine("GetVersion").write();
    return JNI_VERSION_1_8;
}

jclass STANDIN_JNICALL findClass(JNIEnv*, const char* name) {
    text("FindClass", name);
    const ClassLocation location = locateClass(currentSession().options, name);
    TranscriptLine line("FindClass");
    line.narrow(name);
    switch (location.kind) {
        case ClassLocation::Kind::Builtin: line.word("builtin"); break;
        case ClassLocation::Kind::OnClassPath: line.word("found").narrow(location.entry); break;
        case ClassLocation::Kind::Missing: line.word("missing"); break;
    }
    line.write();
    if (location.kind == ClassLocation::Kind::Missing) {
        const std::string_view view(name);
        throwNew("java/lang/NoClassDefFoundError", std::u16string(view.begin(), view.end()));
        return nullptr;
    }
    return newObject(Object{Object::Kind::Class, name, {}, {}});
}

jthrowable STANDIN_JNICALL exceptionOccurred(JNIEnv*) {
    Object* pending = pendingException();
    TranscriptLine line("ExceptionOccurred");
    if (pending) line.narrow(pending->name);
    else line.word("none");
    line.write();
    return reinterpret_cast<jthrowable>(pending);
}

void STANDIN_JNICALL exceptionDescribe(JNIEnv*) {
    TranscriptLine("ExceptionDescribe").write();
    const Object* pending = pendingException();
    if (!pending) return;
    std::string name = pending->name;
    std::replace(name.begin(), name.end(), '/', '.');
    const std::u16string& message = pending->text;
    writeStandardError("Exception in thread \"main\" " + name + ": " + toModifiedUtf8(message) +
                       "\n\tat stand-in JVM\n");
    clearPendingException();
}

void STANDIN_JNICALL exceptionClear(JNIEnv*) {
    TranscriptLine("ExceptionClear").write();
    clearPendingException();
}

jboolean STANDIN_JNICALL exceptionCheck(JNIEnv*) {
    const bool pending = pendingException() != nullptr;
    TranscriptLine("ExceptionCheck").number(pending ? 1 : 0).write();
    return pending ? JNI_TRUE : JNI_FALSE;
}

jobject STANDIN_JNICALL newGlobalRef(JNIEnv*, jobject reference) {
    optionalObject("NewGlobalRef", reference);
    TranscriptLine("NewGlobalRef").write();
    return reference;
}

void STANDIN_JNICALL deleteGlobalRef(JNIEnv*, jobject reference) {
    optionalObject("DeleteGlobalRef", reference);
    TranscriptLine("DeleteGlobalRef").write();
}

void STANDIN_JNICALL deleteLocalRef(JNIEnv*, jobject reference) {
    optionalObject("DeleteLocalRef", reference);
    TranscriptLine("DeleteLocalRef").write();
}

jmethodID STANDIN_JNICALL getStaticMethodID(JNIEnv*, jclass type, const char* name, const char* signature) {
    const char* function = "GetStaticMethodID";
    const Object* owner = object(function, type, Object::Kind::Class);
    text(function, name);
    text(function, signature);
    const auto& missing = currentSession().config.missingMethods;
    const bool found = std::find(missing.begin(), missing.end(), name) == missing.end();
    TranscriptLine(function).narrow(owner->name).narrow(name).narrow(signature)
        .word(found ? "found" : "missing")
        .write();
    if (!found) {
        const std::string_view view(name);
        throwNew("java/lang/NoSuchMethodError", std::u16string(view.begin(), view.end()));
        return nullptr;
    }
    return newMethod(Method{owner->name, name, signature});
}

jstring STANDIN_JNICALL newString(JNIEnv*, const jchar* units, jsize length) {
    if (length < 0 || (units == nullptr && length > 0)) fault("NewString", "bad characters or length");
    const std::u16string value(units ? units : u"", static_cast<size_t>(length));
    TranscriptLine("NewString").number(length).wide(value).write();
    return newObject(Object{Object::Kind::String, "java/lang/String", value, {}});
}

jsize STANDIN_JNICALL getStringLength(JNIEnv*, jstring string) {
    const auto length = static_cast<jsize>(object("GetStringLength", string, Object::Kind::String)->text.size());
    TranscriptLine("GetStringLength").number(length).write();
    return length;
}

const jchar* STANDIN_JNICALL getStringChars(JNIEnv*, jstring string, jboolean* isCopy) {
    const std::u16string& value = object("GetStringChars", string, Object::Kind::String)->text;
    TranscriptLine("GetStringChars").wide(value).write();
    auto* copy = static_cast<jchar*>(std::calloc(value.size() + 1, sizeof(jchar)));
    if (copy) std::copy(value.begin(), value.end(), copy);
    if (isCopy) *isCopy = JNI_TRUE;
    return copy;
}

void STANDIN_JNICALL releaseStringChars(JNIEnv*, jstring string, const jchar* chars) {
    object("ReleaseStringChars", string, Object::Kind::String);
    TranscriptLine("ReleaseStringChars").write();
    std::free(const_cast<jchar*>(chars));
}

jstring STANDIN_JNICALL newStringUTF(JNIEnv*, const char* bytes) {
    if (bytes == nullptr) {
        TranscriptLine("NewStringUTF").word("null").write();
        return nullptr;
    }
    TranscriptLine("NewStringUTF").narrow(bytes).write();
    return newObject(Object{Object::Kind::String, "java/lang/String", fromModifiedUtf8(bytes), {}});
}

jsize STANDIN_JNICALL getStringUTFLength(JNIEnv*, jstring string) {
    const auto length =
        static_cast<jsize>(toModifiedUtf8(object("GetStringUTFLength", string, Object::Kind::String)->text).size());
    TranscriptLine("GetStringUTFLength").number(length).write();
    return length;
}

const char* STANDIN_JNICALL getStringUTFChars(JNIEnv*, jstring string, jboolean* isCopy) {
    const std::u16string& value = object("GetStringUTFChars", string, Object::Kind::String)->text;
    TranscriptLine("GetStringUTFChars").wide(value).write();
    const std::string bytes = toModifiedUtf8(value);
    auto* copy = static_cast<char*>(std::calloc(bytes.size() + 1, 1));
    if (copy) std::memcpy(copy, bytes.data(), bytes.size());
    if (isCopy) *isCopy = JNI_TRUE;
    return copy;
}

void STANDIN_JNICALL releaseStringUTFChars(JNIEnv*, jstring string, const char* chars) {
    object("ReleaseStringUTFChars", string, Object::Kind::String);
    TranscriptLine("ReleaseStringUTFChars").write();
    std::free(const_cast<char*>(chars));
}

jsize STANDIN_JNICALL getArrayLength(JNIEnv*, jarray array) {
    const auto length = static_cast<jsize>(object("GetArrayLength", array, Object::Kind::Array)->elements.size());
    TranscriptLine("GetArrayLength").number(length).write();
    return length;
}

jobjectArray STANDIN_JNICALL newObjectArray(JNIEnv*, jsize length, jclass elementType, jobject initial) {
    const Object* type = object("NewObjectArray", elementType, Object::Kind::Class);
    Object* first = optionalObject("NewObjectArray", initial);
    TranscriptLine("NewObjectArray").number(length).narrow(type->name).write();
    if (length < 0) {
        throwNew("java/lang/NegativeArraySizeException", numberText(length));
        return nullptr;
    }
    return newObject(Object{Object::Kind::Array, type->name, {}, std::vector<Object*>(length, first)});
}

// Out-of-range indexes throw, as in Java; `array` is known to be an array.
bool inRange(const Object* array, jsize index) {
    if (index >= 0 && static_cast<size_t>(index) < array->elements.size()) return true;
    throwNew("java/lang/ArrayIndexOutOfBoundsException", numberText(index));
    return false;
}

jobject STANDIN_JNICALL getObjectArrayElement(JNIEnv*, jobjectArray array, jsize index) {
    const Object* elements = object("GetObjectArrayElement", array, Object::Kind::Array);
    TranscriptLine("GetObjectArrayElement").number(index).write();
    return inRange(elements, index) ? reinterpret_cast<jobject>(elements->elements[index]) : nullptr;
}

void STANDIN_JNICALL setObjectArrayElement(JNIEnv*, jobjectArray array, jsize index, jobject value) {
    Object* elements = object("SetObjectArrayElement", array, Object::Kind::Array);
    Object* element = optionalObject("SetObjectArrayElement", value);
    TranscriptLine line("SetObjectArrayElement");
    line.number(index);
    if (element == nullptr) line.word("null");
    else if (element->kind == Object::Kind::String) line.wide(element->text);
    else line.word("object");
    line.write();
    if (inRange(elements, index)) elements->elements[index] = element;
}

jint STANDIN_JNICALL getJavaVM(JNIEnv*, JavaVM** vm) {
    TranscriptLine("GetJavaVM").write();
    if (vm == nullptr) fault("GetJavaVM", "null output");
    *vm = javaVM();
    return JNI_OK;
}

// Every slot the stand-in does not answer ends the run with the slot number,
// so a launcher that reaches for another function is noticed at once.
template <size_t Slot>
void STANDIN_JNICALL unexpectedFunction() {
    TranscriptLine("unexpected").number(Slot).write();
    writeStandardError("stand-in jvm.dll: JNI function slot " + std::to_string(Slot) + " is not provided\n");
    ::ExitProcess(kFaultExitCode);
}

template <size_t... Slots>
void fillWithTraps(JNINativeInterface& table, std::index_sequence<Slots...>) {
    void* slots[] = {reinterpret_cast<void*>(&unexpectedFunction<Slots>)...};
    static_assert(sizeof slots == sizeof table);
    std::memcpy(&table, slots, sizeof table);
}

JNINativeInterface makeNativeInterface() {
    JNINativeInterface table;
    fillWithTraps(table, std::make_index_sequence<kNativeInterfaceSlots>());
    table.GetVersion = getVersion;
    table.FindClass = findClass;
    table.ExceptionOccurred = exceptionOccurred;
    table.ExceptionDescribe = exceptionDescribe;
    table.ExceptionClear = exceptionClear;
    table.NewGlobalRef = newGlobalRef;
    table.DeleteGlobalRef = deleteGlobalRef;
    table.DeleteLocalRef = deleteLocalRef;
    table.GetStaticMethodID = getStaticMethodID;
    table.CallStaticBooleanMethod = callStaticBooleanMethod;
    table.CallStaticBooleanMethodV = callStaticBooleanMethodV;
    table.CallStaticBooleanMethodA = callStaticBooleanMethodA;
    table.CallStaticVoidMethod = callStaticVoidMethod;
    table.CallStaticVoidMethodV = callStaticVoidMethodV;
    table.CallStaticVoidMethodA = callStaticVoidMethodA;
    table.NewString = newString;
    table.GetStringLength = getStringLength;
    table.GetStringChars = getStringChars;
    table.ReleaseStringChars = releaseStringChars;
    table.NewStringUTF = newStringUTF;
    table.GetStringUTFLength = getStringUTFLength;
    table.GetStringUTFChars = getStringUTFChars;
    table.ReleaseStringUTFChars = releaseStringUTFChars;
    table.GetArrayLength = getArrayLength;
    table.NewObjectArray = newObjectArray;
    table.GetObjectArrayElement = getObjectArrayElement;
    table.SetObjectArrayElement = setObjectArrayElement;
    table.GetJavaVM = getJavaVM;
    table.ExceptionCheck = exceptionCheck;
    return table;
}

}  // namespace

const JNINativeInterface* nativeInterface() {
    static const JNINativeInterface table = makeNativeInterface();
    return &table;
}

}  // namespace standin
