#pragma once

// Single-instance control: with `claim`, this process takes its instance
// number; with `notify`, a second instance hands its arguments to the first
// and ends.
void checkSingleInstance(bool claim, bool notify);

// The name of the semaphore this process registered under (the numbered
// name, or the single-instance name); null while no check has run.
const char* instanceSemaphoreName();
