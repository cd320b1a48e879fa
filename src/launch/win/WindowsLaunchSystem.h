#pragma once

#include "launch/LaunchSystem.h"

// The launcher's answers: FindFirstFileA listings, the path utilities,
// expandVariables and GetEnvironmentVariableA.
LaunchSystem& windowsLaunchSystem();
