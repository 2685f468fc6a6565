// Single-line edits. The title is the text. Notifications:
//   30 the edit got the focus;
//   26 the user changed the text (typing, pasting; not SetTitle);
//   29 editing ended: Enter, or the focus left;
//   2  right after a 29 when the text differs from what it was when editing began (a commit).
// The image has four frames: normal, hover, focused, disabled.
#pragma once

#include "common/dui/MControl.h"
#include "common/dui/WheelNotches.h"

class QLineEdit;

namespace DUI {

class MEdit : public MControlFont {
public:
    static constexpr const char* kClassName = "MEdit";
    MEdit();

    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const;
    void SetMaxLength(int length);
    // Only digits (and a leading minus when `negative`) can be typed.
    void SetNumberOnly(bool numberOnly, bool negative = false);
    bool IsNumberOnly() const { return numberOnly_; }
    void SetPlaceholder(std::u16string_view text);
    void SelectAll();
    // The text read as a decimal number (0 when it is none).
    int GetNumber() const;
    void SetNumber(int value);

    QLineEdit* LineEdit() const { return edit_; }

protected:
    void OnTitleChanged() override;
    void OnFontChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnClick(QPoint pos) override;
    // Ends an editing turn: 29, then 2 when the text changed. False when the control is gone.
    bool FinishEditing();
    // A step from the keyboard or the wheel (NumberEdit).
    virtual bool OnStep(int) { return false; }

private:
    void ApplyLook();

    QLineEdit* edit_;
    std::u16string baseline_;
    bool numberOnly_ = false;
    bool syncing_ = false;
    WheelNotches wheel_;
};

// A number edit: digits only; Up/Down and the wheel (while focused) step the number within its
// range and count as typing (26).
class NumberEdit : public MEdit {
public:
    static constexpr const char* kClassName = "NumberEdit";
    NumberEdit();

    void SetRange(int minimum, int maximum);
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }

protected:
    bool OnStep(int delta) override;

private:
    int min_ = 0;
    int max_ = 0x7FFFFFFF;
};

}  // namespace DUI
