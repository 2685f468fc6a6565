#include "common/dui/MouseCtrl.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace DUI {

namespace {

// Distance from a point to a segment.
qreal SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const qreal length2 = QPointF::dotProduct(ab, ab);
    qreal t = length2 > 0 ? QPointF::dotProduct(p - a, ab) / length2 : 0;
    t = std::clamp<qreal>(t, 0, 1);
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

}  // namespace

MouseCtrl::MouseCtrl() {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    SetFont(13);
}

void MouseCtrl::DeleteAllItems() {
    items_.clear();
    selected_ = -1;
    hover_ = -1;
    update();
}

int MouseCtrl::AddItem(std::u16string_view text, int keyValue, int direction, MPoint first,
                       MPoint second, bool dashed) {
    items_.push_back({std::u16string(text), keyValue, direction, first, second, dashed});
    update();
    return int(items_.size()) - 1;
}

void MouseCtrl::SetItemText(int index, std::u16string_view text) {
    if (Valid(index)) {
        items_[index].text = text;
        update();
    }
}

std::u16string MouseCtrl::GetItemText(int index) const {
    return Valid(index) ? items_[index].text : std::u16string();
}

int MouseCtrl::GetItemKeyValue(int index) const {
    return Valid(index) ? items_[index].keyValue : 0;
}

int MouseCtrl::FindItemByKeyValue(int keyValue) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (items_[i].keyValue == keyValue) {
            return i;
        }
    }
    return -1;
}

void MouseCtrl::SetSelectItem(int index) {
    selected_ = Valid(index) ? index : -1;
    update();
}

QPointF MouseCtrl::Map(MPoint p) const {
    const MSize natural = GetImageSize();
    if (natural.cx <= 0 || natural.cy <= 0) {
        return QPointF(p.x, p.y);
    }
    return QPointF(p.x * qreal(width()) / natural.cx, p.y * qreal(height()) / natural.cy);
}

void MouseCtrl::Ends(const Item& item, QPointF* labelEnd, QPointF* buttonEnd,
                     bool* labelLeft) const {
    const QPointF a = Map(item.first);
    const QPointF b = Map(item.second);
    const QPointF left = a.x() <= b.x() ? a : b;
    const QPointF right = a.x() <= b.x() ? b : a;
    bool onLeft;
    if (item.direction == 0) {
        onLeft = true;
    } else if (item.direction == 1) {
        onLeft = false;
    } else {
        const qreal centre = width() / 2.0;
        onLeft = std::abs(left.x() - centre) >= std::abs(right.x() - centre);
    }
    *labelEnd = onLeft ? left : right;
    *buttonEnd = onLeft ? right : left;
    *labelLeft = onLeft;
}

QRectF MouseCtrl::GetLabelRect(int index) const {
    if (!Valid(index)) {
        return {};
    }
    QPointF labelEnd, buttonEnd;
    bool onLeft;
    Ends(items_[index], &labelEnd, &buttonEnd, &onLeft);
    const QFontMetricsF metrics(Font());
    const QString text = QString::fromStdU16String(items_[index].text);
    const qreal w =
        std::min<qreal>(std::ceil(metrics.horizontalAdvance(text)) + 24, std::max(40, width() / 2));
    const qreal h = metrics.height() + 10;
    qreal x = onLeft ? labelEnd.x() - w : labelEnd.x();
    x = std::clamp<qreal>(x, 0, std::max<qreal>(0, width() - w));
    const qreal y = std::clamp<qreal>(labelEnd.y() - h / 2, 0, std::max<qreal>(0, height() - h));
    return QRectF(x, y, w, h);
}

int MouseCtrl::HitTest(QPoint pos) const {
    // Labels first (they are the large targets), then lines and dots.
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        if (GetLabelRect(i).contains(pos)) {
            return i;
        }
    }
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        QPointF labelEnd, buttonEnd;
        bool onLeft;
        Ends(items_[i], &labelEnd, &buttonEnd, &onLeft);
        if (SegmentDistance(pos, labelEnd, buttonEnd) <= 5) {
            return i;
        }
    }
    return -1;
}

void MouseCtrl::OnClick(QPoint pos) {
    const int hit = HitTest(pos);
    if (hit >= 0) {
        SetSelectItem(hit);
        Notify(kNotifyClick, WPARAM(hit), 0);
    }
}

void MouseCtrl::mouseMoveEvent(QMouseEvent* e) {
    const int hit = HitTest(e->position().toPoint());
    if (hit != hover_) {
        hover_ = hit;
        setCursor(hit >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    MPicture::mouseMoveEvent(e);
}

void MouseCtrl::leaveEvent(QEvent* e) {
    hover_ = -1;
    MPicture::leaveEvent(e);
}

void MouseCtrl::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && GetItemCount() > 0) {
        e->accept();
        const int next =
            std::clamp(selected_ + (e->key() == Qt::Key_Up ? -1 : 1), 0, GetItemCount() - 1);
        if (next != selected_) {
            SetSelectItem(next);
            Notify(kNotifyClick, WPARAM(next), 0);
        }
        return;
    }
    MPicture::keyPressEvent(e);
}

void MouseCtrl::paintEvent(QPaintEvent* e) {
    MPicture::paintEvent(e);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < GetItemCount(); ++i) {
        const Item& item = items_[i];
        const bool selected = i == selected_;
        const bool hover = i == hover_;
        QPointF labelEnd, buttonEnd;
        bool onLeft;
        Ends(item, &labelEnd, &buttonEnd, &onLeft);
        const QColor accent = selected
                                  ? SelectColor()
                                  : (hover ? ToQColor(kColorText) : ToQColor(kColorTextSecondary));
        QPen pen(accent, selected ? 1.6 : 1.2);
        if (item.dashed) {
            pen.setStyle(Qt::DashLine);
        }
        p.setPen(pen);
        p.drawLine(labelEnd, buttonEnd);
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(buttonEnd, 3.5, 3.5);

        const QRectF label = GetLabelRect(i);
        QColor fill = ToQColor(selected ? kColorPanelLight : kColorPanel);
        DrawPanel(p, label, fill, accent, label.height() / 2);
        const QColor text = selected ? SelectColor() : ToQColor(kColorText);
        DrawText(p, label.adjusted(8, 0, -8, 0), &item.text, &text, kAlignCenter | kAlignElide);
    }
}

}  // namespace DUI
