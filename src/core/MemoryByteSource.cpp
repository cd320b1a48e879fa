#include "core/MemoryByteSource.h"

#include <algorithm>
#include <cstring>

bool MemoryByteSource::read(void* buffer, uint32_t size, uint32_t& delivered) {
    delivered = 0;
    if (position_ < bytes_.size()) {
        const uint64_t available = bytes_.size() - position_;
        delivered = static_cast<uint32_t>(std::min<uint64_t>(size, available));
        if (delivered > 0) std::memcpy(buffer, bytes_.data() + position_, delivered);
        position_ += delivered;
    }
    // Like ReadFile at the end of a file: the call succeeds with fewer bytes.
    return true;
}
