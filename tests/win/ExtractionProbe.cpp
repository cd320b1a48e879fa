// A test program with the launcher's own start of extraction: it loads the
// payload appended to itself, extracts the embedded files and reports where
// they went, then ends without removing them, so that scenario tests can look
// at the extracted files. It first takes the owner's mark off the directory's
// reservation: a launcher starting meanwhile would otherwise sweep the
// directory of a process that has ended.
#include "core/Configuration.h"
#include "core/win/Handles.h"
#include "diag/LogFile.h"
#include "files/Extraction.h"
#include "files/TempNames.h"

#include <cstdio>

namespace {

void unmarkReservation(const std::string& tempDir) {
    const std::string reservation = reservationFileOf(tempDir);
    const FileHandle file(::CreateFileA(reservation.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) ::SetEndOfFile(file.get());
}

}  // namespace

int main() {
    installLogFile();
    const LoadedConfiguration loaded = loadConfiguration(nullptr);
    const Extraction extraction = extractEmbeddedFiles(loaded.extractionStart);
    const int result = static_cast<int>(extraction.outcome);
    if (!extraction.tempDir.empty()) unmarkReservation(extraction.tempDir);
    std::printf("result %d\ntempDir %s\nextractionStart %u\nunextractedPosition %u\n", result,
                extraction.tempDir.c_str(), static_cast<unsigned>(loaded.extractionStart),
                static_cast<unsigned>(extraction.unextractedPosition));
    return result;
}
