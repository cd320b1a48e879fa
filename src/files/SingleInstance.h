#pragma once

// Single-instance control: with `claim`, this process takes its instance
// number; with `notify`, a second instance hands its arguments to the first
// and ends.
void checkSingleInstance(bool claim, bool notify);
