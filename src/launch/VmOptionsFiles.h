#pragma once

#include "launch/VmOptions.h"

#include <memory>
#include <string>

// The Windows side of options reading: files through the C runtime in text
// mode (CR LF arrives as LF), the launcher's variable expansion and path
// resolution, and the ANSI code page conversions.

// The launcher's own options file: "tool.vmoptions" beside "tool.exe", or else
// "tool.exe.vmoptions"; only the first that opens is used. `source` is null
// when neither does; `path` is the narrow name of the one that opened (empty
// when it has no narrow form), for readDefaultVmOptionsFile.
struct DefaultVmOptionsFile {
    std::unique_ptr<LineSource> source;
    std::string path;
};
DefaultVmOptionsFile openDefaultVmOptionsFile();

// An options file opened for reading in text mode; null when it does not open.
std::unique_ptr<LineSource> openVmOptionsFile(const std::string& path);

// Expansion by expandVariables, resolution by resolvePath, opening by openVmOptionsFile.
const VmOptionsEnvironment& launcherVmOptionsEnvironment();

// CP_ACP to UTF-16 and back.
const TextConverters& ansiTextConverters();
