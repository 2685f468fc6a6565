// The saving notice: shown for two seconds after a setting has been handed to the worker, with
// an endless progress bar. One per main window, created on first use, hidden between uses.
#pragma once

#include "common/dui/MWindow.h"
#include "dialogs/DialogTimers.h"

namespace cursorial {

class LanguageTexts;

class SaveWaitDlg : public DUI::MDialog {
public:
    static constexpr const char16_t* kWindowTitle = u"SaveWaitDlg";
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 200;
    static constexpr DUI::UINT kCloseTimer = 200;
    static constexpr int kShowMs = 2000;

    static constexpr int kLogoId = 31;
    static constexpr int kTextId = 32;
    static constexpr int kProgressId = 33;

    explicit SaveWaitDlg(const LanguageTexts& texts, DialogTimers& timers = WindowTimers());

    // Creates the notice owned by `owner`, centred on it, shown.
    bool CreateFor(DUI::MWindow* owner);

    // Shows the notice (again) for kShowMs from now: the progress bar starts over, the close
    // timer is set anew and the window is shown. A call while it is visible extends it.
    void Start();

    int OnInitDialog() override;
    void InitUI(const DUI::MRect& client) override;
    void UISize(const DUI::MRect& client) override;
    void OnTimer(DUI::UINT timerId) override;

private:
    // The endless run of the progress bar from its start.
    void RestartProgress();

    const LanguageTexts& texts_;
    DialogTimers& timers_;
};

}  // namespace cursorial
