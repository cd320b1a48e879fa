#include "launch/JniStart.h"

#include "log/Log.h"

#include <cstring>

using namespace jni;

namespace {

constexpr const char* kMainSignature = "([Ljava/lang/String;)V";

// Runs the first-run hook. Its exception is described like one of main: the
// launch then fails instead of ending quietly with exit code 0.
MainCallOutcome checkFirstRun(JNIEnv* env) {
    const NativeInterface& jni = **env;
    const jclass hook = jni.FindClass(env, kFirstRunClass);
    if (hook == nullptr) return MainCallOutcome::FirstRunClassNotFound;
    const jmethodID firstRun = jni.GetStaticMethodID(env, hook, "firstRun", "()Z");
    if (firstRun == nullptr) return MainCallOutcome::FirstRunMethodNotFound;
    const jboolean goOn = jni.CallStaticBooleanMethod(env, hook, firstRun);
    if (jni.ExceptionOccurred(env) != nullptr) {
        logError("an exception occured in firstRun");
        jni.ExceptionDescribe(env);
        return MainCallOutcome::Exception;
    }
    if (goOn) return MainCallOutcome::Returned;
    logMessage("checkFirstRun stopped further execution");
    return MainCallOutcome::StoppedByFirstRun;
}

// The arguments as a String[]; local references live until the process ends.
MainCallOutcome argumentArray(JNIEnv* env, const MainCall& call, jobjectArray& array) {
    const NativeInterface& jni = **env;
    const std::vector<std::u16string>& arguments = *call.arguments;
    logMessage("param count: %d", static_cast<int>(arguments.size()));
    const jclass stringClass = jni.FindClass(env, "java/lang/String");
    array = stringClass ? jni.NewObjectArray(env, static_cast<jsize>(arguments.size()), stringClass, nullptr) : nullptr;
    if (array == nullptr) return MainCallOutcome::ArgumentArrayFailed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (call.logText != nullptr) logMessage("param %d: %s", static_cast<int>(i), call.logText(argument).c_str());
        const jstring text = jni.NewString(env, argument.data(), static_cast<jsize>(argument.size()));
        if (text == nullptr) return MainCallOutcome::ArgumentStringFailed;
        jni.SetObjectArrayElement(env, array, static_cast<jsize>(i), text);
    }
    return MainCallOutcome::Returned;
}

}  // namespace

bool createJvm(CreateJavaVmFunction createJavaVm, const std::vector<std::string>& options, JvmHandles& handles) {
    // Never released: the JVM may hold on to the arguments and their texts.
    auto* texts = new std::vector<std::string>(options);
    auto* initArguments = new JavaVMInitArgs{kJniVersion1_2, static_cast<jint>(texts->size()),
                                             new JavaVMOption[texts->size() + 1], kJniTrue};
    logMessage("vmoption count %d", initArguments->nOptions);
    for (size_t i = 0; i < texts->size(); ++i) {
        initArguments->options[i] = {(*texts)[i].data(), nullptr};
        logMessage("vmoption %d: %s", static_cast<int>(i), (*texts)[i].c_str());
    }
    logMessage("Creating JVM");
    JavaVM* vm = nullptr;
    void* env = nullptr;
    if (createJavaVm(&vm, &env, initArguments) != kJniOk) return false;
    handles.vm = vm;
    handles.env = static_cast<JNIEnv*>(env);
    return true;
}

MainCallOutcome callMain(JNIEnv* env, const MainCall& call) {
    if (call.runFirstRunHook) {
        const MainCallOutcome hook = checkFirstRun(env);
        if (hook != MainCallOutcome::Returned) return hook;
    }
    const NativeInterface& jni = **env;
    std::string className(call.className);
    for (char& c : className)
        if (c == '.') c = '/';
    logMessage("main class: %s", className.c_str());
    const jclass bootstrap = jni.FindClass(env, className.c_str());
    if (bootstrap == nullptr) {
        logError("could not find main class");
        return MainCallOutcome::ClassNotFound;
    }
    const jmethodID main = jni.GetStaticMethodID(env, bootstrap, "main", kMainSignature);
    if (main == nullptr) {
        logError("could not find main method");
        return MainCallOutcome::MethodNotFound;
    }
    jobjectArray parameters = nullptr;
    const MainCallOutcome built = argumentArray(env, call, parameters);
    if (built != MainCallOutcome::Returned) return built;

    logMessage("calling main");
    jni.CallStaticVoidMethod(env, bootstrap, main, parameters);
    logMessage("main returned");
    if (jni.ExceptionOccurred(env) != nullptr) {
        logError("an exception occured");
        jni.ExceptionDescribe(env);
        return MainCallOutcome::Exception;
    }
    return MainCallOutcome::Returned;
}
