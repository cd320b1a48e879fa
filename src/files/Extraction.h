#pragma once

#include <cstdint>
#include <string>

// Extracts the embedded files into a fresh temporary directory.

enum class ExtractionOutcome {
    Done,             // also when there is nothing to extract
    ReadFailed,       // the payload ended or failed inside a file
    WriteFailed,      // a file could not be written to its end
    NameRefused,      // a name would leave the temporary directory or names a device
    CreateFailed,     // a file could not be created
    NoTempDirectory,  // no temporary directory could be made
    PayloadDamaged,   // a file's size could not be read (`failure` says how)
    Unreadable,       // the launcher's own executable did not open
};

struct Extraction {
    ExtractionOutcome outcome = ExtractionOutcome::Done;
    std::string tempDir;               // empty when nothing was extracted
    uint32_t unextractedPosition = 0;  // the payload position just past the last file
    const char* failure = nullptr;     // the text for PayloadDamaged
};

// `extractionStart` is the payload position of the first embedded file.
Extraction extractEmbeddedFiles(uint32_t extractionStart);
