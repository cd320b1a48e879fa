#include "core/win/Win32Text.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W functions take UTF-16");

int boundedLength(size_t length) { return static_cast<int>(std::min<size_t>(length, INT_MAX)); }

std::u16string toUtf16(std::string_view narrow, UINT codePage) {
    const int narrowLength = boundedLength(narrow.size());
    if (narrowLength == 0) return {};
    const int length = ::MultiByteToWideChar(codePage, 0, narrow.data(), narrowLength, nullptr, 0);
    if (length <= 0) return {};
    std::u16string wide(static_cast<size_t>(length), u'\0');
    const int written = ::MultiByteToWideChar(codePage, 0, narrow.data(), narrowLength,
                                              reinterpret_cast<wchar_t*>(wide.data()), length);
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}

bool fromUtf16(std::u16string_view wide, UINT codePage, std::string& out) {
    out.clear();
    const int wideLength = boundedLength(wide.size());
    if (wideLength == 0) return true;
    const wchar_t* source = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = ::WideCharToMultiByte(codePage, 0, source, wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return false;
    out.resize(static_cast<size_t>(length));
    BOOL usedDefault = FALSE;
    // UTF-8 and the other code pages without a default character refuse the
    // last two arguments; the launcher's code pages all have one.
    const int written =
        ::WideCharToMultiByte(codePage, 0, source, wideLength, out.data(), length, "?", &usedDefault);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return written > 0 && usedDefault == FALSE;
}

}  // namespace

UINT filePathCodePage() { return ::AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

std::u16string pathToUtf16(std::string_view path) { return toUtf16(path, filePathCodePage()); }
std::u16string ansiToUtf16(std::string_view text) { return toUtf16(text, CP_ACP); }

bool utf16ToPath(std::u16string_view wide, std::string& out) { return fromUtf16(wide, filePathCodePage(), out); }
bool utf16ToAnsi(std::u16string_view wide, std::string& out) { return fromUtf16(wide, CP_ACP, out); }

std::optional<std::string> boundedTextOf(NarrowBufferCall run, const void* call) {
    char buffer[kBufferCapacity];
    const DWORD length = run(call, buffer, static_cast<DWORD>(kBufferCapacity));
    if (length == 0 || length >= kBufferCapacity) return std::nullopt;
    return std::string(buffer, length);
}

std::optional<std::u16string> boundedWideTextOf(WideBufferCall run, const void* call) {
    wchar_t buffer[kBufferCapacity];
    const DWORD length = run(call, buffer, static_cast<DWORD>(kBufferCapacity));
    if (length == 0 || length >= kBufferCapacity) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

std::string boundedTextOrOf(NarrowBufferCall run, const void* call, std::string_view fallback) {
    std::optional<std::string> text = boundedTextOf(run, call);
    return text ? std::move(*text) : std::string(fallback);
}

std::u16string boundedWideTextOrOf(WideBufferCall run, const void* call, std::u16string_view fallback) {
    std::optional<std::u16string> text = boundedWideTextOf(run, call);
    return text ? std::move(*text) : std::u16string(fallback);
}

std::optional<std::string> environmentValue(const char* name) {
    return boundedText([name](char* buffer, DWORD capacity) { return ::GetEnvironmentVariableA(name, buffer, capacity); });
}

std::string wholeEnvironmentValue(const char* name) {
    const DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return {};
    std::string value(size, '\0');
    const DWORD length = ::GetEnvironmentVariableA(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}
