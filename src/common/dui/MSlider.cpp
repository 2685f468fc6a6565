#include "common/dui/MSlider.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace DUI {

MSlider::MSlider() : wheelTimer_(new QTimer(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    wheelTimer_->setSingleShot(true);
    wheelTimer_->setInterval(250);
    QObject::connect(wheelTimer_, &QTimer::timeout, this, [this] { Commit(); });
}

void MSlider::SetRange(int minimum, int maximum) {
    min_ = std::min(minimum, maximum);
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    update();
}

void MSlider::SetPos(int pos) {
    pos_ = std::clamp(pos, min_, max_);
    update();
}

void MSlider::SetBkImage(std::u16string_view name) {
    bkImage_ = name;
    update();
}

void MSlider::SetWheelCommitDelay(int ms) {
    wheelTimer_->setInterval(std::max(0, ms));
}

qreal MSlider::ThumbSize() const {
    const MSize natural = GetImageSize();
    if (natural.cx > 0) {
        return natural.cx;
    }
    return std::clamp<qreal>(TrackBand().height() * 0.6, 10, 18);
}

qreal MSlider::XFromPos(int pos) const {
    const QRectF band = TrackBand();
    const qreal half = ThumbSize() / 2;
    const qreal span = max_ > min_ ? qreal(pos - min_) / (max_ - min_) : 0;
    return band.left() + half + (band.width() - 2 * half) * span;
}

int MSlider::PosFromX(qreal x) const {
    const QRectF band = TrackBand();
    const qreal half = ThumbSize() / 2;
    const qreal width = band.width() - 2 * half;
    if (width <= 0 || max_ <= min_) {
        return min_;
    }
    const qreal span = std::clamp((x - band.left() - half) / width, 0.0, 1.0);
    return min_ + int(std::lround(span * (max_ - min_)));
}

bool MSlider::MoveTo(int pos) {
    pos = std::clamp(pos, min_, max_);
    if (pos == pos_) {
        return true;
    }
    pos_ = pos;
    update();
    QPointer<MSlider> self(this);
    Notify(kNotifySliderMoving, WPARAM(pos_), 0);
    return !self.isNull();
}

void MSlider::Commit() {
    wheelTimer_->stop();
    Notify(kNotifyClick, WPARAM(pos_), 0);
}

void MSlider::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        MControlFont::mousePressEvent(e);
        return;
    }
    e->accept();
    dragging_ = true;
    update();
    MoveTo(PosFromX(e->position().x()));
}

void MSlider::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_ && (e->buttons() & Qt::LeftButton)) {
        e->accept();
        MoveTo(PosFromX(e->position().x()));
        return;
    }
    MControlFont::mouseMoveEvent(e);
}

void MSlider::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && dragging_) {
        e->accept();
        dragging_ = false;
        update();
        QPointer<MSlider> self(this);
        if (MoveTo(PosFromX(e->position().x())) && self) {
            Commit();
        }
        return;
    }
    MControlFont::mouseReleaseEvent(e);
}

void MSlider::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y() + e->angleDelta().x();
    if (delta == 0) {
        e->ignore();
        return;
    }
    e->accept();
    const int notches = wheel_.Add(delta);
    QPointer<MSlider> self(this);
    if (notches != 0 && MoveTo(pos_ + notches) && self) {
        wheelTimer_->start();
    }
}

void MSlider::keyPressEvent(QKeyEvent* e) {
    int next = pos_;
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            next = pos_ - 1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            next = pos_ + 1;
            break;
        case Qt::Key_PageDown:
            next = pos_ - pageStep_;
            break;
        case Qt::Key_PageUp:
            next = pos_ + pageStep_;
            break;
        case Qt::Key_Home:
            next = min_;
            break;
        case Qt::Key_End:
            next = max_;
            break;
        default:
            MControlFont::keyPressEvent(e);
            return;
    }
    e->accept();
    next = std::clamp(next, min_, max_);
    if (next == pos_) {
        return;
    }
    QPointer<MSlider> self(this);
    if (MoveTo(next) && self) {
        Commit();
    }
}

void MSlider::focusInEvent(QFocusEvent* e) {
    keyboardFocus_ = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason;
    update();
    MControlFont::focusInEvent(e);
}

void MSlider::focusOutEvent(QFocusEvent* e) {
    keyboardFocus_ = false;
    if (wheelTimer_->isActive()) {
        Commit();
    }
    update();
    MControlFont::focusOutEvent(e);
}

void MSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF band = TrackBand();
    const qreal cy = band.center().y();
    const qreal thumb = ThumbSize();
    const qreal x0 = XFromPos(min_);
    const qreal x1 = XFromPos(max_);
    const qreal x = XFromPos(pos_);

    // The track image, when there is one, lies under the groove.
    DrawImage(p, bkImage_, rect(), 0, 1, kDrawBorders, QMargins(8, 8, 8, 8));
    const qreal groove = std::max<qreal>(3, thumb / 4);
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(kColorPanelLight).lighter(130));
    p.drawRoundedRect(QRectF(x0, cy - groove / 2, x1 - x0, groove), groove / 2, groove / 2);
    p.setBrush(isEnabled() ? SelectColor() : ToQColor(kColorTextDisabled));
    p.drawRoundedRect(QRectF(x0, cy - groove / 2, x - x0, groove), groove / 2, groove / 2);
    PaintExtras(p);

    const int state = !isEnabled() ? 3 : (dragging_ ? 2 : (IsHover() ? 1 : 0));
    QRectF thumbRect(x - thumb / 2, cy - thumb / 2, thumb, thumb);
    const MSize natural = GetImageSize();
    if (natural.cx > 0) {
        thumbRect = QRectF(x - natural.cx / 2.0, cy - natural.cy / 2.0, natural.cx, natural.cy);
    }
    if (!DrawSkin(p, thumbRect, state)) {
        QColor fill = state == 3 ? ToQColor(kColorTextDisabled) : ToQColor(kColorText);
        p.setPen(QPen(state == 3 ? ToQColor(kColorPanel) : SelectColor(), state == 0 ? 2 : 3));
        p.setBrush(fill);
        p.drawEllipse(thumbRect.adjusted(1, 1, -1, -1));
    }
    if (keyboardFocus_ && hasFocus()) {
        DrawFocusRing(p, thumbRect.adjusted(-3, -3, 3, 3), thumb);
    }
}

// --- DPISlider -------------------------------------------------------------------------------

void DPISlider::SetDPIDesc(std::u16string_view low, std::u16string_view high) {
    low_ = low;
    high_ = high;
    update();
}

QRectF DPISlider::TrackBand() const {
    if (low_.empty() && high_.empty()) {
        return rect();
    }
    const qreal textHeight = std::min<qreal>(height() / 2.0, GetFontSize() + 6);
    return QRectF(0, 0, width(), height() - textHeight);
}

void DPISlider::PaintExtras(QPainter& p) {
    if (low_.empty() && high_.empty()) {
        return;
    }
    const QRectF band = TrackBand();
    const QRectF texts(0, band.bottom(), width(), height() - band.height());
    const QColor dim = ToQColor(kColorTextSecondary);
    DrawText(p, texts, &low_, &dim, kAlignLeft);
    DrawText(p, texts, &high_, &dim, kAlignRight);
}

// --- LightSlider -----------------------------------------------------------------------------

LightSlider::LightSlider() {
    SetRange(0, 4);
    SetPageStep(1);
}

void LightSlider::PaintExtras(QPainter& p) {
    const QRectF band = TrackBand();
    const qreal cy = band.center().y();
    const qreal tick = std::max<qreal>(3, ThumbSize() / 3);
    p.save();
    for (int i = GetMin(); i <= GetMax() && GetMax() - GetMin() <= 20; ++i) {
        const qreal x = XFromPos(i);
        p.setPen(Qt::NoPen);
        p.setBrush(i <= GetPos() && isEnabled() ? SelectColor() : ToQColor(kColorTextSecondary));
        p.drawEllipse(QPointF(x, cy), tick / 2, tick / 2);
    }
    p.restore();
}

}  // namespace DUI
