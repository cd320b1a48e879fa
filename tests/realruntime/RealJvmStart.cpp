// Starts a JVM of the real Windows runtime inside this process, as the
// launcher's JNI start does, and checks that Java saw exactly the text it was handed:
// main's arguments, built with NewString from UTF-16 (characters outside the
// ANSI code page and surrogate pairs among them), and -D options written in
// the ANSI code page by the launcher's own conversion. The test bootstrap class WinLauncher writes what it
// received into the echo file, which is read back here once the JVM is gone.
//
//   real_jvm_start64.exe RUNTIME CLASS-PATH ECHO-FILE
//
// RUNTIME says where the runtime's home is, as the scenarios place it:
//   jre                        the "jre" directory beside this program
//   variable=NAME              the directory that the environment variable NAME names
//   registry=PRODUCT\VERSION   "JavaHome" of HKLM\SOFTWARE\JavaSoft\PRODUCT\VERSION, in this
//                              program's own registry view
//
// Prints each step and each text's round trip on standard output (UTF-8) and
// ends with 0 only when every text came back exact.
#include "core/WinApi.h"
#include "core/win/Win32Text.h"
#include "standin/StandinFiles.h"
#include "standin/standin_jvm/StandinJni.h"
#include "support/BootstrapEcho.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace standin;

namespace {

enum ExitCode {
    kAllExact = 0,
    kTextDiffers = 1,
    kBadUsage = 2,
    kNoRuntime = 3,
    kCreateFailed = 4,
    kMainFailed = 5,
};

// Within the Windows-1252 code page that Wine gives a prefix without a
// language, and beyond Latin-1: the euro sign is 0x80 there.
const std::u16string kAnsiPropertyText = u"Gr\u00fc\u00dfe \u20ac \u00e9t\u00e9";

// The launcher hands the JVM its option text in the ANSI code page; text the
// code page cannot hold would arrive changed, which says nothing about the
// JVM, so it is refused here.
std::optional<std::string> ansi(const std::u16string& text) {
    std::string out;
    if (!utf16ToAnsi(text, out)) return std::nullopt;
    return out;
}

std::string utf8(const std::u16string& text) { return standin::utf8(asWide(text)); }

// The text in quotes with every code unit outside printable ASCII escaped,
// then, when there are such units, the text as UTF-8 for a reader (a lone
// surrogate shows as U+FFFD there; the escapes keep it).
std::string describe(const std::u16string& text) {
    std::string quoted = "\"";
    bool escaped = false;
    char unit[8];
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7f) {
            quoted += static_cast<char>(c);
        } else {
            std::snprintf(unit, sizeof unit, "\\u%04x", static_cast<unsigned>(c));
            quoted += unit;
            escaped = true;
        }
    }
    quoted += "\"";
    return escaped ? quoted + " = " + utf8(text) : quoted;
}

std::optional<std::wstring> environmentVariable(const std::wstring& name) {
    std::wstring value(32767, L'\0');
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return std::nullopt;
    value.resize(length);
    return value;
}

std::optional<std::wstring> javaSoftHome(const std::wstring& productAndVersion) {
    const std::wstring key = L"SOFTWARE\\JavaSoft\\" + productAndVersion;
    wchar_t home[8192];
    DWORD size = sizeof home;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"JavaHome", RRF_RT_REG_SZ, nullptr, home, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(home);
}

std::optional<std::wstring> findHome(const std::wstring& runtime) {
    const auto valueOf = [&runtime](const wchar_t* prefix) -> std::optional<std::wstring> {
        const std::wstring start(prefix);
        if (runtime.compare(0, start.size(), start) != 0) return std::nullopt;
        return runtime.substr(start.size());
    };
    if (runtime == L"jre") {
        const std::wstring self = ownPath();
        return self.substr(0, self.find_last_of(L'\\')) + L"\\jre";
    }
    if (const auto name = valueOf(L"variable=")) return environmentVariable(*name);
    if (const auto key = valueOf(L"registry=")) return javaSoftHome(*key);
    return std::nullopt;
}

// The runtime's jimage.dll loads zip.dll by its bare name to read the
// compressed lib\modules, so the runtime's bin directory must be on PATH
// before the JVM starts; the launcher appends it when it loads jvm.dll.
void appendToPath(const std::wstring& directory) {
    std::wstring path = environmentVariable(L"PATH").value_or(L"");
    SetEnvironmentVariableW(L"PATH", (path + L";" + directory).c_str());
}

CreateJavaVMFunction bindCreateJavaVm(const std::wstring& library) {
    // Never freed: a JVM library cannot be unloaded once a JVM ran in it.
    const HMODULE module = LoadLibraryW(library.c_str());
    if (!module) {
        std::printf("LoadLibrary failed with error %lu\n", GetLastError());
        return nullptr;
    }
    // Through void (*)(): the one function pointer type any other converts to without a warning.
    const auto entry = reinterpret_cast<void (*)()>(GetProcAddress(module, "JNI_CreateJavaVM"));
    if (!entry) std::printf("jvm.dll has no JNI_CreateJavaVM\n");
    return reinterpret_cast<CreateJavaVMFunction>(entry);
}

std::vector<std::u16string> allExactArguments() {
    std::vector<std::u16string> arguments;
    for (const ArgumentGroup& group : exactArgumentGroups())
        arguments.insert(arguments.end(), group.arguments.begin(), group.arguments.end());
    return arguments;
}

jobjectArray makeArgumentArray(JNIEnv* env, const std::vector<std::u16string>& arguments) {
    const jclass stringClass = (*env)->FindClass(env, "java/lang/String");
    if (!stringClass) return nullptr;
    const jobjectArray array = (*env)->NewObjectArray(env, static_cast<jsize>(arguments.size()), stringClass, nullptr);
    for (jsize i = 0; array && i < static_cast<jsize>(arguments.size()); ++i) {
        const jstring text = (*env)->NewString(env, arguments[i].data(), static_cast<jsize>(arguments[i].size()));
        if (!text) return nullptr;
        (*env)->SetObjectArrayElement(env, array, i, text);
    }
    return array;
}

// Creates the JVM, calls WinLauncher.main and destroys the JVM.
ExitCode runMain(CreateJavaVMFunction createJavaVm, std::vector<std::string> options,
                 const std::vector<std::u16string>& arguments) {
    std::vector<JavaVMOption> table;
    for (std::string& option : options) table.push_back({option.data(), nullptr});
    JavaVMInitArgs initArgs{JNI_VERSION_1_2, static_cast<jint>(table.size()), table.data(), JNI_TRUE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    DWORD started = GetTickCount();
    const jint created = createJavaVm(&vm, reinterpret_cast<void**>(&env), &initArgs);
    std::printf("JNI_CreateJavaVM returned %ld after %lu ms\n", static_cast<long>(created), GetTickCount() - started);
    if (created != JNI_OK) return kCreateFailed;

    ExitCode result = kMainFailed;
    const jclass mainClass = (*env)->FindClass(env, "WinLauncher");
    const jmethodID main =
        mainClass ? (*env)->GetStaticMethodID(env, mainClass, "main", "([Ljava/lang/String;)V") : nullptr;
    const jobjectArray argumentArray = main ? makeArgumentArray(env, arguments) : nullptr;
    if (!argumentArray) {
        std::printf("WinLauncher.main(String[]) not found or its arguments not built\n");
        (*env)->ExceptionDescribe(env);
    } else {
        (*env)->CallStaticVoidMethod(env, mainClass, main, argumentArray);
        if ((*env)->ExceptionOccurred(env)) {
            std::printf("WinLauncher.main ended with an exception\n");
            (*env)->ExceptionDescribe(env);
        } else {
            std::printf("WinLauncher.main returned\n");
            result = kAllExact;
        }
    }
    std::fflush(stdout);
    started = GetTickCount();
    const jint destroyed = (*vm)->DestroyJavaVM(vm);
    std::printf("DestroyJavaVM returned %ld after %lu ms\n", static_cast<long>(destroyed), GetTickCount() - started);
    return result;
}

// One line per text; true when Java saw exactly what was sent.
bool reportRoundTrip(const std::string& what, const std::u16string& sent, const std::u16string& seen) {
    if (sent == seen) {
        std::printf("%s exact: %s\n", what.c_str(), describe(sent).c_str());
        return true;
    }
    std::printf("%s DIFFERS: sent %s, Java saw %s\n", what.c_str(), describe(sent).c_str(), describe(seen).c_str());
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: real_jvm_start64.exe jre|variable=NAME|registry=PRODUCT\\VERSION "
                             "CLASS-PATH ECHO-FILE\n");
        return kBadUsage;
    }
    const std::u16string classPath(asUtf16(argv[2]));
    const std::wstring echoFile = argv[3];
    const std::optional<std::wstring> home = findHome(argv[1]);
    if (!home) {
        std::printf("no runtime home found for %s\n", utf8(argv[1]).c_str());
        return kNoRuntime;
    }
    std::printf("runtime home %s\n", utf8(*home).c_str());

    const std::optional<std::string> ansiClassPath = ansi(classPath);
    const std::optional<std::string> ansiEcho = ansi(std::u16string(asUtf16(argv[3])));
    const std::optional<std::string> ansiText = ansi(kAnsiPropertyText);
    if (!ansiClassPath || !ansiEcho || !ansiText) {
        std::printf("the ANSI code page %u cannot hold the class path, the echo file or the property text\n",
                    GetACP());
        return kBadUsage;
    }

    appendToPath(*home + L"\\bin");
    const CreateJavaVMFunction createJavaVm = bindCreateJavaVm(*home + L"\\bin\\server\\jvm.dll");
    if (!createJavaVm) return kNoRuntime;

    const std::vector<std::u16string> arguments = allExactArguments();
    const std::vector<std::string> options = {
        "-Xmx64m",
        "-Xzelkor-no-such-option",  // left out by ignoreUnrecognized
        "-Djava.class.path=" + *ansiClassPath,
        "-Dzelkor.ansiText=" + *ansiText,
        "-Dwinlauncher.echoFile=" + *ansiEcho,
    };
    if (const ExitCode ran = runMain(createJavaVm, options, arguments); ran != kAllExact) return ran;

    std::string echoText;
    if (!readWhole(echoFile, echoText)) {
        std::printf("no echo file %s\n", utf8(echoFile).c_str());
        return kMainFailed;
    }
    BootstrapEcho echo = parseBootstrapEcho(echoText);
    int exact = 0;
    int texts = 0;
    for (size_t i = 0; i < arguments.size(); ++i, ++texts) {
        const std::u16string seen = i < echo.arguments.size() ? echo.arguments[i] : u"";
        exact += reportRoundTrip("argument " + std::to_string(i), arguments[i], seen);
    }
    exact += reportRoundTrip("property java.class.path", classPath, echo.properties["java.class.path"]);
    exact += reportRoundTrip("property zelkor.ansiText", kAnsiPropertyText, echo.properties["zelkor.ansiText"]);
    texts += 2;
    const bool sameCount = echo.arguments.size() == arguments.size();
    std::printf("%d of %d texts exact; Java saw %zu arguments; echo %s\n", exact, texts, echo.arguments.size(),
                echo.wellFormed ? "well formed" : "MALFORMED");
    return exact == texts && sameCount && echo.wellFormed ? kAllExact : kTextDiffers;
}
