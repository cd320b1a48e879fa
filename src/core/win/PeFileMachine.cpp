#include "core/win/PeFileMachine.h"

#include "core/PeImage.h"
#include "core/win/Handles.h"
#include "core/win/SystemCalls.h"

#include <span>

FileMachine peFileMachine(const std::string& path) {
    const FileHandle file(systemCalls().createFile(path.c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        // Any other failure (access, sharing) leaves a file that is there.
        const DWORD error = ::GetLastError();
        return {error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND, std::nullopt};
    }
    uint8_t leading[kPeMachineLeadingBytes];
    DWORD read = 0;
    if (!systemCalls().readFile(file.get(), leading, sizeof leading, &read, nullptr)) return {true, std::nullopt};
    return {true, peMachine(std::span<const uint8_t>(leading, read))};
}
