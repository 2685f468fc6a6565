// The skinned message box: a title, a message and one, two or no buttons, run modally.
#pragma once

#include <string>
#include <string_view>

#include "common/dui/MWindow.h"

namespace cursorial {

class LanguageTexts;

class CUIMessageBox : public DUI::MDialog {
public:
    // Button layouts: one button (text 20), two buttons (texts 23 and 25); any other value
    // shows no button.
    static constexpr int kStyleOneButton = 0;
    static constexpr int kStyleTwoButtons = 4;

    static constexpr int kTitleId = 31;
    static constexpr int kMessageId = 32;
    static constexpr int kConfirmId = 33;
    static constexpr int kCancelId = 34;

    static constexpr const char16_t* kWindowTitle = u"MessageBox";
    static constexpr int kWidth = 430;
    static constexpr int kHeight = 230;

    CUIMessageBox(const LanguageTexts& texts, std::u16string message, std::u16string title,
                  int style);

    // Asks and waits: 1 when the user confirms (button 33), 2 when they cancel (button 34) or
    // the box is closed, also from outside (a close request with the first parameter 2).
    static int Show(DUI::MWindow* parent, const LanguageTexts& texts, std::u16string_view message,
                    std::u16string_view title, int style);

    int OnInitDialog() override;
    void InitUI(const DUI::MRect& client) override;
    void UISize(const DUI::MRect& client) override;
    int OnMessage(int controlId, int code, DUI::WPARAM value1, DUI::LPARAM value2) override;

private:
    const LanguageTexts& texts_;
    std::u16string message_;
    std::u16string title_;
    int style_;
};

}  // namespace cursorial
