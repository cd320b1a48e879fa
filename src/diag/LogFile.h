#pragma once

// Makes the launcher's log file the sink of every later log call. The file
// itself is only created when logging is on (see LogControl.h).
void installLogFile();
