#pragma once

// Brings the visible top-level windows of process `processId` to the front,
// restoring minimised ones when `restore`.
void activateProcessWindows(unsigned long processId, bool restore);
