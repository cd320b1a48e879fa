#include "launch/NativeLibraryPath.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/WinApi.h"
#include "core/win/Win32Text.h"
#include "core/win/SystemFailure.h"
#include "log/Log.h"
#include "files/PathUtilities.h"
#include "text/VariableExpansion.h"

#include <cstdlib>
#include <string>

void setNativeLibraryPath() {
    char configured[kBufferCapacity];
    configString(config::kNativeLibraryDirectories, configured, sizeof configured);
    logMessage("native lib dir is %s", configured);
    std::string directories = configured;
    expandVariables(directories);

    std::string path = resolvePathList(directories);
    if (!path.empty() && path.back() != ';') path += ';';
    // PATH as it is, however long: cutting it would lose directories the
    // application and the runtime need.
    path += wholeEnvironmentValue("PATH");
    if (::SetEnvironmentVariableA("PATH", path.c_str())) {
        logMessage("Setting PATH (native libs) %s", path.c_str());
    } else {
        logSystemFailure("Setting PATH (native libs) %s failed with error %d", path.c_str());
    }
    // The C runtime keeps its own copy of the environment: make it agree.
    ::_putenv(("PATH=" + path).c_str());
}
