#pragma once

// Extracts the embedded files into a fresh temporary directory (`createDir`).
// 0 on success, otherwise the error code of the first failing file.
int extractEmbeddedFiles(bool createDir);
