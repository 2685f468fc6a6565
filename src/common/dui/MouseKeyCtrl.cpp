#include "common/dui/MouseKeyCtrl.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QKeyEvent>
#include <QPainter>

namespace DUI {

MouseKeyCtrl::MouseKeyCtrl() {
    SetItemHeight(45);
}

void MouseKeyCtrl::DeleteAllItems() {
    items_.clear();
    SetSelectItem(-1);
    RowsChanged();
}

int MouseKeyCtrl::AddItem(std::u16string_view name, std::u16string_view desc, int keyValue) {
    items_.push_back({std::u16string(name), std::u16string(desc), keyValue});
    RowsChanged();
    return GetCount() - 1;
}

void MouseKeyCtrl::SetItemText(int index, std::u16string_view name) {
    if (Valid(index)) {
        items_[index].name = name;
        update();
    }
}

std::u16string MouseKeyCtrl::GetItemKeyName(int index) const {
    return Valid(index) ? items_[index].name : std::u16string();
}

void MouseKeyCtrl::SetItemDesc(int index, std::u16string_view desc) {
    if (Valid(index)) {
        items_[index].desc = desc;
        update();
    }
}

std::u16string MouseKeyCtrl::GetItemDesc(int index) const {
    return Valid(index) ? items_[index].desc : std::u16string();
}

bool MouseKeyCtrl::SetItemKeyDesc(int keyValue, std::u16string_view desc) {
    const int index = FindItemByKeyValue(keyValue);
    SetItemDesc(index, desc);
    return index >= 0;
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    return Valid(index) ? items_[index].keyValue : 0;
}

int MouseKeyCtrl::FindItemByKeyValue(int keyValue) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[i].keyValue == keyValue) {
            return i;
        }
    }
    return -1;
}

void MouseKeyCtrl::OnRowClick(int index, QPoint) {
    const int next = index == GetSelectItem() ? -1 : index;
    SetSelectItem(next);
    Notify(kNotifyClick, WPARAM(next), 0);
}

void MouseKeyCtrl::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && GetSelectItem() >= 0) {
        e->accept();
        SetSelectItem(-1);
        Notify(kNotifyClick, WPARAM(-1), 0);
        return;
    }
    MListBase::keyPressEvent(e);
}

void MouseKeyCtrl::PaintRow(QPainter& p, const QRect& r, int index, bool selected, bool hover) {
    const Item& item = items_[index];
    const QRectF row = QRectF(r).adjusted(0, 2, 0, -2);
    if (selected || hover) {
        QColor fill = selected ? SelectColor() : ToQColor(kColorPanelLight);
        if (selected) {
            fill.setAlpha(45);
        }
        DrawPanel(p, row, fill, selected ? SelectColor() : QColor(), 6);
    }
    const QRectF inner = row.adjusted(12, 0, -12, 0);
    const QColor nameColour = isEnabled() ? ToQColor(kColorText) : ToQColor(kColorTextDisabled);
    DrawText(p, QRectF(inner.left(), inner.top(), inner.width() * 0.5, inner.height()), &item.name,
             &nameColour, kAlignLeft | kAlignElide);
    const QColor descColour = !isEnabled() ? ToQColor(kColorTextDisabled)
                              : selected   ? SelectColor()
                                           : ToQColor(kColorTextSecondary);
    DrawText(p,
             QRectF(inner.left() + inner.width() * 0.5, inner.top(), inner.width() * 0.5,
                    inner.height()),
             &item.desc, &descColour, kAlignRight | kAlignElide);
}

}  // namespace DUI
