#include "app/gui/ActivationListener.h"

#include "common/dui/MWindow.h"

#include <QByteArray>
#include <QtGlobal>

#include <string>
#include <utility>

namespace cursorial {

ActivationListener::ActivationListener(SingleInstance& instance, Handler handler)
    : instance_(instance), handler_(std::move(handler)) {
    if (instance_.ListenFd() < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(instance_.ListenFd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
}

ActivationListener::~ActivationListener() = default;

void ActivationListener::Drain() {
    // Several starts in a row leave several datagrams; each is one request.
    while (auto request = instance_.ReadRequest()) {
        if (handler_)
            handler_(*request);
    }
}

void ShowNormalInFront(DUI::MWindow& window, std::string_view activationToken) {
    if (!activationToken.empty()) {
        qputenv("XDG_ACTIVATION_TOKEN",
                QByteArray(activationToken.data(), qsizetype(activationToken.size())));
    }
    // The kit's SW_SHOWNORMAL shows, restores, raises and requests activation, in that order.
    window.ShowWindow(DUI::SW_SHOWNORMAL);
    window.InvalidateRect();
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

}  // namespace cursorial
