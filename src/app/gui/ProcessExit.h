// Ending the process the usual way: at once, without tearing the window, the worker, the open
// devices or the store down one by one. What must not outlive the process in the desktop (the
// tray icon, the activation socket file) is taken away first by the steps registered here.
#pragma once

#include <functional>

namespace cursorial {

// Adds a step that EndProcess runs before the process goes, in the order added. Window thread.
void AddLastStep(std::function<void()> step);

// Runs the last steps, flushes the standard streams and ends the process with `code`, skipping
// static destructors and atexit handlers (which would tear down Qt under a live window).
[[noreturn]] void EndProcess(int code);

// Makes SIGTERM and SIGINT end the program with EndProcess(128 + signal number) on the window
// thread, as soon as the application object exists and its thread handles events. Until then,
// and for a second signal while the first is still waiting to be handled (a window thread
// that no longer handles events), the signal ends the process as it would by default. Call it
// once, first thing in main.
void EndOnTerminationSignals();

}  // namespace cursorial
