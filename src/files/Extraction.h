#pragma once

#include <cstdint>

// Extracts the embedded files into a fresh temporary directory (`createDir`).
// 0 on success (also when there is nothing to extract), otherwise the error
// code of the first failing file: 1 read failure, 2 write failure.
int extractEmbeddedFiles(bool createDir);

// The payload position just past the last extracted file; 0 before a
// successful extraction.
uint32_t getUnextractedPosition();
