#pragma once

#include "core/ByteSink.h"
#include "core/ByteSource.h"

#include <cstdint>

// Copies `count` bytes from `source` to `target` in chunks of at most 8192
// bytes, XOR-ing each byte with the payload mask when `unscramble` is set.
// 0 on success, 1 when the source ended or failed early, 2 when a write failed
// or the target stopped taking bytes. Everything read before a failure has
// been written.
int copyStream(ByteSource& source, ByteSink& target, int64_t count, bool unscramble);
