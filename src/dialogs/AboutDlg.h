// The About dialog: the logo, the mouse's firmware release and the notice text.
#pragma once

#include <functional>
#include <string>

#include "common/dui/MWindow.h"

namespace cursorial {

class LanguageTexts;

// The two parts of a firmware release as the dialog shows it: the release in hexadecimal, split
// into its first digit and its last two digits (0x105 → "1", "05"; 0 → "0", "0").
struct ReleaseParts {
    std::u16string major;
    std::u16string minor;
};
ReleaseParts SplitRelease(unsigned release);

// "%s: v%s.%s" with the text of id 16 and the two parts.
std::u16string FirmwareLine(const LanguageTexts& texts, unsigned release);

class AboutDlg : public DUI::MDialog {
public:
    static constexpr const char16_t* kWindowTitle = u"About Window";
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 300;

    static constexpr int kCloseId = 30;
    static constexpr int kLogoId = 32;
    static constexpr int kFirmwareLineId = 34;
    static constexpr int kFirmwareLine2Id = 33;
    static constexpr int kNoticeId = 35;

    // `release` gives the mouse's firmware release over the cable connection (0 without one);
    // it is asked once, when the dialog is built.
    AboutDlg(const LanguageTexts& texts, std::function<unsigned()> release);

    // Creates the dialog owned by `parent`, centred, and runs it until it is closed.
    static int Show(DUI::MWindow* parent, const LanguageTexts& texts,
                    std::function<unsigned()> release);

    int OnInitDialog() override;
    void InitUI(const DUI::MRect& client) override;
    void UISize(const DUI::MRect& client) override;
    int OnMessage(int controlId, int code, DUI::WPARAM value1, DUI::LPARAM value2) override;

private:
    const LanguageTexts& texts_;
    std::function<unsigned()> release_;
};

}  // namespace cursorial
