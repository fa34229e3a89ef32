#pragma once

namespace q30x {

// SIGTERM, SIGINT and SIGHUP (the end of a terminal or desktop session) are
// turned into a readable descriptor, so the window's thread ends the program
// in its usual order instead of the process dying mid-save. -1 when the
// signals cannot be caught.
int watchTerminationSignals();

// Empties the descriptor; true when a signal had arrived.
bool takeTerminationSignal();

}  // namespace q30x
