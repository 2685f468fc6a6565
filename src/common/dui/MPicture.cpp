#include "common/dui/MPicture.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QPainter>

namespace DUI {

MPicture::MPicture() {
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void MPicture::SetFrame(int index) {
    frame_ = std::max(0, index);
    update();
}

void MPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!DrawSkin(p, rect(), frame_) && !GetImage().empty()) {
        DrawPicturePlaceholder(p, rect(), GetImage());
    }
    if (!GetTitle().empty()) {
        DrawText(p, rect());
    }
}

MText::MText() {}

void MText::SetLink(bool link) {
    link_ = link;
    setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void MText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawSkin(p, rect(), 0);
    if (link_ && IsHover() && isEnabled()) {
        const QColor c = SelectColor();
        DrawText(p, rect(), nullptr, &c);
    } else {
        DrawText(p, rect());
    }
}

}  // namespace DUI
