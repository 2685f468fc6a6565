#include "GuiTestSupport.h"

#include <QApplication>
#include <QCoreApplication>

#include <unistd.h>

namespace cursorial::testing {

ScratchFolder::ScratchFolder() {
    const char* home = std::getenv("HOME");
    std::string pattern = std::string(home != nullptr ? home : "/tmp") + "/scratch-XXXXXX";
    std::filesystem::create_directories(std::filesystem::path(pattern).parent_path());
    if (::mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void ManualTimers::Advance(int ms) {
    const long long end = now_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= end &&
                (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == timers_.end())
            break;
        now_ = next->second.due;
        const auto [window, id] = next->first;
        next->second.due += std::max(1, next->second.period);
        window->OnTimer(id);
    }
    now_ = end;
}

void Click(DUI::MControl* control) {
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->isVisible()) << "control " << control->GetId() << " is not visible";
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

void Click(DUI::MWindow& window, int controlId) {
    Click(window.GetControl(controlId));
}

void WhileModal(std::function<void()> step) {
    QTimer::singleShot(0, std::move(step));
}

void Pump() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace cursorial::testing
