#include "files/Extraction.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/Configuration.h"
#include "core/LauncherState.h"
#include "core/PathText.h"
#include "core/PayloadReader.h"
#include "core/win/OwnExecutable.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32ByteSink.h"
#include "core/win/Win32ByteSource.h"
#include "diag/ErrorReport.h"
#include "log/Log.h"
#include "files/EmbeddedNames.h"
#include "files/StreamCopy.h"
#include "files/TempDirectory.h"

#include <string>
#include <vector>

namespace {

uint32_t unextractedPosition = 0;

int extractFile(HANDLE payloadFile, const std::string& path) {
    Win32ByteSource source(payloadFile);
    PayloadReader reader(source);
    int64_t size = 0;
    if (!reader.readLong(size)) fatalError(reader.failure());
    logMessage("extracting %s (size: %I64d)", path.c_str(), size);
    if (size <= 0) return 0;
    FileHandle file(systemCalls().createFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) fatalConfiguredError(config::kMessageInternalError, "11");
    Win32ByteSink target(file.get());
    return copyStream(source, target, size, true);
}

// Names that would land outside the temporary directory, or on a device, are
// refused before anything is written.
void refuseEscapingNames(const std::vector<std::string>& names, int count) {
    for (int i = 0; i < count && i < static_cast<int>(names.size()); ++i) {
        if (isContainedName(names[i])) continue;
        logError("refusing to extract %s: the name leaves the temporary directory or names a device",
                 names[i].c_str());
        fatalConfiguredError(config::kMessageInternalError, "11");
    }
}

}  // namespace

int extractEmbeddedFiles(bool createDir) {
    logMessage("extracting files");
    const int count = configInt(config::kEmbeddedFileCount);
    logMessage("Included files: %d", count);
    if (count <= 0) {
        if (createDir) setTempDir({});
        return 0;
    }
    char namesText[kBufferCapacity];
    configString(config::kEmbeddedFileNames, namesText, sizeof namesText);
    const std::vector<std::string> names = splitPathList(namesText);
    refuseEscapingNames(names, count);
    if (createDir) createTempDir();

    FileHandle payloadFile = openOwnExecutable();
    ::SetFilePointer(payloadFile.get(), static_cast<LONG>(extractionStart()), nullptr, FILE_BEGIN);
    for (int i = 0; i < count && i < static_cast<int>(names.size()); ++i) {
        const std::string& name = names[i];
        const std::string path = tempDir() + "\\" + name;
        const size_t backslash = name.find('\\');
        if (backslash != std::string::npos) {
            const std::string directory = tempDir() + "\\" + name.substr(0, backslash);
            logMessage("creating directory %s", directory.c_str());
            if (!systemCalls().createDirectory(directory.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
                logError("failed to create directory %s", directory.c_str());
        }
        const int result = extractFile(payloadFile.get(), path);
        if (result != 0) {
            logError("Failed to extract %s", path.c_str());
            return result;
        }
    }
    unextractedPosition = ::SetFilePointer(payloadFile.get(), 0, nullptr, FILE_CURRENT);
    logMessage("extracting files done");
    return 0;
}

uint32_t getUnextractedPosition() { return unextractedPosition; }
