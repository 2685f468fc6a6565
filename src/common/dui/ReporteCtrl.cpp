#include "common/dui/ReporteCtrl.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace DUI {

ReporteCtrl::ReporteCtrl() {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetAlign(kAlignCenter);
}

int ReporteCtrl::AddItem(std::u16string_view text, int value, COLORREF colour) {
    items_.push_back({std::u16string(text), value, colour & 0xFFFFFF});
    update();
    return int(items_.size()) - 1;
}

void ReporteCtrl::DeleteAllItems() {
    items_.clear();
    selected_ = -1;
    hover_ = -1;
    update();
}

void ReporteCtrl::SetItemText(int index, std::u16string_view text) {
    if (Valid(index)) {
        items_[index].text = text;
        update();
    }
}

std::u16string ReporteCtrl::GetItemText(int index) const {
    return Valid(index) ? items_[index].text : std::u16string();
}

int ReporteCtrl::GetItemValue(int index) const {
    return Valid(index) ? items_[index].value : -1;
}

void ReporteCtrl::SetSelectItem(int index) {
    selected_ = Valid(index) ? index : -1;
    update();
}

bool ReporteCtrl::SetSelectItemValue(int value) {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (items_[i].value == value) {
            SetSelectItem(i);
            return true;
        }
    }
    SetSelectItem(-1);
    return false;
}

int ReporteCtrl::GetSelectItemValue() const {
    return GetItemValue(selected_);
}

QRect ReporteCtrl::GetItemRect(int index) const {
    if (!Valid(index)) {
        return {};
    }
    const int n = GetItemCount();
    const int gap = 6;
    const int w = (width() - gap * (n - 1)) / n;
    return QRect(index * (w + gap), 0, w, height());
}

int ReporteCtrl::HitTest(QPoint pos) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (GetItemRect(i).contains(pos)) {
            return i;
        }
    }
    return -1;
}

void ReporteCtrl::Choose(int index) {
    if (!Valid(index) || index == selected_) {
        return;
    }
    SetSelectItem(index);
    Notify(kNotifyClick, WPARAM(index), 0);
}

void ReporteCtrl::OnClick(QPoint pos) {
    Choose(HitTest(pos));
}

void ReporteCtrl::mouseMoveEvent(QMouseEvent* e) {
    const int hit = HitTest(e->position().toPoint());
    if (hit != hover_) {
        hover_ = hit;
        update();
    }
    MControlFont::mouseMoveEvent(e);
}

void ReporteCtrl::leaveEvent(QEvent* e) {
    hover_ = -1;
    MControlFont::leaveEvent(e);
}

void ReporteCtrl::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Left || e->key() == Qt::Key_Right) && GetItemCount() > 0) {
        e->accept();
        Choose(std::clamp(selected_ + (e->key() == Qt::Key_Left ? -1 : 1), 0, GetItemCount() - 1));
        return;
    }
    MControlFont::keyPressEvent(e);
}

void ReporteCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < GetItemCount(); ++i) {
        const QRectF r = GetItemRect(i);
        const bool selected = i == selected_;
        const int state = !isEnabled() ? 3 : (selected ? 2 : (i == hover_ ? 1 : 0));
        if (DrawSkin(p, r, state)) {
            DrawStateOverlay(p, r, state, GetImageFrames());
        } else {
            QColor fill = ToQColor(kColorPanel);
            if (selected) {
                fill = SelectColor();
                fill.setAlpha(50);
            }
            DrawPanel(p, r, fill,
                      selected
                          ? SelectColor()
                          : (state == 1 ? ToQColor(kColorTextSecondary) : ToQColor(kColorBorder)),
                      6);
        }
        const QString text = QString::fromStdU16String(items_[i].text);
        const qreal textWidth = QFontMetricsF(Font()).horizontalAdvance(text);
        const qreal dot = 8;
        const qreal left = r.center().x() - (textWidth + dot + 6) / 2;
        QColor dotColour = FromColorRef(items_[i].colour);
        if (state == 3) {
            dotColour = dotColour.darker(250);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(dotColour);
        p.drawEllipse(QPointF(left + dot / 2, r.center().y()), dot / 2, dot / 2);
        const QColor colour = state == 3 ? ToQColor(kColorTextDisabled)
                              : selected ? ToQColor(kColorText)
                                         : ToQColor(kColorTextSecondary);
        DrawText(p, QRectF(left + dot + 6, r.top(), textWidth + 2, r.height()), &items_[i].text,
                 &colour, kAlignLeft);
    }
    if (hasFocus() && Valid(selected_)) {
        DrawFocusRing(p, GetItemRect(selected_), 6);
    }
}

}  // namespace DUI
