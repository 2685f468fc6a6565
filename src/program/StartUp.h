// The program's start: the steps from the process entry to the main window's modal run.
#pragma once

namespace cursorial {

// Runs the program. 0 when another instance already runs (it was asked to show itself); 1 when
// the main window's modal run ended. The usual ways out end the process from the main window
// with 0 and never come back here.
int RunCursorial(int argc, char** argv);

}  // namespace cursorial
