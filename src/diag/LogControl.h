#pragma once

// Switching the diagnostic log on and finding its file.

// The command line asked for a log (one of the log switches).
void requestLog();

// The log file's path, or nullptr while logging is off. The decision is taken
// at the first log call of the process and never revisited.
const char* logFilePath();

// Asks whether to open an Explorer window on the log file (after the log
// switch). `caption` is the product word.
void showLogPrompt(const char* caption);

// Whether a log switch was given.
bool logWasRequested();
