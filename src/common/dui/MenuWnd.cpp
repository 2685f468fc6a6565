#include "common/dui/MenuWnd.h"

#include "common/dui/PopupList.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace DUI {

namespace {
constexpr int kRowHeight = 30;
constexpr int kPadding = 4;
}  // namespace

MenuWnd::MenuWnd() = default;
MenuWnd::~MenuWnd() = default;

void MenuWnd::OnCreateFlags(Qt::WindowFlags& flags) {
    flags = Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
}

bool MenuWnd::Create(MWindow* parent, MPoint screenPoint, UINT message, int width) {
    parent_ = parent ? parent->GetSafeHwnd() : nullptr;
    message_ = message;
    origin_ = screenPoint;
    width_ = std::max(40, width);
    return MWindow::Create(parent, kTitle, WS_POPUP, WS_EX_TOOLWINDOW,
                           {screenPoint.x, screenPoint.y, screenPoint.x + width_,
                            screenPoint.y + kRowHeight + 2 * kPadding});
}

void MenuWnd::InitUI(const MRect& client) {
    list_ = static_cast<PopupList*>(CreateControl("PopupList", 1, client));
    if (!list_) {
        return;
    }
    list_->SetItemHeight(kRowHeight);
    list_->onChoose = [this](int index) { ChooseIndex(index); };
    list_->onCancel = [this] { Close(); };
}

void MenuWnd::UISize(const MRect& client) {
    if (list_) {
        list_->SetRect(client);
    }
}

void MenuWnd::AddMenu(std::u16string_view text, int itemId, bool enabled) {
    items_.push_back({std::u16string(text), itemId, enabled});
    if (list_) {
        list_->rows.push_back({std::u16string(text), itemId, enabled});
        list_->update();
    }
}

bool MenuWnd::ShowWindow(int showCommand) {
    if (showCommand == SW_HIDE) {
        Close();
        return true;
    }
    QWidget* widget = GetWidget();
    if (!widget) {
        return false;
    }
    const int h = std::max(1, int(items_.size())) * kRowHeight + 2 * kPadding;
    QPoint pos(origin_.x, origin_.y);
    if (QScreen* screen = QGuiApplication::screenAt(pos) ? QGuiApplication::screenAt(pos)
                                                         : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - width_)));
        if (pos.y() + h > area.bottom()) {
            pos.setY(std::max(area.top(), pos.y() - h));
        }
    }
    MoveWindow(pos.x(), pos.y(), width_, h);
    const bool wasVisible = MWindow::ShowWindow(showCommand);
    if (list_) {
        list_->SetFocus();
    }
    return wasVisible;
}

void MenuWnd::ChooseIndex(int index) {
    if (closing_ || index < 0 || index >= int(items_.size()) || !items_[index].enabled) {
        return;
    }
    const int id = items_[index].id;
    // Posted, so the menu is gone before the parent acts on the choice.
    DUI::PostMessage(parent_, message_, WPARAM(id), LPARAM(id));
    Close();
}

LRESULT MenuWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Close();
        return 0;
    }
    return MWindow::OnWindowMessage(message, wParam, lParam);
}

void MenuWnd::OnWidgetClosed() {
    Close();
}

void MenuWnd::Close() {
    if (closing_) {
        return;
    }
    closing_ = true;
    DestroyWindow();
    if (autoDelete_) {
        // Not now: the call may come from one of the menu's own handlers.
        QTimer::singleShot(0, [alive = alive_, this] {
            if (*alive) {
                delete this;
            }
        });
    }
}

}  // namespace DUI
