#include "dialogs/AboutDlg.h"

#include "app/LanguageTexts.h"
#include "app/TextIds.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/text/WideText.h"

namespace cursorial {

using namespace DUI;

namespace {

constexpr ARGB kGrey = 0xFF969696;

}  // namespace

ReleaseParts SplitRelease(unsigned release) {
    const std::u16string hex = FromUtf8(Format("%x", release));
    return {hex.substr(0, 1), hex.size() >= 2 ? hex.substr(hex.size() - 2) : hex};
}

std::u16string FirmwareLine(const LanguageTexts& texts, unsigned release) {
    const ReleaseParts parts = SplitRelease(release);
    return FormatW("%s: v%s.%s", ToUtf8(texts.Text(text_id::kAboutFirmware)).c_str(),
                   ToUtf8(parts.major).c_str(), ToUtf8(parts.minor).c_str());
}

AboutDlg::AboutDlg(const LanguageTexts& texts, std::function<unsigned()> release)
    : texts_(texts), release_(std::move(release)) {}

int AboutDlg::Show(MWindow* parent, const LanguageTexts& texts, std::function<unsigned()> release) {
    AboutDlg dialog(texts, std::move(release));
    dialog.Create(parent, kWindowTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                  {0, 0, kWidth, kHeight});
    dialog.CenterWindow();
    const int result = dialog.ShowModal(SW_SHOW);
    dialog.DestroyWindow();
    return result;
}

int AboutDlg::OnInitDialog() {
    SetBkColor(0x1A1A1A, 0x969696);
    return MDialog::OnInitDialog();
}

void AboutDlg::InitUI(const MRect&) {
    if (auto* close = MControlHost::Create<CImageButton>(kCloseId)) {
        close->SetImage(u"sysbtn_close.png", 4);
        close->SetTooltip(texts_.Text(text_id::kClose));
    }
    if (auto* logo = MControlHost::Create<MPicture>(kLogoId))
        logo->SetImage(u"logo.png");
    const std::u16string line = FirmwareLine(texts_, release_ ? release_() : 0);
    for (int id : {kFirmwareLineId, kFirmwareLine2Id}) {
        if (auto* text = MControlHost::Create<MText>(id, {}, line)) {
            text->SetTextColor(kGrey);
            text->SetAlign(kAlignCenter);
        }
    }
    if (auto* notice =
            MControlHost::Create<MText>(kNoticeId, {}, texts_.Text(text_id::kAboutFooter))) {
        notice->SetTextColor(kGrey);
        notice->SetAlign(kAlignCenter);
    }
}

void AboutDlg::UISize(const MRect& client) {
    const int w = client.Width();
    const int h = client.Height();
    const int c = w / 2;
    const auto place = [this](int id, const MRect& r) {
        if (MControl* control = GetControl(id))
            control->SetRect(r);
    };
    place(kCloseId, {w - 40, 15, w - 21, 34});
    place(kLogoId, {c - 130, 80, c + 130, 120});
    place(kFirmwareLineId, {c - 100, 150, c + 100, 185});
    place(kFirmwareLine2Id, {c - 100, 185, c + 100, 220});
    place(kNoticeId, {10, h - 40, w - 10, h - 5});
}

int AboutDlg::OnMessage(int controlId, int code, WPARAM, LPARAM) {
    if (controlId == kCloseId && code == kNotifyClick) {
        EndDialog(IDOK);
        return 1;
    }
    return 0;
}

}  // namespace cursorial
