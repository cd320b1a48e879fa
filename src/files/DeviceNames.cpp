#include "files/DeviceNames.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 7> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
// Followed by one digit.
constexpr std::array<std::string_view, 2> kNumberedDevices = {"COM", "LPT"};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsUpper(std::string_view text, std::string_view upperCase) {
    if (text.size() != upperCase.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (upper(text[i]) != upperCase[i]) return false;
    return true;
}

// Superscript one, two and three count too: in the Western code page and,
// refused all the same, in UTF-8.
bool isDeviceNumber(std::string_view digit) {
    if (digit.size() == 1)
        return (digit[0] >= '0' && digit[0] <= '9') || digit[0] == '\xB9' || digit[0] == '\xB2' || digit[0] == '\xB3';
    return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

}  // namespace

bool isDeviceName(std::string_view component) {
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (std::string_view device : kDevices)
        if (equalsUpper(base, device)) return true;
    for (std::string_view device : kNumberedDevices) {
        if (base.size() > device.size() && equalsUpper(base.substr(0, device.size()), device) &&
            isDeviceNumber(base.substr(device.size())))
            return true;
    }
    return false;
}
