#include "core/PayloadLocator.h"

#include "log/Log.h"

#include <cstdint>

namespace {
constexpr uint32_t kNewHeaderOffsetField = 60;  // e_lfanew in the DOS header
constexpr uint32_t kSectionCountOffset = 6;     // from the "PE\0\0" signature
constexpr uint32_t kOptionalHeaderSizeOffset = 20;
constexpr int32_t kSectionHeaderSize = 40;
}  // namespace

bool seekPayload(PayloadReader& reader) {
    reader.seek(kNewHeaderOffsetField);
    int32_t peOffset;
    if (!reader.readInt(peOffset)) return false;

    reader.seek(static_cast<uint32_t>(peOffset) + kSectionCountOffset);
    int16_t sectionCount;
    if (!reader.readShort(sectionCount)) return false;
    logMessage("number of sections: %d", sectionCount);

    reader.seek(static_cast<uint32_t>(peOffset) + kOptionalHeaderSizeOffset);
    int16_t optionalHeaderSize;
    if (!reader.readShort(optionalHeaderSize)) return false;
    logMessage("size of optional headers: %d", optionalHeaderSize);

    // The section table starts at peOffset + 24 + optionalHeaderSize; the last
    // of its 40-byte entries therefore starts 16 bytes before
    // peOffset + optionalHeaderSize + 40 * sectionCount. 32-bit arithmetic.
    const uint32_t lastHeader = static_cast<uint32_t>(peOffset) +
                                static_cast<uint32_t>(optionalHeaderSize) +
                                static_cast<uint32_t>(kSectionHeaderSize * sectionCount) - 16u;
    logMessage("resSectionTableStart: %d", static_cast<int32_t>(lastHeader));

    reader.seek(lastHeader + 16);
    int32_t rawDataSize;
    if (!reader.readInt(rawDataSize)) return false;
    reader.seek(lastHeader + 20);
    int32_t rawDataOffset;
    if (!reader.readInt(rawDataOffset)) return false;
    logMessage("rawDataSize: %d, rawDataOffset: %d", rawDataSize, rawDataOffset);

    reader.seek(static_cast<uint32_t>(rawDataSize) + static_cast<uint32_t>(rawDataOffset));
    return true;
}
