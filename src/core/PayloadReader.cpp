#include "core/PayloadReader.h"

#include "core/LittleEndian.h"
#include "log/Log.h"

#include <cstring>

bool PayloadReader::fail(const char* message) {
    if (failure_ == nullptr) failure_ = message;
    return false;
}

bool PayloadReader::readExactly(void* buffer, uint32_t size, uint32_t& delivered) {
    delivered = 0;
    return source_.read(buffer, size, delivered) && delivered == size;
}

bool PayloadReader::readLong(int64_t& value) {
    uint8_t bytes[8];
    uint32_t delivered;
    if (!readExactly(bytes, sizeof bytes, delivered)) {
        logMessage("error %d\n", static_cast<int>(source_.lastError()));
        return fail("Internal Error: readLong");
    }
    value = loadLittleEndian<int64_t>(bytes);
    return true;
}

bool PayloadReader::readInt(int32_t& value) {
    uint8_t bytes[4];
    uint32_t delivered;
    if (!readExactly(bytes, sizeof bytes, delivered)) {
        logMessage("error %d %d\n", static_cast<int>(source_.lastError()),
                   static_cast<int>(delivered));
        return fail("Internal Error: readInt");
    }
    value = loadLittleEndian<int32_t>(bytes);
    return true;
}

bool PayloadReader::readShort(int16_t& value) {
    uint8_t bytes[2];
    uint32_t delivered;
    if (!readExactly(bytes, sizeof bytes, delivered)) {
        logMessage("error %d\n", static_cast<int>(source_.lastError()));
        return fail("Internal Error: readShort");
    }
    value = loadLittleEndian<int16_t>(bytes);
    return true;
}

// Reads a string's byte length. A negative length, or one larger than what is
// left of the file, is refused before anything is allocated: a damaged length
// field must not be able to exhaust memory.
bool PayloadReader::readLength(int32_t& length, const char* failureMessage) {
    if (!readInt(length)) return false;
    const uint64_t position = source_.position();
    const uint64_t left = source_.size() > position ? source_.size() - position : 0;
    if (length < 0 || static_cast<uint64_t>(length) > left) return fail(failureMessage);
    return true;
}

bool PayloadReader::readString(std::string& value) {
    static const char* const kFailure = "Internal Error: readString";
    int32_t length;
    if (!readLength(length, kFailure)) return false;
    std::string text(static_cast<size_t>(length), '\0');
    uint32_t delivered;
    if (!readExactly(text.data(), static_cast<uint32_t>(length), delivered)) return fail(kFailure);
    value = std::move(text);
    return true;
}

bool PayloadReader::readWString(std::u16string& value) {
    static const char* const kFailure = "Internal Error: readWString";
    int32_t length;
    if (!readLength(length, kFailure)) return false;
    // Read straight into the string's units, which are then put in host order.
    // The value ends after length / 2 units; the last byte of an odd length is dropped.
    const size_t byteCount = static_cast<size_t>(length);
    std::u16string text((byteCount + 1) / 2, u'\0');
    uint32_t delivered;
    if (!readExactly(text.data(), static_cast<uint32_t>(length), delivered)) return fail(kFailure);
    text.resize(byteCount / 2);
    for (char16_t& unit : text) {
        uint8_t bytes[2];
        std::memcpy(bytes, &unit, sizeof bytes);
        unit = loadLittleEndian<char16_t>(bytes);
    }
    value = std::move(text);
    return true;
}
