// The program's icon in the notification area (the system tray).
//
// NotificationIcon is what the main window relies on; SystemTrayIcon puts it on the desktop
// through QSystemTrayIcon (a StatusNotifierItem where the desktop offers one). Where the desktop
// has no tray the program runs without an icon, and IsShown() says so: the window then never
// hides itself, since nothing could bring it back. A tray that turns up later (a program started
// with the session, before the panel) still gets the icon.
//
// The icon reports what the user did in the terms the window speaks: a left click or double
// click as the mouse message (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK), and the choice of the menu's
// one item.
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QMenu;
class QSystemTrayIcon;

namespace cursorial {

// The tip holds at most this many characters; a longer application name is cut.
inline constexpr size_t kMaxIconTipLength = 127;

// The tip shown for an application name.
std::u16string IconTip(std::u16string_view appName);

class NotificationIcon {
public:
    virtual ~NotificationIcon() = default;

    // Shows the icon with its tip (cut to kMaxIconTipLength) and the exit item's text, as soon as
    // the desktop has a tray.
    virtual void Add(const QIcon& icon, std::u16string_view tip, std::u16string_view exitText) = 0;
    // Takes the icon away (or stops waiting for a tray); nothing happens while it is not shown.
    virtual void Remove() = 0;
    virtual bool IsShown() const = 0;
    virtual void SetExitText(std::u16string_view exitText) = 0;

    // Set by the owner: a mouse message on the icon, and the exit item chosen.
    std::function<void(unsigned mouseMessage)> onMouse;
    std::function<void()> onExitChosen;
};

class SystemTrayIcon final : public NotificationIcon {
public:
    // `trayReady` says whether the icon can go up now; by default the desktop is asked.
    explicit SystemTrayIcon(std::function<bool()> trayReady = {});
    ~SystemTrayIcon() override;

    void Add(const QIcon& icon, std::u16string_view tip, std::u16string_view exitText) override;
    void Remove() override;
    bool IsShown() const override;
    void SetExitText(std::u16string_view exitText) override;

    // Puts the icon up when it is wanted and the tray is there now. Add calls it, and then a
    // timer every kRetryMs until the icon is up.
    void CheckTray();
    static constexpr int kRetryMs = 3000;

private:
    bool DesktopTrayReady() const;

    std::function<bool()> trayReady_;
    bool wanted_ = false;
    QIcon image_;
    std::u16string tip_;
    std::u16string exitText_;
    QTimer retry_;
    QElapsedTimer waited_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace cursorial
