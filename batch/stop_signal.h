// Ctrl+C (and a hang-up or a polite kill) during a folder command: the
// signal only raises a flag; the workers finish no file they are on, they
// drop its temporary file and leave it as it was, and the run ends with
// what it did so far.
#pragma once

#include <atomic>

namespace lirvane {

// Set once a stopping signal has come.
const std::atomic<bool>& StopRequested();

// Turns the signals into the flag (and, on POSIX, makes a closed standard
// output an error on writing rather than a signal that kills the run
// between two files' steps).
void CatchStopSignals();

// The signal that stopped the run, 0 when none did.
int StopSignal();

}  // namespace lirvane
