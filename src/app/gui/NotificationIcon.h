// The program's icon in the notification area (the system tray).
//
// NotificationIcon is what the main window relies on; SystemTrayIcon puts it on the desktop
// through QSystemTrayIcon (a StatusNotifierItem where the desktop offers one). Where the desktop
// has no tray, IsAvailable() says so and the program runs without an icon: the window then never
// hides itself, since nothing could bring it back.
//
// The icon reports what the user did in the terms the window speaks: a left click or double
// click as the mouse message (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK), and the choice of the menu's
// one item.
#pragma once

#include <QIcon>

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

    // Whether the desktop shows tray icons at all.
    virtual bool IsAvailable() const = 0;
    // Shows the icon with its tip (cut to kMaxIconTipLength) and the exit item's text. Ignored
    // where no tray is available.
    virtual void Add(const QIcon& icon, std::u16string_view tip, std::u16string_view exitText) = 0;
    // Takes the icon away; nothing happens while it is not shown.
    virtual void Remove() = 0;
    virtual bool IsShown() const = 0;
    virtual void SetExitText(std::u16string_view exitText) = 0;

    // Set by the owner: a mouse message on the icon, and the exit item chosen.
    std::function<void(unsigned mouseMessage)> onMouse;
    std::function<void()> onExitChosen;
};

class SystemTrayIcon final : public NotificationIcon {
public:
    SystemTrayIcon();
    ~SystemTrayIcon() override;

    bool IsAvailable() const override;
    void Add(const QIcon& icon, std::u16string_view tip, std::u16string_view exitText) override;
    void Remove() override;
    bool IsShown() const override;
    void SetExitText(std::u16string_view exitText) override;

private:
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace cursorial
