#include "AnsiText.h"

#include "Utf.h"

namespace generator {
namespace {

// Windows-1252 bytes 0x80-0x9F; 0 where the code page leaves the byte unused.
constexpr char16_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int ansiByteFor(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return unit;
    for (int i = 0; i < 32; ++i)
        if (kHighBlock[i] != 0 && kHighBlock[i] == unit) return 0x80 + i;
    return -1;
}

}  // namespace

bool utf8ToAnsi(std::string_view utf8, std::string& ansi, std::string& bad) {
    const std::u16string wide = utf8ToUtf16(utf8);
    std::string result;
    result.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        const int byte = ansiByteFor(wide[i]);
        if (byte < 0) {
            const bool pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size();
            bad = utf16ToUtf8(std::u16string_view(wide).substr(i, pair ? 2 : 1));
            return false;
        }
        result.push_back(static_cast<char>(byte));
    }
    ansi = std::move(result);
    return true;
}

std::string ansiToUtf8(std::string_view ansi) {
    std::u16string wide;
    wide.reserve(ansi.size());
    for (const char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t high = byte >= 0x80 && byte < 0xA0 ? kHighBlock[byte - 0x80] : 0;
        wide.push_back(byte >= 0x80 && byte < 0xA0 ? (high ? high : u'\uFFFD') : byte);
    }
    return utf16ToUtf8(wide);
}

}  // namespace generator
