// A test program with the launcher's own start of extraction: it loads the
// payload appended to itself, extracts the embedded files and reports where
// they went, then ends normally, the way a launcher ends after the Java main
// method returned. It lets scenario tests look at the extracted files.
#include "core/Configuration.h"
#include "diag/LogFile.h"
#include "files/Extraction.h"

#include <cstdio>

int main() {
    installLogFile();
    const LoadedConfiguration loaded = loadConfiguration(nullptr);
    const Extraction extraction = extractEmbeddedFiles(loaded.extractionStart);
    const int result = static_cast<int>(extraction.outcome);
    std::printf("result %d\ntempDir %s\nextractionStart %u\nunextractedPosition %u\n", result,
                extraction.tempDir.c_str(), static_cast<unsigned>(loaded.extractionStart),
                static_cast<unsigned>(extraction.unextractedPosition));
    return result;
}
