#include "common/dui/CCheckButton.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

namespace DUI {

CCheckButton::CCheckButton() {
    setFocusPolicy(Qt::StrongFocus);
}

void CCheckButton::OnClick(QPoint) {
    SetCheck(!GetCheck());
    Notify(kNotifyClick);
}

void CCheckButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const int state = StateFrame();
    QSizeF box(18, 18);
    const MSize natural = GetImageSize();
    if (natural.cx > 0) {
        box = QSizeF(natural.cx, natural.cy);
    }
    if (box.height() > r.height()) {
        box.scale(r.height(), r.height(), Qt::KeepAspectRatio);
    }
    const QRectF boxRect(r.left(), r.center().y() - box.height() / 2, box.width(), box.height());
    if (!DrawSkin(p, boxRect, state + (GetCheck() ? 4 : 0))) {
        DrawCheckBox(p, boxRect, state, GetCheck(), IsRound());
    }
    const QRectF textRect(boxRect.right() + 8, r.top(), r.width() - boxRect.width() - 8,
                          r.height());
    DrawText(p, textRect);
    if (keyboardFocus_ && hasFocus()) {
        DrawFocusRing(p, r, 4);
    }
}

void CCheckButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        e->accept();
        OnClick(rect().center());
        return;
    }
    MControlFont::keyPressEvent(e);
}

void CCheckButton::focusInEvent(QFocusEvent* e) {
    keyboardFocus_ = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason;
    update();
    MControlFont::focusInEvent(e);
}

void CCheckButton::focusOutEvent(QFocusEvent* e) {
    keyboardFocus_ = false;
    update();
    MControlFont::focusOutEvent(e);
}

void CRadioButton::OnClick(QPoint) {
    SetCheck(true);
    Notify(kNotifyClick);
}

// --- CColorButton ----------------------------------------------------------------------------

CColorButton::CColorButton() {
    setFocusPolicy(Qt::TabFocus);
}

void CColorButton::SetColor(COLORREF colour) {
    colour_ = colour & 0xFFFFFF;
    update();
}

void CColorButton::OnClick(QPoint) {
    SetCheck(true);
    Notify(kNotifyClick);
}

void CColorButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        e->accept();
        OnClick(rect().center());
        return;
    }
    MControl::keyPressEvent(e);
}

void CColorButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const int state = StateFrame();
    DrawSkin(p, r, state + (GetCheck() && GetImageFrames() >= 8 ? 4 : 0));
    const qreal ring = std::max<qreal>(2, std::min(r.width(), r.height()) * 0.12);
    const QRectF swatch = r.adjusted(ring + 1, ring + 1, -ring - 1, -ring - 1);
    QColor fill = FromColorRef(colour_);
    if (!isEnabled()) {
        fill = fill.darker(250);
    }
    const qreal radius = std::min(swatch.width(), swatch.height()) / 4;
    DrawPanel(p, swatch, fill, ToQColor(0x40FFFFFF), radius);
    if (GetCheck()) {
        p.setPen(QPen(ToQColor(kColorText), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius + ring, radius + ring);
    } else if (state == 1) {
        p.setPen(QPen(SelectColor(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius + ring, radius + ring);
    }
    if (hasFocus()) {
        DrawFocusRing(p, r, radius + ring);
    }
}

}  // namespace DUI
