#include "dialogs/SaveWaitDlg.h"

#include "app/LanguageTexts.h"
#include "app/TextIds.h"
#include "common/dui/MPicture.h"
#include "common/dui/MProgress.h"
#include "common/dui/Manager.h"

namespace cursorial {

using namespace DUI;

SaveWaitDlg::SaveWaitDlg(const LanguageTexts& texts, DialogTimers& timers)
    : texts_(texts), timers_(timers) {}

bool SaveWaitDlg::CreateFor(MWindow* owner) {
    if (!Create(owner, kWindowTitle, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                WS_EX_TOOLWINDOW, {0, 0, kWidth, kHeight}))
        return false;
    CenterWindow(owner);
    return true;
}

void SaveWaitDlg::Start() {
    if (!IsCreated())
        return;
    RestartProgress();
    timers_.SetTimer(*this, kCloseTimer, kShowMs);
    ShowWindow(SW_SHOWNA);
}

int SaveWaitDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    timers_.SetTimer(*this, kCloseTimer, kShowMs);
    return 1;
}

void SaveWaitDlg::InitUI(const MRect&) {
    if (auto* logo = MControlHost::Create<MPicture>(kLogoId)) {
        logo->SetImage(u"logo.png");
        logo->SetImageMode(kDrawCenter);
    }
    if (auto* text =
            MControlHost::Create<MText>(kTextId, {}, texts_.Text(text_id::kSavingNotice))) {
        text->SetFont(20);
        text->SetTextColor(Manager::m_select_color);
        text->SetAlign(kAlignCenter);
    }
    if (auto* progress = MControlHost::Create<MProgress2>(kProgressId)) {
        progress->SetRange(0, 100);
        progress->Start();
    }
}

void SaveWaitDlg::UISize(const MRect& client) {
    const int w = client.Width();
    if (MControl* logo = GetControl(kLogoId)) {
        const MSize size = logo->GetImageSize();
        logo->SetRect({10, 10, 10 + size.cx, 10 + size.cy});
    }
    if (MControl* text = GetControl(kTextId))
        text->SetRect({10, 100, w - 10, 130});
    if (MControl* progress = GetControl(kProgressId))
        progress->SetRect({10, 130, w - 20, 150});
}

void SaveWaitDlg::OnTimer(UINT timerId) {
    if (timerId != kCloseTimer)
        return;
    timers_.KillTimer(*this, kCloseTimer);
    ShowWindow(SW_HIDE);
}

void SaveWaitDlg::RestartProgress() {
    if (auto* progress = GetControl<MProgress2>(kProgressId)) {
        progress->SetPos(0);
        progress->Start();
    }
}

}  // namespace cursorial
