#include "common/dui/MTabCtrl.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"
#include "common/dui/SkinImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace DUI {

MTabCtrl::MTabCtrl() {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    SetFont(16);
}

int MTabCtrl::AddItem(std::u16string_view text, std::u16string_view icon, std::intptr_t itemData) {
    Item item;
    item.text = text;
    item.icon = icon;
    item.data = itemData;
    items_.push_back(std::move(item));
    update();
    return int(items_.size()) - 1;
}

void MTabCtrl::DeleteAllItems() {
    items_.clear();
    selected_ = -1;
    hovered_ = -1;
    update();
}

void MTabCtrl::SetItemText(int pos, std::u16string_view text) {
    if (Valid(pos)) {
        items_[pos].text = text;
        update();
    }
}

std::u16string MTabCtrl::GetItemText(int pos) const {
    return Valid(pos) ? items_[pos].text : std::u16string();
}

void MTabCtrl::SetItemIcon(int pos, std::u16string_view icon) {
    if (Valid(pos)) {
        items_[pos].icon = icon;
        update();
    }
}

void MTabCtrl::SetItemData(int pos, std::intptr_t itemData) {
    if (Valid(pos)) {
        items_[pos].data = itemData;
    }
}

std::intptr_t MTabCtrl::GetItemData(int pos) const {
    return Valid(pos) ? items_[pos].data : 0;
}

int MTabCtrl::FindItemByData(std::intptr_t itemData) const {
    for (int i = 0; i < int(items_.size()); ++i) {
        if (items_[i].data == itemData) {
            return i;
        }
    }
    return -1;
}

void MTabCtrl::SetItemVisible(int pos, bool visible) {
    if (Valid(pos)) {
        items_[pos].visible = visible;
        update();
    }
}

bool MTabCtrl::IsItemVisible(int pos) const {
    return Valid(pos) && items_[pos].visible;
}

void MTabCtrl::SetItemEnabled(int pos, bool enabled) {
    if (Valid(pos)) {
        items_[pos].enabled = enabled;
        update();
    }
}

void MTabCtrl::SetItemPage(int pos, MControl* page) {
    if (Valid(pos)) {
        items_[pos].page = page;
        ShowPages();
    }
}

void MTabCtrl::ShowPages() {
    if (!Valid(selected_)) {
        return;
    }
    // Hide first, then show: two tabs may share a page.
    for (int i = 0; i < int(items_.size()); ++i) {
        if (i != selected_ && items_[i].page && items_[i].page != items_[selected_].page) {
            items_[i].page->SetVisible(false);
        }
    }
    if (items_[selected_].page) {
        items_[selected_].page->SetVisible(true);
    }
}

void MTabCtrl::SetSelectItem(int pos) {
    selected_ = Valid(pos) ? pos : -1;
    ShowPages();
    update();
}

void MTabCtrl::SetItemSize(int width, int height) {
    itemSize_ = QSize(width, height);
    update();
}

void MTabCtrl::SetVertical(bool vertical) {
    vertical_ = vertical;
    update();
}

QRect MTabCtrl::GetItemRect(int pos) const {
    if (!Valid(pos) || !items_[pos].visible) {
        return {};
    }
    QSize size = itemSize_;
    if (size.isEmpty()) {
        size = vertical_ ? QSize(width(), 60) : QSize(120, height());
    }
    int index = 0;
    for (int i = 0; i < pos; ++i) {
        index += items_[i].visible ? 1 : 0;
    }
    return vertical_ ? QRect(0, index * size.height(), size.width(), size.height())
                     : QRect(index * size.width(), 0, size.width(), size.height());
}

int MTabCtrl::HitTest(QPoint pos) const {
    for (int i = 0; i < int(items_.size()); ++i) {
        if (items_[i].visible && GetItemRect(i).contains(pos)) {
            return i;
        }
    }
    return -1;
}

void MTabCtrl::Choose(int pos) {
    if (!Valid(pos) || pos == selected_ || !items_[pos].visible || !items_[pos].enabled) {
        return;
    }
    SetSelectItem(pos);
    Notify(kNotifyClick, WPARAM(pos), 0);
}

void MTabCtrl::OnClick(QPoint pos) {
    Choose(HitTest(pos));
}

void MTabCtrl::mouseMoveEvent(QMouseEvent* e) {
    const int hit = HitTest(e->position().toPoint());
    if (hit != hovered_) {
        hovered_ = hit;
        update();
    }
    MControlFont::mouseMoveEvent(e);
}

void MTabCtrl::leaveEvent(QEvent* e) {
    hovered_ = -1;
    MControlFont::leaveEvent(e);
}

void MTabCtrl::keyPressEvent(QKeyEvent* e) {
    const bool back = e->key() == (vertical_ ? Qt::Key_Up : Qt::Key_Left);
    const bool forward = e->key() == (vertical_ ? Qt::Key_Down : Qt::Key_Right);
    if (!back && !forward) {
        MControlFont::keyPressEvent(e);
        return;
    }
    e->accept();
    for (int i = selected_ + (forward ? 1 : -1); Valid(i); i += forward ? 1 : -1) {
        if (items_[i].visible && items_[i].enabled) {
            Choose(i);
            return;
        }
    }
}

void MTabCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < int(items_.size()); ++i) {
        const Item& item = items_[i];
        if (!item.visible) {
            continue;
        }
        const QRectF r = GetItemRect(i);
        const bool enabled = isEnabled() && item.enabled;
        const int state = !enabled ? 3 : (i == selected_ ? 2 : (i == hovered_ ? 1 : 0));
        if (DrawSkin(p, r, state)) {
            if (GetImageFrames() < 3 && state == 2) {
                p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), SelectColor());
            }
        } else {
            if (state == 2) {
                p.fillRect(r, ToQColor(kColorPanelLight));
                p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), SelectColor());
            } else if (state == 1) {
                p.fillRect(r, ToQColor(kColorPanel));
            }
        }
        qreal x = r.left() + 28;
        if (!item.icon.empty()) {
            auto icon = Manager::GetImage(item.icon);
            QSizeF size(22, 22);
            if (!icon->IsNull()) {
                size = QSizeF(icon->Size());
                const qreal maxSide = std::max<qreal>(8, r.height() - 24);
                if (size.height() > maxSide) {
                    size.scale(maxSide, maxSide, Qt::KeepAspectRatio);
                }
                icon->Draw(
                    p, QRectF(x, r.center().y() - size.height() / 2, size.width(), size.height()),
                    0, 1, kDrawStretch);
            } else {
                DrawPanel(p, QRectF(x, r.center().y() - 9, 18, 18), QColor(),
                          state == 2 ? SelectColor() : ToQColor(kColorTextSecondary), 4);
            }
            x += size.width() + 14;
        }
        const QColor colour = !enabled     ? ToQColor(kColorTextDisabled)
                              : state >= 1 ? ToQColor(kColorText)
                                           : ToQColor(kColorTextSecondary);
        DrawText(p, QRectF(x, r.top(), r.right() - x - 8, r.height()), &item.text, &colour,
                 kAlignLeft | kAlignElide);
    }
    if (hasFocus() && Valid(selected_)) {
        DrawFocusRing(p, GetItemRect(selected_), 2);
    }
}

}  // namespace DUI
