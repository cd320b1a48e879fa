#pragma once

// The one route to <windows.h>: every Windows file of the launcher includes
// this header instead, so that all of them see the same API surface.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // Windows 7 API level; newer functions are looked up at run time

#include <windows.h>
// Left out by WIN32_LEAN_AND_MEAN; the service launcher and the handle owners need it.
#include <winsvc.h>
