#pragma once

// The Java runtime's splash screen: shows it (`show`) or closes it when shown.
void splashScreen(bool show);
