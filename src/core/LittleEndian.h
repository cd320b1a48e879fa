#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The payload and the PE images store every integer little-endian. Reading and
// writing them byte by byte keeps the result independent of the byte order and
// alignment of the machine doing it; compilers turn the loops into single
// moves where that is the same thing.

template <typename T>
concept LittleEndianInteger = std::is_integral_v<T> && (sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8);

template <LittleEndianInteger T>
constexpr T loadLittleEndian(const uint8_t* bytes) {
    using Unsigned = std::make_unsigned_t<T>;
    Unsigned value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<Unsigned>(value | static_cast<Unsigned>(bytes[i]) << (8 * i));
    return static_cast<T>(value);
}

template <LittleEndianInteger T>
constexpr void storeLittleEndian(uint8_t* bytes, T value) {
    using Unsigned = std::make_unsigned_t<T>;
    const Unsigned bits = static_cast<Unsigned>(value);
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}
