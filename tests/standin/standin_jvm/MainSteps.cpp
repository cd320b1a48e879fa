// What the stand-in's "main" does between being called and returning, as the
// behaviour file asks: sleep, end the process, show a window, read a line of
// standard input, consume single-instance communication files.
#include "standin/standin_jvm/StandinJvm.h"

#include "core/win/Handles.h"

#include <algorithm>

namespace standin {
namespace {

constexpr std::string_view kCommFileProperty = ".processCommFile=";
constexpr DWORD kPollMs = 20;

void dispatchMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Waits for `event` (or only for the time without one) while answering the
// thread's window messages: a window this thread made must not hang another
// process that sends it messages, such as a second instance activating it.
bool waitDispatching(HANDLE event, DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    const DWORD count = event ? 1 : 0;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD woken = ::MsgWaitForMultipleObjects(count, event ? &event : nullptr, FALSE, remaining, QS_ALLINPUT);
        if (event && woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + count) return false;
        dispatchMessages();
        if (remaining == 0) return false;
    }
}

void showWindow(const std::string& title) {
    static const wchar_t* const className = L"StandinJvmWindow";
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    ::RegisterClassExW(&windowClass);  // fails harmlessly when a second main registers again
    const HWND window = ::CreateWindowExW(0, className, ansiToWide(title).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr,
                                          windowClass.hInstance, nullptr);
    if (!window) {
        const DWORD error = ::GetLastError();
        TranscriptLine("main").word("window-failed").number(error).write();
        return;
    }
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    dispatchMessages();
    TranscriptLine("main").word("window").write();
}

// Filled by a reader thread; left behind (and leaked) when the wait times out
// while the thread is still blocked in ReadFile.
struct LineRead {
    KernelHandle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::string line;
    bool complete = false;
};

DWORD WINAPI readLine(void* parameter) {
    auto* read = static_cast<LineRead*>(parameter);
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    char byte = 0;
    DWORD count = 0;
    while (::ReadFile(input, &byte, 1, &count, nullptr) && count == 1) {
        if (byte == '\n') {
            read->complete = true;
            break;
        }
        read->line += byte;
    }
    if (!read->line.empty() && read->line.back() == '\r') read->line.pop_back();
    ::SetEvent(read->done.get());
    return 0;
}

void readStandardInput(DWORD waitMs) {
    auto* read = new LineRead;
    KernelHandle thread(::CreateThread(nullptr, 0, readLine, read, 0, nullptr));
    if (!thread || !waitDispatching(read->done.get(), waitMs)) {
        TranscriptLine("main").word("stdin-timeout").write();
        return;
    }
    TranscriptLine("main").word(read->complete ? "stdin" : "stdin-eof").narrow(read->line).write();
    ::WaitForSingleObject(thread.get(), INFINITE);
    delete read;
}

std::string communicationFile(const Session& session) {
    if (!session.config.instanceFile.empty()) return session.config.instanceFile;
    for (const std::string& option : session.options) {
        const size_t property = option.find(kCommFileProperty);
        if (option.starts_with("-D") && property != std::string::npos) {
            return option.substr(property + kCommFileProperty.size());
        }
    }
    fault("main", "no instance file: set main.instance-file or pass -D<prefix>.processCommFile=");
}

// Reads the file once its writer has closed it (the writer shares nothing,
// so opening fails until then) and deletes it, as the Java side does.
bool consumeFile(const std::wstring& path, std::string& content) {
    std::string bytes;
    {
        FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        char buffer[4096];
        DWORD count = 0;
        while (::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr) && count > 0) bytes.append(buffer, count);
    }
    ::DeleteFileW(path.c_str());
    content = std::move(bytes);
    return true;
}

void consumeInstanceFiles(const Session& session) {
    const std::string path = communicationFile(session);
    const std::wstring widePath = ansiToWide(path);
    for (uint32_t i = 0; i < session.config.instanceCount; ++i) {
        const ULONGLONG deadline = ::GetTickCount64() + session.config.waitMs;
        std::string content;
        while (!consumeFile(widePath, content)) {
            if (::GetTickCount64() >= deadline) {
                TranscriptLine("main").word("instance-file-timeout").narrow(path).write();
                return;
            }
            waitDispatching(nullptr, kPollMs);
        }
        std::u16string text;
        for (size_t at = 0; at + 1 < content.size(); at += 2) {
            const auto low = static_cast<uint8_t>(content[at]), high = static_cast<uint8_t>(content[at + 1]);
            text += static_cast<char16_t>(low | high << 8);
        }
        TranscriptLine("main").word("instance-file").narrow(path).number(static_cast<long long>(content.size()))
            .wide(text).write();
    }
}

// Fills standard output; a reader that stops draining it blocks this step.
void printBytes(uint32_t count) {
    static const std::string chunk(65536, 'o');
    DWORD written = 0;
    uint32_t left = count;
    while (left > 0 && ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), chunk.data(),
                                   static_cast<DWORD>(std::min<size_t>(left, chunk.size())), &written, nullptr))
        left -= written;
    TranscriptLine("main").word("printed").number(count - left).write();
}

}  // namespace

void runMainSteps(const Session& session) {
    const StandinJvmConfig& config = session.config;
    for (MainStep step : config.mainSteps) {
        switch (step) {
            case MainStep::Sleep:
                TranscriptLine("main").word("sleep").number(config.sleepMs).write();
                waitDispatching(nullptr, config.sleepMs);
                break;
            case MainStep::Exit:
                TranscriptLine("main").word("exit").number(config.exitCode).write();
                ::ExitProcess(config.exitCode);
            case MainStep::Window:
                showWindow(config.windowTitle);
                break;
            case MainStep::StandardInput:
                readStandardInput(config.waitMs);
                break;
            case MainStep::InstanceFile:
                consumeInstanceFiles(session);
                break;
            case MainStep::Priority:
                TranscriptLine("main").word("priority").number(::GetPriorityClass(::GetCurrentProcess())).write();
                break;
            case MainStep::Print:
                printBytes(config.printBytes);
                break;
        }
    }
}

}  // namespace standin
