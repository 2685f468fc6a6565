// Container controls: they hold controls of their own (CreateControl on them), show and hide
// them together and clip them to their rectangle. Rectangles of the held controls are still
// window client coordinates.
#pragma once

#include "common/dui/MControl.h"

namespace DUI {

// A page: a plain container, drawing only its skin image when it has one.
class MTabLayout : public MControlFont, public MControlHost {
public:
    static constexpr const char* kClassName = "MTabLayout";

    MControlHost* AsHost() override { return this; }

protected:
    QWidget* HostWidget() const override { return const_cast<MTabLayout*>(this); }
    QPoint HostOrigin() const override { return {GetRect().left, GetRect().top}; }
    detail::WindowFrame* HostFrame() const override { return Frame(); }
    void OnRectChanged() override { RelayoutChildren(); }
    bool IsDragThrough() const override { return true; }
    void paintEvent(QPaintEvent* event) override;
};

// An area: a container that shows a colour (the colour preview) or, without one, a frame line
// (or its skin image).
class CArea : public MTabLayout {
public:
    static constexpr const char* kClassName = "CArea";

    // Fills the area with a Windows colour value.
    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }
    bool HasColor() const { return hasColour_; }
    void ClearColor();
    // Colour of the frame line (ARGB); 0 draws none.
    void SetBorderColor(ARGB colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF colour_ = 0;
    bool hasColour_ = false;
    ARGB border_ = 0xFF3A3A3A;
};

}  // namespace DUI
