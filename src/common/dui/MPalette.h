// A colour picker: a wheel of hues (around) and saturations (outwards) at full brightness. A
// press or drag on the wheel picks the colour under the mouse and reports 27 with the colour
// (Windows colour value) as value1; releasing reports 2 with the colour. SetColor places the
// marker without reporting; GetColor answers the colour set or picked last.
#pragma once

#include "common/dui/MControl.h"

#include <QImage>

namespace DUI {

class MPalette : public MControl {
public:
    static constexpr const char* kClassName = "MPalette";
    MPalette();

    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }
    // The colour the wheel shows at a point of the control; false outside the wheel.
    bool ColorAt(QPointF pos, COLORREF* colour) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void OnClick(QPoint) override {}

private:
    QRectF Wheel() const;
    void Pick(QPointF pos, int code);
    QPointF MarkerPos() const;

    COLORREF colour_ = 0xFFFFFF;
    bool picking_ = false;
    QImage cache_;
};

}  // namespace DUI
