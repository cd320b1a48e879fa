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
