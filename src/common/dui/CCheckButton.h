// Check boxes, radio buttons and colour buttons. Each reports 2 after a click has changed (or
// kept) its state; SetCheck changes the state silently. Images have eight frames: normal,
// hover, pressed, disabled unchecked, then the same four checked.
#pragma once

#include "common/dui/MControl.h"

namespace DUI {

// A box left of its text. A click (or Space) toggles it.
class CCheckButton : public MControlFont, public CheckGroupMember {
public:
    static constexpr const char* kClassName = "CCheckButton";
    CCheckButton();

protected:
    void OnClick(QPoint pos) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    MControl* GroupControl() override { return this; }
    void OnCheckChanged() override { update(); }
    virtual bool IsRound() const { return false; }

private:
    bool keyboardFocus_ = false;
};

// A round box in a group (SetGroup): a click checks it and unchecks the group's others.
class CRadioButton : public CCheckButton {
public:
    static constexpr const char* kClassName = "CRadioButton";

protected:
    void OnClick(QPoint pos) override;
    bool IsRound() const override { return true; }
};

// A colour swatch (Windows colour value) in a group: a click checks it, unchecking the group's
// others, and reports 2. The checked swatch wears a ring.
class CColorButton : public MControl, public CheckGroupMember {
public:
    static constexpr const char* kClassName = "CColorButton";
    CColorButton();

    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }

protected:
    void OnClick(QPoint pos) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    MControl* GroupControl() override { return this; }
    void OnCheckChanged() override { update(); }

private:
    COLORREF colour_ = 0;
};

}  // namespace DUI
