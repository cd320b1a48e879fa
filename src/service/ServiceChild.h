#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the service process decides for the child that runs Java: its command
// line and its priority class.

// The child's command line lives in a buffer of this many characters, the
// terminator included.
inline constexpr size_t kChildCommandLineCapacity = 16384;
// A service start argument is taken in up to this many characters (the rest is cut).
inline constexpr size_t kStartArgumentCapacity = 8192 - 1;

// The program word (the first of the service process's own words), the
// service name, the service process's further words, the start arguments
// (each cut to kStartArgumentCapacity) and "__btl_restart", separated by
// blanks; every piece but the marker is put in double quotes when it holds a
// blank. The child splits it back with splitCommandLine, so its arguments
// begin with the service name. False, and `out` untouched, when the line would
// not fit its buffer: a cut line would lose the marker and start the wrong role.
bool composeChildCommandLine(const std::vector<std::u16string>& ownWords, std::u16string_view serviceName,
                             const std::vector<std::u16string>& startArguments, std::u16string& out);

inline constexpr uint32_t kNormalPriorityClass = 0x20;

// Whether a configured priority is one of the six priority classes. Only those
// are taken: the value becomes creation flags, and any other flag (suspended,
// new console, ...) would change how the child runs or hang the service.
bool isPriorityClass(uint32_t value);
