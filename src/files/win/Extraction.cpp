#include "files/Extraction.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/LauncherState.h"
#include "core/PathText.h"
#include "core/PayloadReader.h"
#include "core/win/OwnExecutable.h"
#include "core/win/SystemCalls.h"
#include "core/win/Win32ByteSink.h"
#include "core/win/Win32ByteSource.h"
#include "files/EmbeddedNames.h"
#include "files/StreamCopy.h"
#include "files/TempDirectory.h"
#include "log/Log.h"

#include <string>
#include <vector>

namespace {

ExtractionOutcome copyOutcome(int copyResult) {
    switch (copyResult) {
        case 0: return ExtractionOutcome::Done;
        case 1: return ExtractionOutcome::ReadFailed;
        default: return ExtractionOutcome::WriteFailed;
    }
}

ExtractionOutcome extractFile(HANDLE payloadFile, const std::string& path, const char*& failure) {
    Win32ByteSource source(payloadFile);
    PayloadReader reader(source);
    int64_t size = 0;
    if (!reader.readLong(size)) {
        failure = reader.failure();
        return ExtractionOutcome::PayloadDamaged;
    }
    logMessage("extracting %s (size: %I64d)", path.c_str(), size);
    if (size <= 0) return ExtractionOutcome::Done;
    FileHandle file(systemCalls().createFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ExtractionOutcome::CreateFailed;
    Win32ByteSink target(file.get());
    return copyOutcome(copyStream(source, target, size, true));
}

// Names that would land outside the temporary directory, or on a device, are
// refused before anything is written.
bool namesStayInside(const std::vector<std::string>& names, int count) {
    for (int i = 0; i < count && i < static_cast<int>(names.size()); ++i) {
        if (isContainedName(names[i])) continue;
        logError("refusing to extract %s: the name leaves the temporary directory or names a device",
                 names[i].c_str());
        return false;
    }
    return true;
}

void createParentDirectory(const std::string& tempDir, const std::string& name) {
    const size_t backslash = name.find('\\');
    if (backslash == std::string::npos) return;
    const std::string directory = tempDir + "\\" + name.substr(0, backslash);
    logMessage("creating directory %s", directory.c_str());
    if (!systemCalls().createDirectory(directory.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        logError("failed to create directory %s", directory.c_str());
}

}  // namespace

Extraction extractEmbeddedFiles(uint32_t extractionStart) {
    Extraction extraction;
    logMessage("extracting files");
    const int count = configInt(config::kEmbeddedFileCount);
    logMessage("Included files: %d", count);
    if (count <= 0) {
        setTempDir({});
        return extraction;
    }
    char namesText[kBufferCapacity];
    configString(config::kEmbeddedFileNames, namesText, sizeof namesText);
    const std::vector<std::string> names = splitPathList(namesText);
    if (!namesStayInside(names, count)) {
        extraction.outcome = ExtractionOutcome::NameRefused;
        return extraction;
    }
    if (!createTempDir()) {
        extraction.outcome = ExtractionOutcome::NoTempDirectory;
        return extraction;
    }
    extraction.tempDir = tempDir();

    FileHandle payloadFile = openOwnExecutable();
    if (!payloadFile) {
        extraction.outcome = ExtractionOutcome::Unreadable;
        return extraction;
    }
    ::SetFilePointer(payloadFile.get(), static_cast<LONG>(extractionStart), nullptr, FILE_BEGIN);
    for (int i = 0; i < count && i < static_cast<int>(names.size()); ++i) {
        const std::string path = extraction.tempDir + "\\" + names[i];
        createParentDirectory(extraction.tempDir, names[i]);
        extraction.outcome = extractFile(payloadFile.get(), path, extraction.failure);
        if (extraction.outcome == ExtractionOutcome::ReadFailed || extraction.outcome == ExtractionOutcome::WriteFailed)
            logError("Failed to extract %s", path.c_str());
        if (extraction.outcome != ExtractionOutcome::Done) return extraction;
    }
    extraction.unextractedPosition = ::SetFilePointer(payloadFile.get(), 0, nullptr, FILE_CURRENT);
    logMessage("extracting files done");
    return extraction;
}
