#include "core/SystemLocale.h"

#include "core/Locale.h"
#include "core/win/Handles.h"
#include "core/win/ModuleFunction.h"

namespace {

// Looked up at run time: the launcher must still start where the function
// does not exist, and then keeps the default locale's LANGID.
std::optional<uint16_t> userInterfaceLangId() {
    const ModuleHandle kernel(LoadLibraryA("Kernel32.DLL"));
    if (!kernel) return std::nullopt;
    using GetLanguageFunction = LANGID(WINAPI*)();
    const auto getLanguage = moduleFunction<GetLanguageFunction>(kernel.get(), "GetUserDefaultUILanguage");
    if (getLanguage == nullptr) return std::nullopt;
    return getLanguage();
}

}  // namespace

std::string detectSystemLocale(const std::vector<std::u16string>* arguments) {
    return detectLocale(arguments, LOWORD(GetUserDefaultLCID()), userInterfaceLangId);
}
