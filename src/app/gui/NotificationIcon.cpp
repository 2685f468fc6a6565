#include "app/gui/NotificationIcon.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMenu>
#include <QSystemTrayIcon>

#include "common/dui/DuiTypes.h"

namespace cursorial {

namespace {

QString ToQ(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

}  // namespace

std::u16string IconTip(std::u16string_view appName) {
    std::u16string tip(appName.substr(0, kMaxIconTipLength));
    // A cut between the halves of a surrogate pair would leave half a character.
    if (tip.size() == kMaxIconTipLength && !tip.empty() && tip.back() >= 0xD800 &&
        tip.back() <= 0xDBFF)
        tip.pop_back();
    return tip;
}

SystemTrayIcon::SystemTrayIcon(std::function<bool()> trayReady) : trayReady_(std::move(trayReady)) {
    if (!trayReady_)
        trayReady_ = [this] { return DesktopTrayReady(); };
    retry_.setInterval(kRetryMs);
    QObject::connect(&retry_, &QTimer::timeout, [this] { CheckTray(); });
}

SystemTrayIcon::~SystemTrayIcon() {
    Remove();
}

// Qt looks for a StatusNotifierItem host once per process, at its first question about the tray
// (QSystemTrayIcon's construction included), and never again. A program started with the session
// may ask before the panel has registered its host, so while the session bus shows none the
// question waits, for at most kHostWaitMs; after that only an XEmbed tray, which Qt looks for
// anew each time, can still turn up.
bool SystemTrayIcon::DesktopTrayReady() const {
    constexpr qint64 kHostWaitMs = 30000;
    constexpr int kBusTimeoutMs = 500;
    if (waited_.elapsed() < kHostWaitMs) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected()) {
            QDBusMessage get = QDBusMessage::createMethodCall(
                kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
            get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
            const QDBusMessage reply = bus.call(get, QDBus::Block, kBusTimeoutMs);
            const bool host =
                reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                qvariant_cast<QDBusVariant>(reply.arguments().front()).variant().toBool();
            if (!host)
                return false;
        }
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::Add(const QIcon& icon, std::u16string_view tip, std::u16string_view exitText) {
    if (wanted_)
        return;
    wanted_ = true;
    image_ = icon;
    tip_ = tip;
    exitText_ = exitText;
    waited_.start();
    CheckTray();
    if (!icon_)
        retry_.start();
}

void SystemTrayIcon::CheckTray() {
    if (!wanted_ || icon_ || !trayReady_())
        return;
    retry_.stop();
    menu_ = std::make_unique<QMenu>();
    QAction* exit = menu_->addAction(ToQ(exitText_));
    QObject::connect(exit, &QAction::triggered, [this] {
        if (onExitChosen)
            onExitChosen();
    });
    icon_ = std::make_unique<QSystemTrayIcon>(image_);
    icon_->setToolTip(ToQ(IconTip(tip_)));
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
    wanted_ = false;
    retry_.stop();
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
    exitText_ = exitText;
    if (menu_ && !menu_->actions().isEmpty())
        menu_->actions().front()->setText(ToQ(exitText));
}

}  // namespace cursorial
