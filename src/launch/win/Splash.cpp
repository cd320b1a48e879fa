// The chosen runtime's splash library shows the image the launcher carries as
// its resource RT_RCDATA 10000. The library is loaded once and never freed.
#include "launch/Splash.h"

#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/WinApi.h"
#include "diag/ExitActions.h"
#include "log/Log.h"
#include "core/win/ModuleFunction.h"

#include <string>

namespace {

constexpr int kSplashImageId = 10000;

using SplashInitFunction = void (*)();
using SplashLoadMemoryFunction = int (*)(void* data, int size);
using SplashCloseFunction = void (*)();

// Set once the splash is shown: closing it is an exit action, which takes no context.
SplashCloseFunction shownSplashClose = nullptr;

bool splashEnabled() { return configInt(config::kSplashScreenEnabled) != 0; }

void closeSplash() {
    if (splashEnabled() && shownSplashClose != nullptr) shownSplashClose();
}

void showSplash(const std::string& jvmHome) {
    if (shownSplashClose != nullptr) return;
    const std::string library = jvmHome + "\\bin\\splashscreen.dll";
    logMessage("loading splashscreen dll from %s", library.c_str());
    const HMODULE splash = ::LoadLibraryA(library.c_str());
    if (splash == nullptr) {
        logError("Could not load splashscreen.dll");
        return;
    }
    const auto close = moduleFunction<SplashCloseFunction>(splash, "SplashClose");
    const auto init = moduleFunction<SplashInitFunction>(splash, "SplashInit");
    const auto loadMemory = moduleFunction<SplashLoadMemoryFunction>(splash, "SplashLoadMemory");
    if (close == nullptr || init == nullptr || loadMemory == nullptr) {
        logError("Could not find functions in splashscreen.dll");
        return;
    }
    init();
    // Without the resource the library is handed nothing: a null pointer and 0.
    const HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(kSplashImageId), MAKEINTRESOURCEA(10));
    const HGLOBAL loaded = resource ? ::LoadResource(nullptr, resource) : nullptr;
    void* const data = loaded ? ::LockResource(loaded) : nullptr;
    const int size = resource ? static_cast<int>(::SizeofResource(nullptr, resource)) : 0;
    const int result = loadMemory(data, size);
    logMessage("splash load memory returned %d (%p, %p, %d)", result, static_cast<void*>(resource), data, size);
    shownSplashClose = close;
    // An error message must not hide behind the splash.
    addBeforeErrorAction(closeSplash);
}

}  // namespace

void splashScreen(const std::string& jvmHome, bool show) {
    if (!splashEnabled()) return;
    if (show) {
        showSplash(jvmHome);
    } else {
        closeSplash();
    }
}
