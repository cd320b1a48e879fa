// A test program with the launcher's own start of extraction: it loads the
// payload appended to itself, extracts the embedded files and reports where
// they went, then ends normally, the way a launcher ends after the Java main
// method returned. It lets scenario tests look at the extracted files.
#include "core/Configuration.h"
#include "core/LauncherState.h"
#include "diag/LogFile.h"
#include "files/Extraction.h"

#include <cstdio>

int main() {
    installLogFile();
    loadConfiguration(nullptr);
    const int result = extractEmbeddedFiles(true);
    std::printf("result %d\ntempDir %s\nextractionStart %u\nunextractedPosition %u\n", result, tempDir().c_str(),
                static_cast<unsigned>(extractionStart()), static_cast<unsigned>(getUnextractedPosition()));
    return result;
}
