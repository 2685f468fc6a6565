// Push buttons. All take keyboard focus (Tab) and click with Space or Enter; each click reports
// 2, a right click 5. Images have four frames: normal, hover, pressed, disabled.
#pragma once

#include "common/dui/MControl.h"

namespace DUI {

// A button with a centred text over its skin image (or the kit's button face), and an optional
// icon left of the text.
class MButton : public MControlFont {
public:
    static constexpr const char* kClassName = "MButton";
    MButton();

    // An icon (skin file name) drawn left of the text, at its natural size up to the height.
    void SetIcon(std::u16string_view name, int frames = 1);
    std::u16string GetIcon() const { return icon_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Frame of the skin image for the current state.
    virtual int SkinFrame() const { return StateFrame(); }
    // The face: the skin image, else the kit's face.
    virtual void PaintFace(QPainter& painter, const QRectF& rect);
    // Icon and text on the face.
    virtual void PaintContent(QPainter& painter, const QRectF& rect);
    bool KeyboardFocus() const { return keyboardFocus_ && hasFocus(); }

private:
    std::u16string icon_;
    int iconFrames_ = 1;
    bool keyboardFocus_ = false;
    bool keyDown_ = false;
};

// A button with a check state (8-frame images: the four states unchecked, then checked). A
// click toggles it, or, when it belongs to a group, checks it; then it reports 2.
class MButton3 : public MButton, public CheckGroupMember {
public:
    static constexpr const char* kClassName = "MButton3";

protected:
    void OnClick(QPoint pos) override;
    int SkinFrame() const override;
    void PaintFace(QPainter& painter, const QRectF& rect) override;
    MControl* GroupControl() override { return this; }
    void OnCheckChanged() override { update(); }
};

// A button drawn by its image alone (frame buttons, reset, previous and next). Without the
// image it draws a glyph chosen from the image's name (close, minimize, maximize, restore,
// settings, help, reset, arrows).
class CImageButton : public MButton {
public:
    static constexpr const char* kClassName = "CImageButton";
    CImageButton();

protected:
    void PaintFace(QPainter& painter, const QRectF& rect) override;
};

// A button with an icon and a text (the record button, the profile button).
class CIconButton : public MButton {
public:
    static constexpr const char* kClassName = "CIconButton";
};

// A small "?" button whose tooltip is its help text; the tip shows at once on hover and on a
// click, and stays while the mouse is over it.
class CHelpButton : public CImageButton {
public:
    static constexpr const char* kClassName = "CHelpButton";
    CHelpButton();

protected:
    void OnClick(QPoint pos) override;
    void enterEvent(QEnterEvent* event) override;
    void PaintFace(QPainter& painter, const QRectF& rect) override;

private:
    void ShowTip();
};

}  // namespace DUI
