// The invocation side of the stand-in: the JNI_CreateJavaVM export and the
// JavaVM function table. A JVM may be created again after DestroyJavaVM,
// which lets one test program try several behaviour files.
#include "standin/standin_jvm/JniObjects.h"
#include "standin/standin_jvm/StandinJvmFormat.h"

#include "core/win/Handles.h"

#include <algorithm>

namespace standin {
namespace {

Session session;
bool created = false;

JNIEnv environment = nullptr;
JavaVM machine = nullptr;

bool supportedVersion(jint version) {
    static const jint versions[] = {0x00010002, 0x00010004, 0x00010006, 0x00010008, 0x00090000,
                                    0x000a0000, 0x00130000, 0x00140000, 0x00150000};
    return std::find(std::begin(versions), std::end(versions), version) != std::end(versions);
}

// In 100 ns units, -1 when the process's times cannot be read. The precise
// clock: the plain one may advance in steps of a scheduler tick.
long long ticksSinceProcessStart() {
    FILETIME creation{}, exit{}, kernel{}, user{}, now{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user)) return -1;
    // Windows 8 and later; looked up, as the Windows 7 API level has no declaration.
    using PreciseClock = void(WINAPI*)(FILETIME*);
    static const auto precise = reinterpret_cast<PreciseClock>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    if (precise != nullptr) precise(&now);
    else ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return ticks(now) - ticks(creation);
}

// No file: every default. A file that cannot be read or parsed refuses the
// creation, so a broken test setup shows at once.
bool readConfig(StandinJvmConfig& config) {
    FileHandle file(::CreateFileW(fileBesideModule(kConfigFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return true;
        TranscriptLine("config-error").narrow("unreadable").number(error).write();
        return false;
    }
    std::string text;
    char buffer[4096];
    DWORD count = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr) && count > 0) text.append(buffer, count);
    std::string badLine;
    if (parseStandinJvmConfig(text, config, badLine)) return true;
    TranscriptLine("config-error").narrow(badLine).write();
    return false;
}

jint startSession(const JavaVMInitArgs& arguments) {
    if (created) return JNI_EEXIST;
    if (!supportedVersion(arguments.version)) return JNI_EVERSION;
    StandinJvmConfig config;
    if (!readConfig(config)) return JNI_ERR;
    if (config.createResult != JNI_OK) return config.createResult;

    session.config = std::move(config);
    session.options.clear();
    for (jint i = 0; i < arguments.nOptions; ++i) session.options.emplace_back(arguments.options[i].optionString);
    clearPendingException();
    created = true;
    return JNI_OK;
}

jint STANDIN_JNICALL destroyJavaVM(JavaVM*) {
    TranscriptLine("DestroyJavaVM").write();
    if (!created) return JNI_ERR;
    created = false;
    clearPendingException();
    return JNI_OK;
}

jint attach(const char* function, void** env) {
    TranscriptLine(function).write();
    if (env == nullptr) fault(function, "null output");
    *env = created ? jniEnv() : nullptr;
    return created ? JNI_OK : JNI_ERR;
}

jint STANDIN_JNICALL attachCurrentThread(JavaVM*, void** env, void*) { return attach("AttachCurrentThread", env); }

jint STANDIN_JNICALL attachCurrentThreadAsDaemon(JavaVM*, void** env, void*) {
    return attach("AttachCurrentThreadAsDaemon", env);
}

jint STANDIN_JNICALL detachCurrentThread(JavaVM*) {
    TranscriptLine("DetachCurrentThread").write();
    return JNI_OK;
}

jint STANDIN_JNICALL getEnv(JavaVM*, void** env, jint version) {
    TranscriptLine("GetEnv").hex(static_cast<uint32_t>(version)).write();
    if (env == nullptr) fault("GetEnv", "null output");
    *env = created ? jniEnv() : nullptr;
    return created ? JNI_OK : JNI_EDETACHED;
}

const JNIInvokeInterface invokeInterface = {
    nullptr,     nullptr, nullptr, destroyJavaVM, attachCurrentThread, detachCurrentThread, getEnv,
    attachCurrentThreadAsDaemon,
};

}  // namespace

const Session& currentSession() { return session; }

JavaVM* javaVM() {
    machine = &invokeInterface;
    return &machine;
}

JNIEnv* jniEnv() {
    environment = nativeInterface();
    return &environment;
}

}  // namespace standin

using namespace standin;

extern "C" __declspec(dllexport) jint STANDIN_JNICALL JNI_CreateJavaVM(JavaVM** vm, void** env, void* initArgs) {
    const long long startupTicks = ticksSinceProcessStart();
    TranscriptLine("session").number(::GetCurrentProcessId()).write();
    TranscriptLine("startup-ms").number(startupTicks < 0 ? -1 : startupTicks / 10000).write();
    TranscriptLine("startup-us").number(startupTicks < 0 ? -1 : startupTicks / 10).write();
    if (vm == nullptr || env == nullptr || initArgs == nullptr) fault("JNI_CreateJavaVM", "null argument");
    *vm = nullptr;
    *env = nullptr;

    const auto& arguments = *static_cast<const JavaVMInitArgs*>(initArgs);
    TranscriptLine("version").hex(static_cast<uint32_t>(arguments.version)).write();
    if (arguments.nOptions < 0 || (arguments.nOptions > 0 && arguments.options == nullptr)) {
        fault("JNI_CreateJavaVM", "bad option count or array");
    }
    for (jint i = 0; i < arguments.nOptions; ++i) {
        if (arguments.options[i].optionString == nullptr) fault("JNI_CreateJavaVM", "null option text");
        TranscriptLine("option").narrow(arguments.options[i].optionString).write();
    }
    TranscriptLine("ignoreUnrecognized").number(arguments.ignoreUnrecognized).write();

    const jint result = startSession(arguments);
    TranscriptLine("created").number(result).write();
    if (result == JNI_OK) {
        *vm = javaVM();
        *env = jniEnv();
    }
    return result;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) rememberModule(instance);
    return TRUE;
}
