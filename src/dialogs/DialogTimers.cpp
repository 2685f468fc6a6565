#include "dialogs/DialogTimers.h"

namespace cursorial {

namespace {

class OwnTimers final : public DialogTimers {
public:
    void SetTimer(DUI::MWindow& window, DUI::UINT id, int ms) override { window.SetTimer(id, ms); }
    void KillTimer(DUI::MWindow& window, DUI::UINT id) override { window.KillTimer(id); }
};

}  // namespace

DialogTimers& WindowTimers() {
    static OwnTimers timers;
    return timers;
}

}  // namespace cursorial
