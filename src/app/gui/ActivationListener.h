// Listens, on the window thread, for the activation requests that later starts of the program
// send to the first instance (platform/SingleInstance.h), and hands each to a callback.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

#include "platform/SingleInstance.h"

namespace DUI {
class MWindow;
}

namespace cursorial {

class ActivationListener {
public:
    using Handler = std::function<void(const ActivationRequest&)>;

    // Watches the instance's socket; does nothing when the instance does not listen. The
    // instance must outlive the listener.
    ActivationListener(SingleInstance& instance, Handler handler);
    ~ActivationListener();

    bool IsListening() const { return notifier_ != nullptr; }

private:
    void Drain();

    SingleInstance& instance_;
    Handler handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// Shows a window in its normal state (restoring it when hidden or minimized) and in front, the
// way an activation request or a click on the tray icon asks for. `activationToken` is the
// XDG_ACTIVATION_TOKEN of whoever asked: a Wayland compositor gives the focus only to a window
// that presents one. Qt reads it from the environment when it requests activation, so it is put
// there just before and taken away afterwards (programs we start must not inherit it).
void ShowNormalInFront(DUI::MWindow& window, std::string_view activationToken);

}  // namespace cursorial
