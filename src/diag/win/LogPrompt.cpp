#include "diag/LogControl.h"

#include "core/BufferCapacity.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"
#include "core/win/SystemFailure.h"
#include "log/Log.h"

#include <cstdio>
#include <string>

void showLogPrompt(const char* caption) {
    const char* path = logFilePath();
    if (path == nullptr) path = "";
    char text[kBufferCapacity];
    std::snprintf(text, sizeof text,
                  "The following log file will be created:\n\n%s\n\nDo you want to open an Explorer window?", path);
    if (::MessageBoxA(nullptr, text, caption, MB_YESNO) != IDYES) return;

    char shortPath[260] = "";
    char windowsDirectory[260] = "";
    ::GetShortPathNameA(path, shortPath, sizeof shortPath);
    ::GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    char command[kBufferCapacity];
    std::snprintf(command, sizeof command, "%s\\explorer.exe /select,%s", windowsDirectory, shortPath);
    logMessage("calling %s", command);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!systemCalls().createProcess(nullptr, command, nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                                     nullptr, &startup, &process)) {
        logSystemFailure("could not open explorer window %d");
        return;
    }
    // Explorer runs on by itself; the launcher does not wait for it.
    const ProcessHandles explorer(process);
}
