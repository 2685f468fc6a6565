#include "common/dui/PopupList.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace DUI {

PopupList::PopupList() {
    SetItemHeight(30);
}

void PopupList::Choose(int index) {
    if (index < 0 || index >= GetCount() || !rows[index].enabled) {
        return;
    }
    if (onChoose) {
        // The handler usually closes the pop-up; keep the function alive while it runs.
        auto handler = onChoose;
        handler(index);
    }
}

void PopupList::OnRowClick(int index, QPoint) {
    Choose(index);
}

void PopupList::mouseMoveEvent(QMouseEvent* e) {
    MListBase::mouseMoveEvent(e);
    const int hit = HitTest(e->position().toPoint());
    if (hit >= 0 && hit != GetSelectItem()) {
        SetSelectItem(hit);
    }
}

void PopupList::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            e->accept();
            Choose(GetSelectItem());
            return;
        case Qt::Key_Escape:
            e->accept();
            if (onCancel) {
                auto handler = onCancel;
                handler();
            }
            return;
        default:
            MListBase::keyPressEvent(e);
    }
}

void PopupList::PaintRow(QPainter& p, const QRect& r, int index, bool selected, bool hover) {
    const Row& row = rows[index];
    if ((selected || hover) && row.enabled) {
        QColor fill = SelectColor();
        fill.setAlpha(70);
        DrawPanel(p, r, fill, QColor(), 4);
    }
    QColor colour = !row.enabled       ? ToQColor(kColorTextDisabled)
                    : index == checked ? SelectColor()
                                       : ToQColor(kColorText);
    DrawText(p, QRectF(r).adjusted(10, 0, -8, 0), &row.text, &colour, kAlignLeft | kAlignElide);
}

// --- PopupWindow -----------------------------------------------------------------------------

void PopupWindow::OnCreateFlags(Qt::WindowFlags& flags) {
    flags = Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
}

void PopupWindow::InitUI(const MRect& client) {
    list_ = static_cast<PopupList*>(CreateControl("PopupList", 1, client));
    if (list_) {
        list_->SetImageMode(kDrawBorders, 6);
    }
}

void PopupWindow::UISize(const MRect& client) {
    if (list_) {
        list_->SetRect(client);
    }
}

void PopupWindow::OnWidgetClosed() {
    if (onClosed) {
        auto handler = onClosed;
        handler();
    }
}

}  // namespace DUI
