// Included first into every C++ file of the templates.
//
// <stdio.h> comes before any C++ library header: libstdc++ switches MinGW's
// larger printf replacement on for every C++ file, and the switch is still
// off here, so the C runtime's own formatter stays (the one the log's "%S",
// "%I64d" and "%p" forms were written for).
#include <stdio.h>

// The C++ library hands a message text to each of its error routines; the
// launcher's own routines (src/programs/NoThrowRuntime.cpp) never show them.
// Empty texts keep dozens of copies of them out of the templates: a PE
// linker merges no string constants across object files.
#include <bits/c++config.h>
#undef __N
#define __N(msgid) ""

// Tied to the C++ library of one compiler: libstdc++ 12, as Debian 12's
// MinGW-w64 cross compilers (12-posix) ship it. Everything here, and the
// definitions in src/programs/NoThrowRuntime.cpp, leans on that library's
// insides, none of which it promises to keep:
//  - __N is the macro through which its headers hand message texts to the
//    __throw_* routines, defined in <bits/c++config.h> (to `(msgid)` while
//    _GLIBCXX_USE_NLS is off); the include guard keeps this definition in
//    force for every later header. Should a version name it otherwise, the
//    texts come back: nothing fails to build, the templates only grow (the
//    template tests' 128 KiB limit may notice).
//  - The __throw_* set (<bits/functexcept.h>) and their signatures, which
//    NoThrowRuntime.cpp defines in part. One that a new version adds or
//    changes and the launcher uses links the library's own member, with its
//    exception machinery, or fails with "multiple definition" of the ones
//    defined here. Compare that header and the list in NoThrowRuntime.cpp.
//  - <bits/os_defines.h> switching __USE_MINGW_ANSI_STDIO on for MinGW,
//    which the order above (and -D__USE_MINGW_ANSI_STDIO=0) counts on. If
//    the larger printf slips back in, the templates grow and the printf
//    family's "%S", "%I64d" and "%p" may print otherwise; no import shows it.
// After a compiler upgrade: build, run the template tests (size, imports) and
// a scenario with the log on.
