// Where a dialog's timers come from. By default they are the window's own (MWindow::SetTimer),
// which fire OnTimer on the window thread; a test hands in a clock of its own and fires OnTimer
// itself when that clock passes a timer's moment, so timing rules are checked without waiting.
#pragma once

#include "common/dui/MWindow.h"

namespace cursorial {

class DialogTimers {
public:
    virtual ~DialogTimers() = default;
    // Starts, or restarts from now, timer `id` of `window`.
    virtual void SetTimer(DUI::MWindow& window, DUI::UINT id, int ms) = 0;
    virtual void KillTimer(DUI::MWindow& window, DUI::UINT id) = 0;
};

// The window's own timers.
DialogTimers& WindowTimers();

}  // namespace cursorial
