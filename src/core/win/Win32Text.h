#pragma once

#include "core/BufferCapacity.h"
#include "core/WinApi.h"

#include <optional>
#include <string>
#include <string_view>

// The one place where narrow text meets UTF-16 at the Windows edge, and where
// the code page of each kind of text is decided:
// - paths go to the "A" file functions, which read them in the file API code
//   page (ANSI, or OEM after SetFileApisToOEM);
// - every other narrow text (option texts, messages) is in the ANSI code page.

UINT filePathCodePage();

std::u16string pathToUtf16(std::string_view path);
std::u16string ansiToUtf16(std::string_view text);

// False when a character has no representation in the code page; `out` then
// holds the conversion with "?" in its place.
bool utf16ToPath(std::u16string_view wide, std::string& out);
bool utf16ToAnsi(std::u16string_view wide, std::string& out);

inline const wchar_t* asWide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string_view asUtf16(const wchar_t* text) {
    return {reinterpret_cast<const char16_t*>(text), std::char_traits<wchar_t>::length(text)};
}

// The Win32 calls that fill a caller's buffer answer with the length written,
// 0 on failure, or the size they would need when the buffer is too small.
// These run such a call with a buffer of kBufferCapacity characters and
// return the text only when 0 < length < capacity. The buffer work is done
// once, out of line; each call site only adds the small function that makes
// its call.
using NarrowBufferCall = DWORD (*)(const void* call, char* buffer, DWORD capacity);
using WideBufferCall = DWORD (*)(const void* call, wchar_t* buffer, DWORD capacity);
std::optional<std::string> boundedTextOf(NarrowBufferCall run, const void* call);
std::optional<std::u16string> boundedWideTextOf(WideBufferCall run, const void* call);
// The same, with `fallback` in place of no text.
std::string boundedTextOrOf(NarrowBufferCall run, const void* call, std::string_view fallback);
std::u16string boundedWideTextOrOf(WideBufferCall run, const void* call, std::u16string_view fallback);

template <typename Call>
NarrowBufferCall narrowBufferCall() {
    return [](const void* c, char* buffer, DWORD capacity) -> DWORD {
        return (*static_cast<const Call*>(c))(buffer, capacity);
    };
}

template <typename Call>
WideBufferCall wideBufferCall() {
    return [](const void* c, wchar_t* buffer, DWORD capacity) -> DWORD {
        return (*static_cast<const Call*>(c))(buffer, capacity);
    };
}

template <typename Call>
std::optional<std::string> boundedText(const Call& call) {
    return boundedTextOf(narrowBufferCall<Call>(), &call);
}

template <typename Call>
std::optional<std::u16string> boundedWideText(const Call& call) {
    return boundedWideTextOf(wideBufferCall<Call>(), &call);
}

template <typename Call>
std::string boundedTextOr(const Call& call, std::string_view fallback) {
    return boundedTextOrOf(narrowBufferCall<Call>(), &call, fallback);
}

template <typename Call>
std::u16string boundedWideTextOr(const Call& call, std::u16string_view fallback) {
    return boundedWideTextOrOf(wideBufferCall<Call>(), &call, fallback);
}

// An environment variable's value when it is set, not empty and fits the buffer.
std::optional<std::string> environmentValue(const char* name);
// Its whole value, however long; empty when it is not set.
std::string wholeEnvironmentValue(const char* name);
