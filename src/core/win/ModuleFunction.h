#pragma once

#include "core/WinApi.h"

// An export of a loaded module as the function type it has; null when the
// module lacks it. (GetProcAddress answers with one generic type; the detour
// through a plain function pointer tells the compiler the cast is meant.)
template <typename Function>
Function moduleFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
