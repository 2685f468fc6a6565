#include "dialogs/CUIMessageBox.h"

#include "app/LanguageTexts.h"
#include "app/TextIds.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"

namespace cursorial {

using namespace DUI;

namespace {

constexpr int kFontSize = 16;

}  // namespace

CUIMessageBox::CUIMessageBox(const LanguageTexts& texts, std::u16string message,
                             std::u16string title, int style)
    : texts_(texts), message_(std::move(message)), title_(std::move(title)), style_(style) {}

int CUIMessageBox::Show(MWindow* parent, const LanguageTexts& texts, std::u16string_view message,
                        std::u16string_view title, int style) {
    CUIMessageBox box(texts, std::u16string(message), std::u16string(title), style);
    box.Create(parent, kWindowTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
               WS_EX_TOOLWINDOW | WS_EX_LAYERED, {0, 0, kWidth, kHeight});
    box.CenterWindow();
    const int result = box.ShowModal(SW_SHOWNORMAL);
    box.DestroyWindow();
    return result;
}

int CUIMessageBox::OnInitDialog() {
    SetBkImage(u"bk_prompt.png");
    SetBkMode(kDrawBorders, 30);
    MDialog::OnInitDialog();
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 1;
}

void CUIMessageBox::InitUI(const MRect&) {
    if (auto* title = MControlHost::Create<MText>(kTitleId, {}, title_)) {
        title->SetFont(kFontSize);
        title->SetAlign(kAlignCenter);
    }
    if (auto* message = MControlHost::Create<MText>(kMessageId, {}, message_)) {
        message->SetFont(kFontSize);
        message->SetTextColor(0xFFFFFFFF);
        message->SetAlign(kAlignCenter | kAlignVCenter | kAlignWrap);
    }
    const auto button = [this](int id, int textId) {
        if (auto* b = MControlHost::Create<MButton>(id, {}, texts_.Text(textId))) {
            b->SetImage(u"img_button.png", 4);
            b->SetFont(kFontSize);
            b->SetAlign(kAlignCenter);
        }
    };
    if (style_ == kStyleOneButton) {
        button(kConfirmId, text_id::kMessageOk);
    } else if (style_ == kStyleTwoButtons) {
        button(kConfirmId, text_id::kMessageConfirm);
        button(kCancelId, text_id::kMessageCancel);
    }
}

void CUIMessageBox::UISize(const MRect& client) {
    const int w = client.Width();
    const int h = client.Height();
    const int c = w / 2;
    if (MControl* title = GetControl(kTitleId))
        title->SetRect({20, 15, w - 20, 45});
    if (MControl* message = GetControl(kMessageId))
        message->SetRect({20, 50, w - 20, h - 50});
    MControl* confirm = GetControl(kConfirmId);
    MControl* cancel = GetControl(kCancelId);
    if (style_ == kStyleOneButton && confirm) {
        confirm->SetRect({60, h - 50, w - 60, h - 14});
    } else if (style_ == kStyleTwoButtons && confirm && cancel) {
        confirm->SetRect({c - 120, h - 50, c - 20, h - 14});
        cancel->SetRect({c + 20, h - 50, c + 120, h - 14});
    }
}

int CUIMessageBox::OnMessage(int controlId, int code, WPARAM, LPARAM) {
    if (code != kNotifyClick)
        return 0;
    if (controlId == kConfirmId) {
        EndDialog(IDOK);
        return 1;
    }
    if (controlId == kCancelId) {
        EndDialog(IDCANCEL);
        return 1;
    }
    return 0;
}

}  // namespace cursorial
