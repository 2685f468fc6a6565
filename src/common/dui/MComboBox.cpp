#include "common/dui/MComboBox.h"

#include "common/dui/Look.h"
#include "common/dui/MWindow.h"
#include "common/dui/Manager.h"
#include "common/dui/PopupList.h"

#include <QDateTime>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace DUI {

MComboBox::MComboBox() {
    setFocusPolicy(Qt::StrongFocus);
    SetImageMode(kDrawBorders, 6);
}

MComboBox::~MComboBox() = default;

int MComboBox::AddItem(std::u16string_view text, std::intptr_t itemData) {
    return InsertItem(GetCount(), text, itemData);
}

int MComboBox::InsertItem(int index, std::u16string_view text, std::intptr_t itemData) {
    index = std::clamp(index, 0, GetCount());
    items_.insert(items_.begin() + index, Item{std::u16string(text), itemData});
    if (current_ >= index) {
        ++current_;
    }
    update();
    return index;
}

void MComboBox::DeleteItem(int index) {
    if (!Valid(index)) {
        return;
    }
    items_.erase(items_.begin() + index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
    update();
}

void MComboBox::DeleteAllItems() {
    items_.clear();
    current_ = -1;
    ClosePopup();
    update();
}

void MComboBox::SetCurSel(int index) {
    current_ = Valid(index) ? index : -1;
    update();
}

bool MComboBox::SelectData(std::intptr_t itemData) {
    const int index = FindItemByData(itemData);
    SetCurSel(index);
    return index >= 0;
}

std::intptr_t MComboBox::GetCurData() const {
    return Valid(current_) ? items_[current_].data : 0;
}

std::u16string MComboBox::GetCurText() const {
    return Valid(current_) ? items_[current_].text : std::u16string();
}

std::u16string MComboBox::GetItemText(int index) const {
    return Valid(index) ? items_[index].text : std::u16string();
}

void MComboBox::SetItemText(int index, std::u16string_view text) {
    if (Valid(index)) {
        items_[index].text = text;
        update();
    }
}

std::intptr_t MComboBox::GetItemData(int index) const {
    return Valid(index) ? items_[index].data : 0;
}

void MComboBox::SetItemData(int index, std::intptr_t itemData) {
    if (Valid(index)) {
        items_[index].data = itemData;
    }
}

int MComboBox::FindItemByData(std::intptr_t itemData) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (items_[i].data == itemData) {
            return i;
        }
    }
    return -1;
}

void MComboBox::SetDropRows(int rows) {
    dropRows_ = std::max(1, rows);
}

bool MComboBox::IsDroppedDown() const {
    return popup_ && popup_->IsWindowVisible();
}

void MComboBox::ClosePopup() {
    if (popup_) {
        // The window goes at once; the object may be running the handler that closes it.
        popup_->DestroyWindow();
        PopupWindow* old = popup_.release();
        QTimer::singleShot(0, [old] { delete old; });
        update();
    }
}

void MComboBox::ShowDropDown(bool show) {
    if (!show) {
        ClosePopup();
        return;
    }
    if (IsDroppedDown() || GetCount() == 0 || !GetWindow()) {
        return;
    }
    ClosePopup();
    const int rowHeight = std::max(24, height());
    const int rows = std::min(GetCount(), dropRows_);
    const int h = rows * rowHeight + 8;
    QPoint below = mapToGlobal(QPoint(0, height() + 2));
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (below.y() + h > area.bottom() && mapToGlobal(QPoint(0, 0)).y() - h - 2 >= area.top()) {
            below = mapToGlobal(QPoint(0, -h - 2));
        }
    }
    popup_ = std::make_unique<PopupWindow>();
    if (!popup_->Create(GetWindow(), u"ComboWnd", WS_POPUP, 0,
                        {below.x(), below.y(), below.x() + width(), below.y() + h})) {
        popup_.reset();
        return;
    }
    PopupList* list = popup_->List();
    list->SetItemHeight(rowHeight);
    list->SetFontName(GetFontName());
    list->SetFontSize(GetFontSize());
    for (const Item& item : items_) {
        list->rows.push_back({item.text, 0, true});
    }
    list->checked = current_;
    list->SetSelectItem(current_ >= 0 ? current_ : 0);
    QPointer<MComboBox> self(this);
    list->onChoose = [self](int index) {
        if (!self) {
            return;
        }
        self->ClosePopup();
        self->OnPick(index);
    };
    list->onCancel = [self] {
        if (self) {
            self->ClosePopup();
        }
    };
    popup_->onClosed = [self] {
        if (self) {
            self->closedOutsideAt_ = QDateTime::currentMSecsSinceEpoch();
            self->ClosePopup();
        }
    };
    popup_->ShowWindow(SW_SHOW);
    list->SetFocus();
    update();
}

void MComboBox::OnPick(int index) {
    SetCurSel(index);
    Notify(kNotifyClick, WPARAM(index), 0);
}

void MComboBox::OnClick(QPoint) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (closedOutsideAt_ >= 0 && now - closedOutsideAt_ < 400) {
        closedOutsideAt_ = -1;
        return;
    }
    ShowDropDown(!IsDroppedDown());
}

void MComboBox::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
        key == Qt::Key_F4 || (key == Qt::Key_Down && (e->modifiers() & Qt::AltModifier))) {
        e->accept();
        ShowDropDown(true);
        return;
    }
    int next = current_;
    if (key == Qt::Key_Up) {
        next = current_ <= 0 ? 0 : current_ - 1;
    } else if (key == Qt::Key_Down) {
        next = current_ + 1;
    } else if (key == Qt::Key_Home) {
        next = 0;
    } else if (key == Qt::Key_End) {
        next = GetCount() - 1;
    } else {
        MControlFont::keyPressEvent(e);
        return;
    }
    e->accept();
    next = std::clamp(next, 0, GetCount() - 1);
    if (Valid(next) && next != current_) {
        OnPick(next);
    }
}

void MComboBox::focusInEvent(QFocusEvent* e) {
    keyboardFocus_ = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason;
    update();
    MControlFont::focusInEvent(e);
}

void MComboBox::focusOutEvent(QFocusEvent* e) {
    if (e->reason() != Qt::PopupFocusReason) {
        keyboardFocus_ = false;
    }
    update();
    MControlFont::focusOutEvent(e);
}

void MComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const int state = !isEnabled() ? 3 : (IsDroppedDown() || IsPressed() ? 2 : (IsHover() ? 1 : 0));
    if (!DrawSkin(p, r, state)) {
        DrawFieldFace(p, r, state);
    }
    const qreal lead = LeadingWidth();
    if (lead > 0) {
        PaintLeading(p, QRectF(r.left(), r.top(), lead, r.height()));
    }
    const qreal arrow = std::min<qreal>(r.height(), 28);
    DrawGlyph(p, QRectF(r.right() - arrow, r.top(), arrow - 4, r.height()),
              IsDroppedDown() ? Glyph::ArrowUp : Glyph::ArrowDown,
              state == 3 ? ToQColor(kColorTextDisabled) : ToQColor(kColorTextSecondary));
    const QRectF textRect(r.left() + lead + 10, r.top(), r.width() - lead - 10 - arrow, r.height());
    if (Valid(current_)) {
        DrawText(p, textRect, &items_[current_].text, nullptr, kAlignLeft | kAlignElide);
    } else if (!GetTitle().empty()) {
        const QColor dim = ToQColor(kColorTextSecondary);
        DrawText(p, textRect, nullptr, &dim, kAlignLeft | kAlignElide);
    }
    if (keyboardFocus_ && hasFocus()) {
        DrawFocusRing(p, r);
    }
}

// --- MComboBox2 ------------------------------------------------------------------------------

qreal MComboBox2::LeadingWidth() const {
    return std::min<qreal>(height(), 30);
}

void MComboBox2::PaintLeading(QPainter& p, const QRectF& r) {
    const qreal side = std::min<qreal>(16, r.height() - 8);
    const QRectF box(r.center().x() - side / 2 + 2, r.center().y() - side / 2, side, side);
    DrawCheckBox(p, box, isEnabled() ? (IsHover() ? 1 : 0) : 3, GetCheck(), true);
}

void MComboBox2::OnPick(int index) {
    SetCheck(true);
    MComboBox::OnPick(index);
}

void MComboBox2::OnClick(QPoint pos) {
    if (pos.x() < LeadingWidth()) {
        SetCheck(true);
        Notify(kNotifyClick, WPARAM(GetCurSel()), 0);
        return;
    }
    MComboBox::OnClick(pos);
}

}  // namespace DUI
