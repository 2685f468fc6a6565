// Helpers of the window tests: a scratch folder, a tray icon whose presence the test chooses,
// a clock for dialog timers, clicks on controls by id, and running code while a modal dialog
// waits.
#pragma once

#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "app/gui/NotificationIcon.h"
#include "common/dui/MControl.h"
#include "common/dui/MWindow.h"
#include "dialogs/DialogTimers.h"

namespace cursorial::testing {

// A fresh folder below the test's HOME, removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A tray icon that is there or not, as the test says, and remembers what it was given.
class FakeIcon : public NotificationIcon {
public:
    explicit FakeIcon(bool available) : available_(available) {}
    void Add(const QIcon&, std::u16string_view tip, std::u16string_view exitText) override {
        if (!available_)
            return;
        shown_ = true;
        tip_ = IconTip(tip);
        exitText_ = exitText;
    }
    void Remove() override { shown_ = false; }
    bool IsShown() const override { return shown_; }
    void SetExitText(std::u16string_view exitText) override { exitText_ = exitText; }

    const std::u16string& Tip() const { return tip_; }
    const std::u16string& ExitText() const { return exitText_; }

private:
    bool available_;
    bool shown_ = false;
    std::u16string tip_;
    std::u16string exitText_;
};

// Dialog timers on a clock the test moves: Advance fires OnTimer for every timer whose moment
// has come, in order, as often as its period allows.
class ManualTimers : public DialogTimers {
public:
    void SetTimer(DUI::MWindow& window, DUI::UINT id, int ms) override {
        timers_[{&window, id}] = {now_ + ms, ms};
    }
    void KillTimer(DUI::MWindow& window, DUI::UINT id) override { timers_.erase({&window, id}); }
    void Advance(int ms);
    long long Now() const { return now_; }

private:
    struct Timer {
        long long due;
        int period;
    };
    long long now_ = 0;
    std::map<std::pair<DUI::MWindow*, DUI::UINT>, Timer> timers_;
};

// A left click in the middle of a control, as the mouse makes it.
void Click(DUI::MControl* control);
void Click(DUI::MWindow& window, int controlId);

// Runs `step` on the event loop as soon as a modal run has started.
void WhileModal(std::function<void()> step);

// Lets queued events and posted messages run.
void Pump();

}  // namespace cursorial::testing
