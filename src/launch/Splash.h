#pragma once

#include <string>

// The Java runtime's splash screen, from the splash library of the runtime at
// `jvmHome`: shows it (`show`) or closes it when shown.
void splashScreen(const std::string& jvmHome, bool show);
