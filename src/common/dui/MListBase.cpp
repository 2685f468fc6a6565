#include "common/dui/MListBase.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace DUI {

namespace {
constexpr int kPadding = 4;
constexpr int kScrollBarWidth = 6;
}  // namespace

MListBase::MListBase() {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    SetImageMode(kDrawBorders, 8);
}

void MListBase::SetItemHeight(int height) {
    itemHeight_ = std::max(8, height);
    RowsChanged();
}

QRect MListBase::ContentRect() const {
    QRect r = rect().adjusted(kPadding, kPadding, -kPadding, -kPadding);
    if (HasScrollBar()) {
        r.setRight(r.right() - kScrollBarWidth - 2);
    }
    return r;
}

int MListBase::MaxScroll() const {
    const int content = GetCount() * itemHeight_;
    const int room = height() - 2 * kPadding;
    return std::max(0, content - room);
}

bool MListBase::HasScrollBar() const {
    return MaxScroll() > 0;
}

void MListBase::ScrollTo(int offset) {
    const int clamped = std::clamp(offset, 0, MaxScroll());
    if (clamped != scroll_) {
        scroll_ = clamped;
        update();
    }
}

QRect MListBase::GetItemRect(int index) const {
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    const QRect c = ContentRect();
    return QRect(c.left(), c.top() + index * itemHeight_ - scroll_, c.width(), itemHeight_);
}

int MListBase::HitTest(QPoint pos) const {
    const QRect c = ContentRect();
    if (!c.contains(pos)) {
        return -1;
    }
    const int index = (pos.y() - c.top() + scroll_) / itemHeight_;
    return index >= 0 && index < GetCount() ? index : -1;
}

void MListBase::EnsureVisible(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    const int room = height() - 2 * kPadding;
    const int top = index * itemHeight_;
    if (top < scroll_) {
        ScrollTo(top);
    } else if (top + itemHeight_ > scroll_ + room) {
        ScrollTo(top + itemHeight_ - room);
    }
}

void MListBase::SetSelectItem(int index) {
    selected_ = index >= 0 && index < GetCount() ? index : -1;
    EnsureVisible(selected_);
    update();
}

void MListBase::RowRemoved(int index) {
    if (selected_ == index) {
        SetSelectItem(-1);
    } else if (selected_ > index) {
        SetSelectItem(selected_ - 1);
    }
    RowsChanged();
}

void MListBase::RowsChanged() {
    if (selected_ >= GetCount()) {
        selected_ = -1;
    }
    if (hover_ >= GetCount()) {
        hover_ = -1;
    }
    ScrollTo(scroll_);
    update();
}

void MListBase::OnRowClick(int index, QPoint) {
    SetSelectItem(index);
    Notify(kNotifyClick, WPARAM(index), 0);
}

void MListBase::OnRowRightClick(int index, QPoint) {
    if (index >= 0) {
        SetSelectItem(index);
    }
    Notify(kNotifyRightClick, WPARAM(index), 0);
}

void MListBase::OnKeySelect(int index) {
    Notify(kNotifyClick, WPARAM(index), 0);
}

void MListBase::OnClick(QPoint pos) {
    const int index = HitTest(pos);
    if (index >= 0) {
        OnRowClick(index, pos - GetItemRect(index).topLeft());
    }
}

void MListBase::OnRightClick(QPoint pos) {
    const int index = HitTest(pos);
    OnRowRightClick(index, index >= 0 ? pos - GetItemRect(index).topLeft() : pos);
}

void MListBase::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && HasScrollBar() &&
        e->position().x() >= width() - kPadding - kScrollBarWidth - 2) {
        const QRectF thumb = ScrollThumb();
        if (thumb.adjusted(-3, 0, 3, 0).contains(e->position())) {
            draggingThumb_ = true;
            dragStartY_ = int(e->position().y());
            dragStartScroll_ = scroll_;
        } else {
            // A click in the track pages towards it.
            const int room = height() - 2 * kPadding;
            ScrollTo(scroll_ + (e->position().y() < thumb.top() ? -room : room));
        }
        e->accept();
        return;
    }
    MControlFont::mousePressEvent(e);
}

void MListBase::mouseMoveEvent(QMouseEvent* e) {
    if (draggingThumb_) {
        const int room = height() - 2 * kPadding;
        const int content = GetCount() * itemHeight_;
        const qreal factor = room > 0 ? qreal(content) / room : 1;
        ScrollTo(dragStartScroll_ + int((e->position().y() - dragStartY_) * factor));
        e->accept();
        return;
    }
    const int hit = HitTest(e->position().toPoint());
    if (hit != hover_) {
        hover_ = hit;
        update();
    }
    MControlFont::mouseMoveEvent(e);
}

void MListBase::mouseReleaseEvent(QMouseEvent* e) {
    if (draggingThumb_) {
        draggingThumb_ = false;
        e->accept();
        return;
    }
    MControlFont::mouseReleaseEvent(e);
}

void MListBase::mouseDoubleClickEvent(QMouseEvent* e) {
    const int index = HitTest(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index >= 0) {
        OnRowDoubleClick(index, e->position().toPoint() - GetItemRect(index).topLeft());
    }
    e->accept();
}

void MListBase::leaveEvent(QEvent* e) {
    hover_ = -1;
    MControlFont::leaveEvent(e);
}

void MListBase::wheelEvent(QWheelEvent* e) {
    // One row per notch; finer wheels scroll by their share of a row.
    const int pixels = e->angleDelta().y() * itemHeight_ / 120;
    if (MaxScroll() == 0 || pixels == 0) {
        e->ignore();
        return;
    }
    ScrollTo(scroll_ - pixels);
    e->accept();
}

void MListBase::keyPressEvent(QKeyEvent* e) {
    const int count = GetCount();
    if (count == 0) {
        MControlFont::keyPressEvent(e);
        return;
    }
    const int page = std::max(1, (height() - 2 * kPadding) / itemHeight_);
    int next = selected_;
    switch (e->key()) {
        case Qt::Key_Up:
            next = selected_ < 0 ? 0 : selected_ - 1;
            break;
        case Qt::Key_Down:
            next = selected_ < 0 ? 0 : selected_ + 1;
            break;
        case Qt::Key_PageUp:
            next = selected_ - page;
            break;
        case Qt::Key_PageDown:
            next = selected_ + page;
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = count - 1;
            break;
        default:
            MControlFont::keyPressEvent(e);
            return;
    }
    e->accept();
    next = std::clamp(next, 0, count - 1);
    if (next != selected_) {
        SetSelectItem(next);
        OnKeySelect(next);
    }
}

void MListBase::resizeEvent(QResizeEvent* e) {
    MControlFont::resizeEvent(e);
    ScrollTo(scroll_);
}

QRectF MListBase::ScrollThumb() const {
    const int room = height() - 2 * kPadding;
    const int content = std::max(1, GetCount() * itemHeight_);
    const qreal length = std::max<qreal>(20, qreal(room) * room / content);
    const qreal top = kPadding + (room - length) * (MaxScroll() ? qreal(scroll_) / MaxScroll() : 0);
    return QRectF(width() - kPadding - kScrollBarWidth, top, kScrollBarWidth, length);
}

void MListBase::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!DrawSkin(p, rect(), isEnabled() ? 0 : 3)) {
        DrawPanel(p, rect(), ToQColor(kColorPanel), ToQColor(0xFF2A2A2A), 6);
    }
    const QRect content = ContentRect();
    p.save();
    p.setClipRect(content);
    const int first = std::max(0, scroll_ / itemHeight_);
    for (int i = first; i < GetCount(); ++i) {
        const QRect r = GetItemRect(i);
        if (r.top() > content.bottom()) {
            break;
        }
        PaintRow(p, r, i, i == selected_, i == hover_ && isEnabled());
    }
    p.restore();
    if (HasScrollBar()) {
        QColor c = ToQColor(kColorTextSecondary);
        c.setAlpha(draggingThumb_ ? 220 : 120);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        const QRectF thumb = ScrollThumb();
        p.drawRoundedRect(thumb, thumb.width() / 2, thumb.width() / 2);
    }
    if (hasFocus() && selected_ < 0) {
        DrawFocusRing(p, rect(), 6);
    }
}

}  // namespace DUI
