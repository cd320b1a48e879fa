#pragma once

// Attaches the GUI launcher to its parent's console or a new one.
bool attachConsole();

// Reboots the machine (the Java side asked for it with "__btl_reboot").
void rebootSystem();
