#include "core/Configuration.h"

#include "core/ConfigKeys.h"
#include "core/ConfigLoader.h"
#include "core/ConfigStore.h"
#include "core/SystemLocale.h"
#include "core/win/ExecutablePath.h"
#include "core/win/OwnExecutable.h"
#include "core/win/Win32ByteSource.h"
#include "diag/ErrorReport.h"
#include "log/Log.h"

namespace {
uint32_t payloadFilesStart = 0;
int kind = 0;
}  // namespace

FileHandle openOwnExecutable() {
    const char* path = executablePath();
    FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        logError("Could not open %s", path);
        fatalError("Error opening media file. Please move this file to an ascii-only path like c:\\");
    }
    return file;
}

int loadConfiguration(const std::vector<std::u16string>* arguments) {
    {
        FileHandle file = openOwnExecutable();
        Win32ByteSource source(file.get());
        const ConfigurationLoadResult result =
            loadConfigurationFrom(source, [arguments] { return detectSystemLocale(arguments); });
        if (result.failure != nullptr) fatalError(result.failure);
        payloadFilesStart = result.extractionStart;
    }
    kind = configInt(config::kLauncherKind);
    if (kind != 1 && kind != 5) setQuiet();
    return kind;
}

uint32_t extractionStart() { return payloadFilesStart; }

int launcherKind() { return kind; }
