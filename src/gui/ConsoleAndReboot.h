#pragma once

// Attaches the GUI launcher to its parent's console or a new one.
bool attachConsole();

// Reboots the machine (the Java side asked for it with "__btl_reboot") after
// waiting `delayMs`, when the shutdown privilege can be enabled.
inline constexpr unsigned long kRebootDelayMs = 5000;
void rebootSystem(unsigned long delayMs = kRebootDelayMs);
