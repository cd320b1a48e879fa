#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The configuration store: narrow and wide values by integer key, filled once
// while the payload is loaded and only read afterwards. Values are C strings
// in effect: a zero byte inside a stored value ends what the accessors return.

// A later value of a key replaces the earlier one.
void storeNarrowValue(int32_t key, std::string value);
void storeWideValue(int32_t key, std::u16string value);

// Empties the store; for tests, which load several payloads in one process.
void clearConfigStore();

// Copies the value into `buffer`, cut to `capacity` - 1 characters plus the
// terminator; an absent key reads as "". Nothing is written for capacity 0.
void configString(int32_t key, char* buffer, size_t capacity);
void configWideString(int32_t key, char16_t* buffer, size_t capacity);

// The value read like strtol with base 10: leading white space, optional
// sign, digits up to the first other character; no digits, an empty or an
// absent value read as 0; values beyond the 32-bit range saturate.
int32_t configInt(int32_t key);
int32_t parseConfigInt(std::string_view text);

// True when the key has a narrow value (even an empty one).
bool hasConfigString(int32_t key);
