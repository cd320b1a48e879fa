#include "core/Configuration.h"

#include "core/ConfigKeys.h"
#include "core/ConfigLoader.h"
#include "core/ConfigStore.h"
#include "core/SystemLocale.h"
#include "core/win/ExecutablePath.h"
#include "core/win/OwnExecutable.h"
#include "core/win/Win32ByteSource.h"
#include "log/Log.h"

FileHandle openOwnExecutable() {
    const char* path = executablePath();
    FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) logError("Could not open %s", path);
    return file;
}

LoadedConfiguration loadConfiguration(const std::vector<std::u16string>* arguments) {
    LoadedConfiguration loaded;
    FileHandle file = openOwnExecutable();
    if (!file) {
        loaded.failure = kOwnExecutableUnreadable;
        return loaded;
    }
    Win32ByteSource source(file.get());
    const ConfigurationLoadResult result =
        loadConfigurationFrom(source, [arguments] { return detectSystemLocale(arguments); });
    loaded.failure = result.failure;
    loaded.extractionStart = result.extractionStart;
    if (loaded.failure == nullptr) loaded.kind = configInt(config::kLauncherKind);
    return loaded;
}
