#pragma once

// The class path option, the last JVM option: "-Djava.class.path=" followed by
// the extracted archives, the runtime jar of the brantel flavour, the
// configured entries (key 121) or the text of a "-classpath" directive, and
// the prepend and append directives.

#include "launch/LaunchSystem.h"
#include "launch/VmOptions.h"

#include <cstdint>
#include <optional>
#include <string>

// The option holds at most this many bytes with its terminator. An entry that
// would not fit is left out whole (and logged): the JVM never sees half a path.
inline constexpr size_t kClassPathOptionCapacity = 40960;

struct ClassPathInputs {
    std::string tempDir;  // empty when nothing was extracted
    bool brantel = false;
    const ClassPathDirectives* directives = nullptr;
};

// A required entry that was not found: the message to end the launcher with.
struct MissingClassPathEntry {
    int32_t messageKey;
    std::string detail;
};

struct ClassPathOption {
    std::string option;
    std::optional<MissingClassPathEntry> missing;  // set: `option` is incomplete
};

ClassPathOption buildClassPathOption(const ClassPathInputs& inputs, LaunchSystem& system);
