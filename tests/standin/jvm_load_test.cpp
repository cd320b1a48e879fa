// Drives the stand-in jvm.dll of this build's bitness the way the launcher
// does, under Wine, and reads its transcript back: creation failure on
// request, class lookup on a directory and a jar, exact UTF-16 strings, the
// pending-exception state, and (in a child process) main ending the process
// after consuming a communication file and a line of standard input. The
// other bitness's jvm.dll must refuse to load.
#include "core/WinApi.h"
#include "standin/standin_jvm/StandinJni.h"
#include "standin/standin_jvm/StoredZip.h"
#include "support/JvmTranscript.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace standin;

namespace {

int failures = 0;

#define CHECK(condition) check((condition), #condition, __LINE__)
void check(bool passed, const char* what, int line) {
    if (passed) return;
    std::fprintf(stderr, "jvm_load_test.cpp:%d: failed: %s\n", line, what);
    ++failures;
}

constexpr int kChildExitCode = 7;
const std::u16string kWideText = u"a\u00e9\U0001F600b";
const std::string kInputLine = "hello w\xf6rld";  // one ANSI byte above 0x7F
const std::u16string kCommText = u"--open d\u00e9j\u00e0.txt\n";

fs::path ownDirectory() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

void writeFile(const fs::path& path, const void* data, size_t size) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A runtime directory with the stand-in copied to bin\server\jvm.dll.
fs::path installJvm(const fs::path& home) {
    const fs::path server = home / "bin" / "server";
    fs::create_directories(server);
    fs::copy_file(ownDirectory() / "jvm.dll", server / "jvm.dll", fs::copy_options::overwrite_existing);
    return server;
}

struct StandinJvm {
    HMODULE module = nullptr;  // freed at the end, so the copy can be removed
    CreateJavaVMFunction create = nullptr;

    explicit StandinJvm(const fs::path& server) {
        module = ::LoadLibraryW((server / "jvm.dll").c_str());
        if (module) {
            // Through void (*)(): the one function pointer type any other converts to without a warning.
            const auto entry = reinterpret_cast<void (*)()>(::GetProcAddress(module, "JNI_CreateJavaVM"));
            create = reinterpret_cast<CreateJavaVMFunction>(entry);
        }
    }
    ~StandinJvm() {
        if (module) ::FreeLibrary(module);
    }
    StandinJvm(const StandinJvm&) = delete;
    StandinJvm& operator=(const StandinJvm&) = delete;

    jint start(std::vector<std::string> options, JavaVM*& vm, JNIEnv*& env) {
        std::vector<JavaVMOption> table;
        for (std::string& option : options) table.push_back({option.data(), nullptr});
        JavaVMInitArgs arguments{JNI_VERSION_1_2, static_cast<jint>(table.size()), table.data(), JNI_TRUE};
        return create(&vm, reinterpret_cast<void**>(&env), &arguments);
    }
};

std::vector<JvmSession> readSessions(const fs::path& server) {
    std::vector<JvmSession> sessions;
    std::string error;
    if (!readJvmTranscript(server, sessions, error)) std::fprintf(stderr, "%s\n", error.c_str());
    return sessions;
}

jstring newString(JNIEnv* env, std::u16string_view text) {
    return (*env)->NewString(env, text.data(), static_cast<jsize>(text.size()));
}

void driveLikeTheLauncher(const fs::path& work) {
    const fs::path server = installJvm(work / "jre");
    const char classBytes[] = "\xca\xfe\xba\xbe";
    writeFile(work / "classes" / "com" / "demo" / "Dir.class", classBytes, 4);
    const std::vector<uint8_t> jar = storedZip({{"META-INF/", ""}, {"com/demo/", ""}, {"com/demo/Boot.class", "x"}});
    writeFile(work / "lib" / "boot.jar", jar.data(), jar.size());

    StandinJvm jvm(server);
    CHECK(jvm.create != nullptr);
    if (!jvm.create) return;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;

    writeStandinJvmConfig(server, {{"create.result", "-4"}});
    CHECK(jvm.start({"-Xmx64m"}, vm, env) == -4);
    CHECK(vm == nullptr && env == nullptr);

    writeStandinJvmConfig(server, {{"main.throws", "true"}, {"missing-methods", "absent"}});
    const std::string classesEntry = (work / "classes").string();
    const std::string jarEntry = (work / "lib" / "boot.jar").string();
    const std::vector<std::string> options = {
        "-Xmx64m", "-Dapp.name=caf\xe9",
        "-Djava.class.path=" + (work / "none").string() + ";" + classesEntry + ";" + jarEntry};
    CHECK(jvm.start(options, vm, env) == JNI_OK);
    if (!env) return;
    const JNINativeInterface& jni = **env;

    CHECK(jni.FindClass(env, "com/demo/Dir") != nullptr);
    CHECK(jni.FindClass(env, "com.demo.Boot") == nullptr);
    CHECK(jni.ExceptionOccurred(env) != nullptr);
    jni.ExceptionDescribe(env);
    CHECK(jni.ExceptionOccurred(env) == nullptr);
    const jclass boot = jni.FindClass(env, "com/demo/Boot");
    const jclass stringClass = jni.FindClass(env, "java/lang/String");
    CHECK(boot != nullptr && stringClass != nullptr);

    CHECK(jni.GetStaticMethodID(env, boot, "absent", "()V") == nullptr);
    CHECK(jni.ExceptionCheck(env));
    jni.ExceptionClear(env);
    const jmethodID main = jni.GetStaticMethodID(env, boot, "main", "([Ljava/lang/String;)V");
    const jmethodID firstRun = jni.GetStaticMethodID(env, boot, "firstRun", "()Z");
    const jobjectArray arguments = jni.NewObjectArray(env, 2, stringClass, nullptr);
    jni.SetObjectArrayElement(env, arguments, 0, newString(env, kWideText));
    jni.SetObjectArrayElement(env, arguments, 1, jni.NewStringUTF(env, "plain"));
    CHECK(jni.CallStaticBooleanMethod(env, boot, firstRun) == JNI_TRUE);
    jni.CallStaticVoidMethod(env, boot, main, arguments);
    CHECK(jni.ExceptionOccurred(env) != nullptr);
    CHECK((*vm)->DestroyJavaVM(vm) == JNI_OK);

    const std::vector<JvmSession> sessions = readSessions(server);
    CHECK(sessions.size() == 2);
    if (sessions.size() != 2) return;
    CHECK(sessions[0].createResult == -4 && sessions[0].calls.empty());
    const JvmSession& run = sessions[1];
    CHECK(run.processId == ::GetCurrentProcessId());
    CHECK(run.startupMs >= 0);
    CHECK(run.startupUs / 1000 == run.startupMs);
    CHECK(run.version == 0x00010002);
    CHECK(run.options == options);
    CHECK(run.ignoreUnrecognized);
    CHECK(run.createResult == 0);

    const std::vector<const JvmCall*> lookups = run.callsOf("FindClass");
    CHECK(lookups.size() == 4);
    if (lookups.size() == 4) {
        CHECK((lookups[0]->words == std::vector<std::string>{"com/demo/Dir", "found", classesEntry}));
        CHECK((lookups[1]->words == std::vector<std::string>{"com.demo.Boot", "missing"}));
        CHECK((lookups[2]->words == std::vector<std::string>{"com/demo/Boot", "found", jarEntry}));
        CHECK((lookups[3]->words == std::vector<std::string>{"java/lang/String", "builtin"}));
    }
    const std::vector<const JvmCall*> strings = run.callsOf("NewString");
    CHECK(strings.size() == 1 && strings[0]->texts == std::vector<std::u16string>{kWideText});
    const std::vector<const JvmCall*> mainCalls = run.callsOf("CallStaticVoidMethod");
    CHECK(mainCalls.size() == 1);
    if (mainCalls.size() == 1) {
        CHECK((mainCalls[0]->words == std::vector<std::string>{"com/demo/Boot", "main", "([Ljava/lang/String;)V"}));
        CHECK((mainCalls[0]->texts == std::vector<std::u16string>{kWideText, u"plain"}));
    }
    const std::vector<std::string> functions = run.functions();
    const std::vector<std::string> tail(functions.end() - std::min<size_t>(functions.size(), 4), functions.end());
    CHECK((tail == std::vector<std::string>{"CallStaticVoidMethod", "throw", "ExceptionOccurred", "DestroyJavaVM"}));
}

// A prefix without a display (and without Wine's null graphics driver)
// refuses every window; the stand-in cannot do better there.
bool windowsCanBeCreated() {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    if (window) ::DestroyWindow(window);
    return window != nullptr;
}

// --child <runtime dir>: main reads the communication file and a line of
// standard input, shows a window and ends the process.
int runChild(const fs::path& server) {
    StandinJvm jvm(server);
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (!jvm.create || jvm.start({"-Xss1m"}, vm, env) != JNI_OK) return 2;
    const JNINativeInterface& jni = **env;
    const jclass type = jni.FindClass(env, "java/lang/Thread");
    const jmethodID main = jni.GetStaticMethodID(env, type, "main", "([Ljava/lang/String;)V");
    const jclass stringClass = jni.FindClass(env, "java/lang/String");
    jni.CallStaticVoidMethod(env, type, main, jni.NewObjectArray(env, 0, stringClass, nullptr));
    return 3;  // main should not have returned
}

void mainEndsTheProcess(const fs::path& work) {
    const fs::path server = installJvm(work / "child");
    const fs::path commFile = work / "zkr_p1.tmp";
    writeStandinJvmConfig(server, {{"main", "instance-file,stdin,window,exit"},
                                   {"main.exit-code", std::to_string(kChildExitCode)},
                                   {"main.instance-file", commFile.string()},
                                   {"main.wait-ms", "20000"}});

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CHECK(::CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    ::SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --child \"" + server.wstring() + L"\"";
    PROCESS_INFORMATION child{};
    CHECK(::CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child));
    ::CloseHandle(readEnd);

    ::Sleep(300);  // main is waiting for the file by now
    writeFile(commFile, kCommText.data(), kCommText.size() * sizeof(char16_t));
    const std::string input = kInputLine + "\r\n";
    DWORD written = 0;
    ::WriteFile(writeEnd, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    CHECK(::WaitForSingleObject(child.hProcess, 30000) == WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(child.hProcess, &exitCode);
    CHECK(exitCode == kChildExitCode);
    CHECK(!fs::exists(commFile));
    ::CloseHandle(writeEnd);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);

    const std::vector<JvmSession> sessions = readSessions(server);
    CHECK(sessions.size() == 1);
    if (sessions.size() != 1) return;
    const std::vector<const JvmCall*> steps = sessions[0].callsOf("main");
    CHECK(steps.size() == 4);
    if (steps.size() != 4) return;
    CHECK((steps[0]->words == std::vector<std::string>{"instance-file", commFile.string(),
                                                        std::to_string(kCommText.size() * 2)}));
    CHECK(steps[0]->texts == std::vector<std::u16string>{kCommText});
    CHECK((steps[1]->words == std::vector<std::string>{"stdin", kInputLine}));
    if (windowsCanBeCreated()) {
        CHECK((steps[2]->words == std::vector<std::string>{"window"}));
    } else {
        std::printf("note: this Wine prefix has no graphics driver, so main's window was not checked\n");
    }
    CHECK((steps[3]->words == std::vector<std::string>{"exit", std::to_string(kChildExitCode)}));
    CHECK(sessions[0].functions().back() == "main");  // nothing after ExitProcess
}

// The build tree of the other bitness is named by a Unix path; Wine shows it on Z:.
void otherBitnessRefusesToLoad() {
    std::string path = std::string("Z:") + STANDIN_OTHER_JVM_DLL;
    for (char& c : path) c = c == '/' ? '\\' : c;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("skipped: no jvm.dll of the other bitness at %s\n", path.c_str());
        return;
    }
    const HMODULE module = ::LoadLibraryA(path.c_str());
    const DWORD error = ::GetLastError();
    CHECK(module == nullptr);
    CHECK(error == ERROR_BAD_EXE_FORMAT);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") return runChild(argv[2]);

    const fs::path work = ownDirectory() / ("jvm_load_test_work" + std::to_string(sizeof(void*) * 8));
    std::error_code ignored;
    fs::remove_all(work, ignored);
    fs::create_directories(work);
    driveLikeTheLauncher(work);
    mainEndsTheProcess(work);
    otherBitnessRefusesToLoad();
    if (failures == 0) fs::remove_all(work, ignored);  // kept for a look when something failed
    std::printf("%s: %d failed checks\n", failures ? "FAILED" : "passed", failures);
    return failures ? 1 : 0;
}
