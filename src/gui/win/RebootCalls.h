#pragma once

#include "core/WinApi.h"

// The two calls of a reboot request, swapped by tests so that the machine
// (under Wine: every process of the prefix) keeps running. Only the GUI
// launcher links them.
struct RebootCalls {
    decltype(&::AdjustTokenPrivileges) adjustTokenPrivileges = ::AdjustTokenPrivileges;
    decltype(&::ExitWindowsEx) exitWindows = ::ExitWindowsEx;
};

RebootCalls& rebootCalls();
