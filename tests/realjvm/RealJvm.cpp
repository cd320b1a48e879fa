#include "RealJvm.h"

#include "Utf.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace realjvm {
namespace {

constexpr const char* kMainSignature = "([Ljava/lang/String;)V";

std::string classNameOf(JNIEnv* env, jobject object) {
    jclass objectClass = env->GetObjectClass(object);
    jclass classClass = env->FindClass("java/lang/Class");
    jmethodID getName = classClass ? env->GetMethodID(classClass, "getName", "()Ljava/lang/String;") : nullptr;
    auto name = getName ? static_cast<jstring>(env->CallObjectMethod(objectClass, getName)) : nullptr;
    if (!name) {
        env->ExceptionClear();
        return "?";
    }
    const char* utf = env->GetStringUTFChars(name, nullptr);
    std::string copy = utf ? utf : "?";
    if (utf) env->ReleaseStringUTFChars(name, utf);
    return copy;
}

// Builds main's String[] from the exact UTF-16 code units; null on failure.
jobjectArray makeArgumentArray(JNIEnv* env, const std::vector<std::u16string>& arguments) {
    static_assert(sizeof(jchar) == sizeof(char16_t));
    jclass stringClass = env->FindClass("java/lang/String");
    if (!stringClass) return nullptr;
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(arguments.size()), stringClass, nullptr);
    for (jsize i = 0; array && i < static_cast<jsize>(arguments.size()); ++i) {
        const std::u16string& argument = arguments[i];
        jstring text = env->NewString(reinterpret_cast<const jchar*>(argument.data()),
                                      static_cast<jsize>(argument.size()));
        if (!text) return nullptr;
        env->SetObjectArrayElement(array, i, text);
    }
    return array;
}

// One line per checkpoint: the create result, the five flags, the exception
// and the outcome, with "-" for an absent create result, exception or outcome.
std::string serialize(const MainCallReport& report) {
    std::ostringstream line;
    if (report.createResult) {
        line << *report.createResult;
    } else {
        line << '-';
    }
    line << ' ' << report.createEntered << ' ' << report.classFound << ' ' << report.mainFound << ' '
         << report.mainEntered << ' ' << report.mainReturned << ' '
         << (report.uncaughtException.empty() ? "-" : report.uncaughtException) << ' '
         << (report.outcome.empty() ? "-" : report.outcome) << '\n';
    return line.str();
}

std::optional<MainCallReport> deserialize(const std::string& line) {
    std::istringstream in(line);
    std::string create, exception, outcome;
    MainCallReport report;
    if (!(in >> create >> report.createEntered >> report.classFound >> report.mainFound >> report.mainEntered >>
          report.mainReturned >> exception >> outcome)) {
        return std::nullopt;
    }
    if (create != "-") report.createResult = std::stoi(create);
    if (exception != "-") report.uncaughtException = exception;
    if (outcome != "-") report.outcome = outcome;
    return report;
}

// Owns a memory file shared with the child: the child writes, the parent reads
// from the start once the child has ended.
class MemoryFile {
public:
    explicit MemoryFile(const char* name) : fd_(memfd_create(name, 0)) {}
    ~MemoryFile() {
        if (fd_ >= 0) close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int fd() const { return fd_; }

    std::string readAll() const {
        std::string text;
        if (fd_ < 0 || lseek(fd_, 0, SEEK_SET) != 0) return text;
        char buffer[4096];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
        return text;
    }

private:
    int fd_;
};

void writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

[[noreturn]] void runChild(const std::filesystem::path& libJvm, const IsolatedBody& body, int out, int err,
                           int reportFd) {
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    // The JVM takes its encoding of narrow text from the C locale; options
    // from the environment would change every run.
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("JAVA_TOOL_OPTIONS");
    unsetenv("_JAVA_OPTIONS");
    unsetenv("JDK_JAVA_OPTIONS");

    void* library = dlopen(libJvm.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = library ? dlsym(library, "JNI_CreateJavaVM") : nullptr;
    if (!entry) {
        writeAll(STDERR_FILENO, std::string("realjvm: cannot bind JNI_CreateJavaVM: ") + dlerror() + "\n");
        _exit(3);
    }
    auto checkpoint = [reportFd](const MainCallReport& report) { writeAll(reportFd, serialize(report)); };
    checkpoint(body(reinterpret_cast<CreateJavaVmFunction>(entry), checkpoint));
    // No exit handlers of the test process run in the child.
    _exit(0);
}

}  // namespace

MainCallReport startAndCallMain(CreateJavaVmFunction createJavaVm, const MainCallRequest& request,
                                const ReportCheckpoint& checkpoint) {
    MainCallReport report;
    std::vector<JavaVMOption> options(request.vmOptions.size());
    for (size_t i = 0; i < options.size(); ++i) {
        options[i].optionString = const_cast<char*>(request.vmOptions[i].c_str());
        options[i].extraInfo = nullptr;
    }
    JavaVMInitArgs initArgs{};
    initArgs.version = JNI_VERSION_1_2;
    initArgs.nOptions = static_cast<jint>(options.size());
    initArgs.options = options.data();
    initArgs.ignoreUnrecognized = JNI_TRUE;

    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    // Some creation failures end the process from inside JNI_CreateJavaVM.
    report.createEntered = true;
    checkpoint(report);
    report.createResult = createJavaVm(&vm, reinterpret_cast<void**>(&env), &initArgs);
    checkpoint(report);
    if (*report.createResult != JNI_OK) return report;

    jclass mainClass = env->FindClass(request.className.c_str());
    report.classFound = mainClass != nullptr;
    jmethodID main = mainClass ? env->GetStaticMethodID(mainClass, "main", kMainSignature) : nullptr;
    report.mainFound = main != nullptr;
    jobjectArray arguments = main ? makeArgumentArray(env, request.arguments) : nullptr;
    if (!arguments) {
        // The lookup's NoClassDefFoundError or NoSuchMethodError is what the
        // report already says.
        env->ExceptionClear();
        checkpoint(report);
        vm->DestroyJavaVM();
        return report;
    }

    report.mainEntered = true;
    checkpoint(report);
    env->CallStaticVoidMethod(mainClass, main, arguments);
    report.mainReturned = true;
    if (jthrowable thrown = env->ExceptionOccurred()) {
        env->ExceptionDescribe();
        report.uncaughtException = classNameOf(env, thrown);
    }
    checkpoint(report);
    vm->DestroyJavaVM();
    return report;
}

std::optional<std::filesystem::path> findLibJvm() {
    std::vector<std::filesystem::path> candidates;
    if (const char* javaHome = std::getenv("JAVA_HOME"); javaHome && *javaHome) {
        candidates.push_back(std::filesystem::path(javaHome) / "lib/server/libjvm.so");
    }
    candidates.emplace_back("/usr/lib/jvm/java-17-openjdk-amd64/lib/server/libjvm.so");
    for (const auto& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return std::nullopt;
}

IsolatedRun runIsolated(const std::filesystem::path& libJvm, const IsolatedBody& body, std::chrono::seconds timeout) {
    IsolatedRun run;
    MemoryFile out("realjvm-out"), err("realjvm-err"), report("realjvm-report");
    if (out.fd() < 0 || err.fd() < 0 || report.fd() < 0) {
        run.standardError = "realjvm: memfd_create failed";
        return run;
    }
    // Nothing buffered in this process may be written twice.
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) {
        run.standardError = "realjvm: fork failed";
        return run;
    }
    if (child == 0) runChild(libJvm, body, out.fd(), err.fd(), report.fd());

    auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(child, &status, WNOHANG)) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            run.timedOut = true;
            waited = waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (waited == child) {
        run.exited = WIFEXITED(status);
        run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
        run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }

    std::istringstream checkpoints(report.readAll());
    for (std::string line; std::getline(checkpoints, line);) {
        if (auto parsed = deserialize(line)) run.report = *parsed;
    }
    run.standardOutput = out.readAll();
    run.standardError = err.readAll();
    return run;
}

IsolatedRun runMainInChild(const std::filesystem::path& libJvm, const MainCallRequest& request) {
    return runIsolated(libJvm, [&request](CreateJavaVmFunction createJavaVm, const ReportCheckpoint& checkpoint) {
        return startAndCallMain(createJavaVm, request, checkpoint);
    });
}

std::u16string utf16(std::string_view utf8) { return utf8ToUtf16(utf8); }

std::string describe(const IsolatedRun& run) {
    return "exit " + std::to_string(run.exitCode) + ", signal " + std::to_string(run.signal) +
           (run.timedOut ? ", timed out" : "") + (run.report.outcome.empty() ? "" : ", outcome " + run.report.outcome) +
           "\nstdout:\n" + run.standardOutput + "\nstderr:\n" + run.standardError;
}

}  // namespace realjvm
