#pragma once

#include <cstddef>
#include <cstdint>

// Applies the embedded-file mask (XOR with a fixed byte) to `size` bytes in
// place; applying it twice gives the original bytes back. Works a machine word
// at a time: the byte loop alone was the slowest part of extracting a file.
void applyEmbeddedFileMask(uint8_t* bytes, size_t size);
