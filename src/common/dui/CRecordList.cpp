#include "common/dui/CRecordList.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QPainter>
#include <QPointer>

namespace DUI {

CRecordList::CRecordList() {
    SetItemHeight(32);
}

int CRecordList::AddItem(std::u16string_view text, int kind, int value, int timeStamp) {
    return InsertItem(GetCount(), text, kind, value, timeStamp);
}

int CRecordList::InsertItem(int index, std::u16string_view text, int kind, int value,
                            int timeStamp) {
    const bool append = index < 0 || index >= GetCount();
    if (append) {
        index = GetCount();
    }
    items_.insert(items_.begin() + index, RecordItem{std::u16string(text), kind, value, timeStamp});
    const int selected = GetSelectItem();
    if (selected >= index && !append) {
        SetSelectItem(selected + 1);
    }
    RowsChanged();
    if (append) {
        EnsureVisible(index);
    }
    return index;
}

void CRecordList::DeleteItem(int index) {
    if (!Valid(index)) {
        return;
    }
    items_.erase(items_.begin() + index);
    RowRemoved(index);
}

void CRecordList::DeleteAllItems() {
    items_.clear();
    SetSelectItem(-1);
    RowsChanged();
}

RecordItem CRecordList::GetItem(int index) const {
    return Valid(index) ? items_[index] : RecordItem{};
}

void CRecordList::SetItem(int index, const RecordItem& item) {
    if (Valid(index)) {
        items_[index] = item;
        update();
    }
}

std::u16string CRecordList::GetItemText(int index) const {
    return GetItem(index).text;
}

void CRecordList::SetItemText(int index, std::u16string_view text) {
    if (Valid(index)) {
        items_[index].text = text;
        update();
    }
}

int CRecordList::GetItemKind(int index) const {
    return GetItem(index).kind;
}
int CRecordList::GetItemValue(int index) const {
    return GetItem(index).value;
}
int CRecordList::GetItemTimeStamp(int index) const {
    return GetItem(index).timeStamp;
}

int CRecordList::FindItem(int timeStamp, int kind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[i].timeStamp == timeStamp && items_[i].kind == kind) {
            return i;
        }
    }
    return -1;
}

bool CRecordList::SwapItems(int first, int second) {
    if (!Valid(first) || !Valid(second)) {
        return false;
    }
    std::swap(items_[first], items_[second]);
    const int selected = GetSelectItem();
    if (selected == first) {
        SetSelectItem(second);
    } else if (selected == second) {
        SetSelectItem(first);
    }
    update();
    return true;
}

bool CRecordList::MoveItem(int from, int to) {
    if (!Valid(from) || !Valid(to)) {
        return false;
    }
    const bool followed = GetSelectItem() == from;
    RecordItem item = items_[from];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    if (followed) {
        SetSelectItem(to);
    }
    update();
    return true;
}

void CRecordList::SetItemImage(std::u16string_view name) {
    itemImage_ = name;
    update();
}

void CRecordList::SetMoreImage(std::u16string_view name) {
    moreImage_ = name;
    update();
}

QRect CRecordList::GetMoreRect(int index) const {
    const QRect row = GetItemRect(index);
    if (row.isEmpty()) {
        return {};
    }
    const int side = std::min(row.height() - 6, 24);
    return QRect(row.right() - side - 6, row.center().y() - side / 2, side, side);
}

void CRecordList::OnRowClick(int index, QPoint pos) {
    const QPoint inControl = pos + GetItemRect(index).topLeft();
    if (!GetMoreRect(index).contains(inControl)) {
        MListBase::OnRowClick(index, pos);
        return;
    }
    QPointer<CRecordList> self(this);
    if (GetSelectItem() != index) {
        SetSelectItem(index);
        Notify(kNotifyClick, WPARAM(index), 0);
        if (!self) {
            return;
        }
    }
    Notify(kNotifySecondary, WPARAM(index), 0);
}

void CRecordList::PaintRow(QPainter& p, const QRect& r, int index, bool selected, bool hover) {
    const RecordItem& item = items_[index];
    const QRectF row = QRectF(r).adjusted(0, 1, 0, -1);
    if (selected || hover) {
        QColor fill = selected ? SelectColor() : ToQColor(kColorPanelLight);
        if (selected) {
            fill.setAlpha(50);
        }
        DrawPanel(p, row, fill, QColor(), 5);
    }
    const qreal iconSide = std::min<qreal>(16, row.height() - 10);
    const QRectF icon(row.left() + 10, row.center().y() - iconSide / 2, iconSide, iconSide);
    if (!DrawImage(p, itemImage_, icon, 0, 1, kDrawCenter)) {
        // Delays grey, presses in the highlight colour, releases white.
        const QColor mark = item.kind == 1                     ? ToQColor(kColorTextSecondary)
                            : item.kind == 2 || item.kind == 4 ? SelectColor()
                                                               : ToQColor(kColorText);
        DrawPanel(p, icon.adjusted(3, 3, -3, -3), mark, QColor(), 2);
    }
    const QRect more = GetMoreRect(index);
    const QColor colour = !isEnabled() ? ToQColor(kColorTextDisabled) : ToQColor(kColorText);
    DrawText(p, QRectF(icon.right() + 10, row.top(), more.left() - icon.right() - 14, row.height()),
             &item.text, &colour, kAlignLeft | kAlignElide);
    if (selected || hover) {
        const bool overMore = hover && more.contains(mapFromGlobal(QCursor::pos()));
        if (!DrawImage(p, moreImage_, more, overMore ? 1 : 0, 4)) {
            DrawGlyph(p, more, Glyph::More,
                      overMore ? ToQColor(kColorText) : ToQColor(kColorTextSecondary));
        }
    }
}

}  // namespace DUI
