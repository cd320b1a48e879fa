#pragma once

// The tests' side of the stand-in jvm.dll: its transcript read back into
// sessions, and its behaviour file written. The line format and the keys are
// described in standin/standin_jvm/StandinJvmFormat.h and StandinJvmConfig.h.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One transcript line after the session header: a JNI call (capitalised) or
// an event of the stand-in ("throw", "return", "main", "fault", ...).
struct JvmCall {
    std::string function;
    std::vector<std::string> words;     // bare words and "narrow" texts, in line order
    std::vector<std::u16string> texts;  // u"wide" texts, in line order
};

// Everything one JNI_CreateJavaVM call received and what followed it.
struct JvmSession {
    unsigned long processId = 0;
    long long startupMs = -1;
    long long startupUs = -1;  // the same time, finer
    uint32_t version = 0;
    std::vector<std::string> options;
    bool ignoreUnrecognized = false;
    bool createdSeen = false;  // false when the process ended during creation
    int createResult = 0;
    std::vector<JvmCall> calls;

    // The function names of `calls`, in order.
    std::vector<std::string> functions() const;
    // The calls of one function, in order.
    std::vector<const JvmCall*> callsOf(std::string_view function) const;
};

// Parses a whole transcript (one session per JNI_CreateJavaVM, in order). On
// failure `sessions` is untouched and `error` names the line.
bool parseJvmTranscript(std::string_view text, std::vector<JvmSession>& sessions, std::string& error);

// The transcript beside a stand-in jvm.dll in `directory`; a missing file
// gives no sessions.
bool readJvmTranscript(const std::filesystem::path& directory, std::vector<JvmSession>& sessions, std::string& error);

// Writes "standin-jvm.cfg" into `directory` (beside the jvm.dll), one
// key=value line per entry.
bool writeStandinJvmConfig(const std::filesystem::path& directory,
                           const std::vector<std::pair<std::string, std::string>>& entries);
