// Work handed from a worker thread to the window thread. Widgets live on the window thread;
// a worker that refreshes a page or a control hands the refresh over and waits for it. The
// window thread never waits for the worker, so the hand-over cannot deadlock while both run;
// at shutdown the window thread closes the gate first and every waiting worker is released.
#pragma once

#include <functional>

namespace DUI {

// Runs `work` on the window thread and returns when it has run; on the window thread itself it
// runs at once. True when the work ran; false when it did not and will not: there is no
// application, the gate is closed (ShutdownUiThreadCalls, the application quitting or gone), or
// it closed while the work was still queued. Work that has started always finishes before the
// call returns, so it may use the caller's data.
bool RunOnUiThread(std::function<void()> work);

// Closes the gate: queued work is dropped and its callers return false, later calls return
// false at once. The window thread calls it before waiting for a worker at teardown; it also
// closes when the application quits or is destroyed.
void ShutdownUiThreadCalls();
// Opens the gate again (a new application in the same process, tests).
void ResumeUiThreadCalls();

// True on the window thread (the application's thread).
bool IsUiThread();

}  // namespace DUI
