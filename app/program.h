#pragma once

namespace q30x {

// The program's start: one copy per user, the folders, the catalogue, the
// device link, then the main window's run. Returns the exit status.
int runProgram(int argc, char** argv);

}  // namespace q30x
