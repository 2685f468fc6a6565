#include "common/dui/DListBox.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>

namespace DUI {

DListBox::DListBox() : edit_(new QLineEdit(this)) {
    edit_->hide();
    edit_->setFrame(false);
    edit_->installEventFilter(this);
    QObject::connect(edit_, &QLineEdit::returnPressed, this, [this] { EndEdit(true); });
}

int DListBox::AddItem(std::u16string_view text, std::intptr_t itemData) {
    return InsertItem(GetCount(), text, itemData);
}

int DListBox::InsertItem(int index, std::u16string_view text, std::intptr_t itemData) {
    EndEdit(false);
    index = std::clamp(index, 0, GetCount());
    items_.insert(items_.begin() + index, Item{std::u16string(text), itemData});
    if (GetSelectItem() >= index) {
        SetSelectItem(GetSelectItem() + 1);
    }
    RowsChanged();
    return index;
}

void DListBox::DeleteItem(int index) {
    if (!Valid(index)) {
        return;
    }
    EndEdit(false);
    items_.erase(items_.begin() + index);
    RowRemoved(index);
}

void DListBox::DeleteAllItems() {
    EndEdit(false);
    items_.clear();
    SetSelectItem(-1);
    RowsChanged();
}

std::u16string DListBox::GetItemText(int index) const {
    return Valid(index) ? items_[index].text : std::u16string();
}

void DListBox::SetItemText(int index, std::u16string_view text) {
    if (Valid(index)) {
        items_[index].text = text;
        update();
    }
}

std::intptr_t DListBox::GetItemData(int index) const {
    return Valid(index) ? items_[index].data : 0;
}

void DListBox::SetItemData(int index, std::intptr_t itemData) {
    if (Valid(index)) {
        items_[index].data = itemData;
    }
}

int DListBox::FindItemByData(std::intptr_t itemData) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[i].data == itemData) {
            return i;
        }
    }
    return -1;
}

void DListBox::SetEditable(bool editable) {
    editable_ = editable;
    if (!editable) {
        EndEdit(false);
    }
    update();
}

void DListBox::SetEditImage(std::u16string_view name) {
    editImage_ = name;
    update();
}

QRect DListBox::GetEditMarkRect(int index) const {
    const QRect row = GetItemRect(index);
    if (!editable_ || row.isEmpty()) {
        return {};
    }
    const int side = std::min(row.height() - 8, 24);
    return QRect(row.right() - side - 6, row.center().y() - side / 2, side, side);
}

void DListBox::OnRowClick(int index, QPoint pos) {
    const QPoint inControl = pos + GetItemRect(index).topLeft();
    if (editable_ && GetEditMarkRect(index).contains(inControl)) {
        EditItem(index);
        return;
    }
    MListBase::OnRowClick(index, pos);
}

void DListBox::OnRowDoubleClick(int index, QPoint) {
    if (editable_) {
        EditItem(index);
    }
}

void DListBox::EditItem(int index) {
    if (!editable_ || !Valid(index)) {
        return;
    }
    EndEdit(true);
    SetSelectItem(index);
    editing_ = index;
    const QRect row = GetItemRect(index);
    edit_->setGeometry(row.adjusted(6, 4, -6, -4));
    StyleInPlaceEditor(*edit_, Font());
    edit_->setText(QString::fromStdU16String(items_[index].text));
    edit_->show();
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
    update();
}

void DListBox::EndEdit(bool commit) {
    if (editing_ < 0) {
        return;
    }
    const int index = editing_;
    editing_ = -1;
    editText_ = edit_->text().toStdU16String();
    const bool hadFocus = edit_->hasFocus();
    edit_->hide();
    if (hadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
    update();
    if (commit && Valid(index)) {
        items_[index].text = editText_;
        Notify(kNotifyEditFinished, WPARAM(index), 0);
    }
}

bool DListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::FocusOut) {
            EndEdit(true);
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            EndEdit(false);
            return true;
        }
    }
    return MListBase::eventFilter(watched, event);
}

void DListBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F2 && editable_ && GetSelectItem() >= 0) {
        e->accept();
        EditItem(GetSelectItem());
        return;
    }
    MListBase::keyPressEvent(e);
}

void DListBox::wheelEvent(QWheelEvent* e) {
    EndEdit(true);
    MListBase::wheelEvent(e);
}

void DListBox::PaintRow(QPainter& p, const QRect& r, int index, bool selected, bool hover) {
    const QRectF row = QRectF(r).adjusted(0, 1, 0, -1);
    if (selected || hover) {
        QColor fill = selected ? SelectColor() : ToQColor(kColorPanelLight);
        if (selected) {
            fill.setAlpha(50);
        }
        DrawPanel(p, row, fill, QColor(), 5);
    }
    const QRect mark = GetEditMarkRect(index);
    const qreal right = editable_ ? mark.left() - 4 : row.right() - 10;
    if (index != editing_) {
        const QColor colour = !isEnabled() ? ToQColor(kColorTextDisabled)
                              : selected   ? SelectColor()
                                           : ToQColor(kColorText);
        DrawText(p, QRectF(row.left() + 10, row.top(), right - row.left() - 10, row.height()),
                 &items_[index].text, &colour, (GetAlign() & 0x3) | kAlignElide);
    }
    if (editable_ && (selected || hover) && index != editing_) {
        const int state = hover ? 1 : 0;
        if (!DrawImage(p, editImage_, mark, state, 4)) {
            DrawGlyph(p, mark, Glyph::Edit,
                      hover ? ToQColor(kColorText) : ToQColor(kColorTextSecondary));
        }
    }
}

MacroList::MacroList() {
    SetEditable(true);
    SetEditImage(u"btn_more.png");
}

}  // namespace DUI
