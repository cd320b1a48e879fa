#pragma once

// Inside the stand-in jvm.dll: what its Windows files share. The transcript
// format and the behaviour keys are described in StandinJvmFormat.h and
// StandinJvmConfig.h.

#include "core/WinApi.h"
#include "standin/standin_jvm/StandinJni.h"
#include "standin/standin_jvm/StandinJvmConfig.h"

#include <string>
#include <string_view>
#include <vector>

namespace standin {

// --- Transcript.cpp -------------------------------------------------------

void rememberModule(HMODULE module);
// A file in the directory of this DLL (not of the program that loaded it).
std::wstring fileBesideModule(const char* name);
std::wstring ansiToWide(std::string_view text);
void writeStandardError(std::string_view text);

// One transcript line, built token by token and appended to the file by write().
class TranscriptLine {
public:
    explicit TranscriptLine(std::string_view keyword) : text_(keyword) {}
    TranscriptLine& word(std::string_view word);
    TranscriptLine& number(long long value);
    TranscriptLine& hex(uint32_t value);
    TranscriptLine& narrow(std::string_view bytes);
    TranscriptLine& wide(std::u16string_view units);
    void write() const;

private:
    std::string text_;
};

// Records a misuse of JNI by the caller and ends the process with
// kFaultExitCode, as a real JVM would crash or abort on it.
[[noreturn]] void fault(std::string_view function, std::string_view what);

// --- Invocation.cpp -------------------------------------------------------

// The JVM created by the last successful JNI_CreateJavaVM.
struct Session {
    StandinJvmConfig config;
    std::vector<std::string> options;
};
const Session& currentSession();
JavaVM* javaVM();
JNIEnv* jniEnv();

// --- JniFunctions.cpp -----------------------------------------------------

const JNINativeInterface* nativeInterface();
void clearPendingException();

// --- ClassPath.cpp --------------------------------------------------------

struct ClassLocation {
    enum class Kind { Builtin, OnClassPath, Missing } kind = Kind::Missing;
    std::string entry;  // the class path entry that holds it
};
// Looks a class ("pkg/Name") up on the -Djava.class.path= option; the java/
// packages are built in.
ClassLocation locateClass(const std::vector<std::string>& options, std::string_view className);

// --- MainSteps.cpp --------------------------------------------------------

// The steps the behaviour file asks of "main"; may end the process.
void runMainSteps(const Session& session);

}  // namespace standin
