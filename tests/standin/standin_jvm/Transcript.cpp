#include "standin/standin_jvm/StandinJvm.h"
#include "standin/standin_jvm/StandinJvmFormat.h"

#include "core/win/Handles.h"

#include <mutex>

namespace standin {
namespace {

HMODULE ownModule = nullptr;

const std::wstring& transcriptPath() {
    static const std::wstring path = fileBesideModule(kTranscriptFileName);
    return path;
}

}  // namespace

void rememberModule(HMODULE module) { ownModule = module; }

std::wstring fileBesideModule(const char* name) {
    std::wstring path(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(ownModule, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    path.erase(path.find_last_of(L'\\') + 1);  // npos + 1 == 0: no directory at all
    for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);
    return path;
}

std::wstring ansiToWide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

void writeStandardError(std::string_view text) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

TranscriptLine& TranscriptLine::word(std::string_view word) {
    appendWordToken(text_, word);
    return *this;
}

TranscriptLine& TranscriptLine::number(long long value) { return word(std::to_string(value)); }

TranscriptLine& TranscriptLine::hex(uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return word(text);
}

TranscriptLine& TranscriptLine::narrow(std::string_view bytes) {
    appendNarrowToken(text_, bytes);
    return *this;
}

TranscriptLine& TranscriptLine::wide(std::u16string_view units) {
    appendWideToken(text_, units);
    return *this;
}

// Opened, written and closed for every line: nothing waits in a buffer when
// the process ends inside main, and two processes sharing a directory append
// whole lines.
void TranscriptLine::write() const {
    static std::mutex writing;
    const std::lock_guard<std::mutex> lock(writing);
    FileHandle file(::CreateFileW(transcriptPath().c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string line = text_ + "\n";
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void fault(std::string_view function, std::string_view what) {
    TranscriptLine("fault").narrow(function).narrow(what).write();
    writeStandardError("stand-in jvm.dll: " + std::string(function) + ": " + std::string(what) + "\n");
    ::ExitProcess(kFaultExitCode);
}

}  // namespace standin
