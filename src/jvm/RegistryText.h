#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Registry value types that hold text (the numbers Windows gives them).
inline constexpr uint32_t kRegistryText = 1;          // REG_SZ
inline constexpr uint32_t kRegistryExpandableText = 2;  // REG_EXPAND_SZ

// The text of a registry value as a query handed it over: its type and
// exactly the bytes the query reported. Writers may or may not store the
// terminator (the version cache does not), so the text ends at the first zero
// byte or at the end of the data, whichever comes first; nothing beyond the
// reported length is ever looked at. Nothing for a value that is not text
// (binary data, numbers, lists) or whose text would not fit a buffer of
// `capacity` bytes together with its terminator. Expandable text is taken as
// it is stored, without expanding it.
std::optional<std::string> registryValueText(uint32_t type, std::string_view data, size_t capacity);
