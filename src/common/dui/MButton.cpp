#include "common/dui/MButton.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"
#include "common/dui/SkinImage.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

namespace DUI {

MButton::MButton() {
    setFocusPolicy(Qt::StrongFocus);
    SetAlign(kAlignCenter);
    SetImageMode(kDrawBorders, 6);
}

CImageButton::CImageButton() {
    SetImageMode(kDrawStretch);
}

void MButton::SetIcon(std::u16string_view name, int frames) {
    icon_ = name;
    iconFrames_ = std::max(1, frames);
    update();
}

void MButton::PaintFace(QPainter& p, const QRectF& r) {
    if (!DrawSkin(p, r, SkinFrame())) {
        DrawButtonFace(p, r, StateFrame());
    }
}

void MButton::PaintContent(QPainter& p, const QRectF& r) {
    QRectF textRect = r.adjusted(6, 0, -6, 0);
    if (!icon_.empty()) {
        auto image = Manager::GetImage(icon_);
        QSizeF size(16, 16);
        if (!image->IsNull()) {
            const QSize natural = image->FrameSize(iconFrames_);
            size = QSizeF(natural);
            const qreal maxSide = r.height() - 8;
            if (size.height() > maxSide && maxSide > 0) {
                size.scale(size.width(), maxSide, Qt::KeepAspectRatio);
            }
        }
        const QString text = QString::fromStdU16String(GetTitle());
        const qreal textWidth =
            text.isEmpty() ? 0 : QFontMetricsF(Font()).horizontalAdvance(text) + 6;
        const qreal total = size.width() + textWidth;
        const qreal left = r.center().x() - total / 2;
        const QRectF iconRect(left, r.center().y() - size.height() / 2, size.width(),
                              size.height());
        if (image->IsNull()) {
            DrawGlyph(p, iconRect, GlyphForImage(icon_), TextColor());
        } else {
            const int frame = iconFrames_ >= 4 ? StateFrame() : 0;
            image->Draw(p, iconRect, frame, iconFrames_, kDrawStretch);
        }
        if (!text.isEmpty()) {
            textRect = QRectF(iconRect.right() + 6, r.top(), textWidth, r.height());
            DrawText(p, textRect, nullptr, nullptr, kAlignLeft);
        }
        return;
    }
    DrawText(p, textRect);
}

void MButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    PaintFace(p, r);
    PaintContent(p, r);
    if (KeyboardFocus()) {
        DrawFocusRing(p, r);
    }
}

void MButton::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !e->isAutoRepeat()) {
        keyDown_ = true;
        e->accept();
        return;
    }
    MControlFont::keyPressEvent(e);
}

void MButton::keyReleaseEvent(QKeyEvent* e) {
    const int key = e->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !e->isAutoRepeat() && keyDown_) {
        keyDown_ = false;
        e->accept();
        OnClick(rect().center());
        return;
    }
    MControlFont::keyReleaseEvent(e);
}

void MButton::focusInEvent(QFocusEvent* e) {
    keyboardFocus_ = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason;
    update();
    MControlFont::focusInEvent(e);
}

void MButton::focusOutEvent(QFocusEvent* e) {
    keyboardFocus_ = false;
    keyDown_ = false;
    update();
    MControlFont::focusOutEvent(e);
}

// --- MButton3 --------------------------------------------------------------------------------

void MButton3::OnClick(QPoint) {
    SetCheck(GetGroup().empty() ? !GetCheck() : true);
    Notify(kNotifyClick);
}

int MButton3::SkinFrame() const {
    return StateFrame() + (GetCheck() && GetImageFrames() >= 8 ? 4 : 0);
}

void MButton3::PaintFace(QPainter& p, const QRectF& r) {
    if (DrawSkin(p, r, SkinFrame())) {
        if (GetCheck() && GetImageFrames() < 8) {
            DrawPanel(p, r.adjusted(1, 1, -1, -1), QColor(), SelectColor(), 5);
        }
        return;
    }
    DrawButtonFace(p, r, StateFrame());
    if (GetCheck()) {
        QColor fill = SelectColor();
        fill.setAlpha(60);
        DrawPanel(p, r, fill, SelectColor(), std::min<qreal>(6, r.height() / 3));
    }
}

// --- CImageButton ----------------------------------------------------------------------------

void CImageButton::PaintFace(QPainter& p, const QRectF& r) {
    if (DrawSkin(p, r, SkinFrame())) {
        return;
    }
    const int state = StateFrame();
    if (state == 1 || state == 2) {
        QColor fill = state == 2 ? SelectColor().darker(150) : ToQColor(kColorPanelLight);
        DrawPanel(p, r, fill, QColor(), std::min(r.width(), r.height()) / 4);
    }
    const Glyph glyph = GlyphForImage(GetImage());
    QColor colour = state == 3
                        ? ToQColor(kColorTextDisabled)
                        : (state == 0 ? ToQColor(kColorTextSecondary) : ToQColor(kColorText));
    if (glyph == Glyph::Close && state == 1) {
        colour = SelectColor();
    }
    if (glyph == Glyph::None && GetTitle().empty()) {
        DrawButtonFace(p, r, state);
        return;
    }
    DrawGlyph(p, r, glyph, colour);
}

// --- CHelpButton -----------------------------------------------------------------------------

CHelpButton::CHelpButton() {
    setFocusPolicy(Qt::TabFocus);
}

void CHelpButton::ShowTip() {
    if (toolTip().isEmpty()) {
        return;
    }
    QToolTip::showText(mapToGlobal(QPoint(width() / 2, height())), toolTip(), this, rect());
}

void CHelpButton::OnClick(QPoint) {
    ShowTip();
    Notify(kNotifyClick);
}

void CHelpButton::enterEvent(QEnterEvent* e) {
    CImageButton::enterEvent(e);
    ShowTip();
}

void CHelpButton::PaintFace(QPainter& p, const QRectF& r) {
    if (DrawSkin(p, r, SkinFrame())) {
        return;
    }
    const int state = StateFrame();
    DrawGlyph(p, r, Glyph::Help,
              state == 0 ? ToQColor(kColorTextSecondary)
                         : (state == 3 ? ToQColor(kColorTextDisabled) : SelectColor()));
}

}  // namespace DUI
