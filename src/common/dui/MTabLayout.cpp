#include "common/dui/MTabLayout.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QPainter>

namespace DUI {

void MTabLayout::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawSkin(p, rect(), 0);
    if (!GetTitle().empty()) {
        DrawText(p, rect());
    }
}

void CArea::SetColor(COLORREF colour) {
    colour_ = colour & 0xFFFFFF;
    hasColour_ = true;
    update();
}

void CArea::ClearColor() {
    hasColour_ = false;
    update();
}

void CArea::SetBorderColor(ARGB colour) {
    border_ = colour;
    update();
}

void CArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const QColor border = border_ ? ToQColor(border_) : QColor();
    if (hasColour_) {
        DrawPanel(p, r, FromColorRef(colour_), border, 6);
    } else if (!DrawSkin(p, r, 0)) {
        DrawPanel(p, r, QColor(), border, 6);
    }
    if (!GetTitle().empty()) {
        DrawText(p, r.adjusted(8, 0, -8, 0));
    }
}

}  // namespace DUI
