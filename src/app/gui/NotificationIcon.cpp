#include "app/gui/NotificationIcon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

#include "common/dui/DuiTypes.h"

namespace cursorial {

namespace {

QString ToQ(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

}  // namespace

std::u16string IconTip(std::u16string_view appName) {
    std::u16string tip(appName.substr(0, kMaxIconTipLength));
    // A cut between the halves of a surrogate pair would leave half a character.
    if (tip.size() == kMaxIconTipLength && !tip.empty() && tip.back() >= 0xD800 &&
        tip.back() <= 0xDBFF)
        tip.pop_back();
    return tip;
}

SystemTrayIcon::SystemTrayIcon() = default;

SystemTrayIcon::~SystemTrayIcon() {
    Remove();
}

bool SystemTrayIcon::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::Add(const QIcon& icon, std::u16string_view tip, std::u16string_view exitText) {
    if (icon_ || !IsAvailable())
        return;
    menu_ = std::make_unique<QMenu>();
    QAction* exit = menu_->addAction(ToQ(exitText));
    QObject::connect(exit, &QAction::triggered, [this] {
        if (onExitChosen)
            onExitChosen();
    });
    icon_ = std::make_unique<QSystemTrayIcon>(icon);
    icon_->setToolTip(ToQ(IconTip(tip)));
    icon_->setContextMenu(menu_.get());
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         unsigned message = 0;
                         if (reason == QSystemTrayIcon::Trigger)
                             message = DUI::WM_LBUTTONDOWN;
                         else if (reason == QSystemTrayIcon::DoubleClick)
                             message = DUI::WM_LBUTTONDBLCLK;
                         // The context menu (right button) is shown by the tray itself.
                         if (message != 0 && onMouse)
                             onMouse(message);
                     });
    icon_->show();
}

void SystemTrayIcon::Remove() {
    if (!icon_)
        return;
    icon_->hide();
    icon_.reset();
    menu_.reset();
}

bool SystemTrayIcon::IsShown() const {
    return icon_ != nullptr;
}

void SystemTrayIcon::SetExitText(std::u16string_view exitText) {
    if (menu_ && !menu_->actions().isEmpty())
        menu_->actions().front()->setText(ToQ(exitText));
}

}  // namespace cursorial
