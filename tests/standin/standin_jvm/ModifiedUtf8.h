#pragma once

// Modified UTF-8, the narrow text of JNI: every UTF-16 unit is encoded on its
// own (a surrogate pair becomes two three-byte sequences) and NUL is C0 80, so
// the bytes never contain a zero.

#include <string>
#include <string_view>

namespace standin {

inline std::string toModifiedUtf8(std::u16string_view units) {
    std::string bytes;
    for (char16_t unit : units) {
        if (unit != 0 && unit < 0x80) {
            bytes += static_cast<char>(unit);
        } else if (unit < 0x800) {
            bytes += static_cast<char>(0xC0 | (unit >> 6));
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            bytes += static_cast<char>(0xE0 | (unit >> 12));
            bytes += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return bytes;
}

// A byte that starts no valid sequence, or a sequence cut short by the end,
// becomes U+FFFD.
inline std::u16string fromModifiedUtf8(std::string_view bytes) {
    std::u16string units;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
        bool valid = length != 0 && i + length <= bytes.size();
        for (size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        if (!valid) {
            units += u'\uFFFD';
            ++i;
            continue;
        }
        auto unit = static_cast<char16_t>(length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F));
        for (size_t k = 1; k < length; ++k) unit = static_cast<char16_t>((unit << 6) | (bytes[i + k] & 0x3F));
        units += unit;
        i += length;
    }
    return units;
}

}  // namespace standin
