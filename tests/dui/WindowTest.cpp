// Windows of the kit: modal results, timers, posted messages from any thread, the hand-over of
// work to the window thread, lookup by title, building and sizing, caption moves.
#include "DuiTestSupport.h"

#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/Manager.h"
#include "common/dui/SkinImage.h"
#include "common/dui/UiThread.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace DUI;
using dui_test::Click;
using dui_test::RecordingDialog;

namespace {

// Ends its modal run the way a click on one of its buttons tells it to.
class OkCancelDialog : public MDialog {
public:
    MButton* ok = nullptr;
    MButton* cancel = nullptr;

    void InitUI(const MRect&) override {
        ok = Create<MButton>(33, {}, u"OK");
        cancel = Create<MButton>(34, {}, u"Cancel");
    }
    void UISize(const MRect& client) override {
        ++sizeCalls;
        lastClient = client;
        ok->SetRect({20, client.bottom - 50, 120, client.bottom - 14});
        cancel->SetRect({140, client.bottom - 50, 240, client.bottom - 14});
    }
    int OnMessage(int id, int code, WPARAM, LPARAM) override {
        if (code == kNotifyClick && id == 33) {
            DoOK();
            return 1;
        }
        if (code == kNotifyClick && id == 34) {
            DoCancel();
            return 1;
        }
        return 0;
    }

    int sizeCalls = 0;
    MRect lastClient;
};

// Runs `action` as soon as the modal loop spins.
void Soon(std::function<void()> action) {
    QTimer::singleShot(0, std::move(action));
}

}  // namespace

TEST(ModalRun, ResultFollowsHowTheDialogEnded) {
    struct Case {
        const char* name;
        std::function<void(OkCancelDialog&)> end;
        int expected;
    };
    const Case cases[] = {
        {"ok button", [](OkCancelDialog& d) { Click(d.ok); }, IDOK},
        {"cancel button", [](OkCancelDialog& d) { Click(d.cancel); }, IDCANCEL},
        {"posted close with 2", [](OkCancelDialog& d) { d.PostMessage(WM_CLOSE, 2, 0); }, IDCANCEL},
        {"posted close with 0", [](OkCancelDialog& d) { d.PostMessage(WM_CLOSE, 0, 0); }, IDCANCEL},
        {"close found by title",
         [](OkCancelDialog&) {
             PostMessage(MWindow::FindWindow(u"MWindow", u"MessageBox"), WM_CLOSE, 2, 0);
         },
         IDCANCEL},
        {"window destroyed", [](OkCancelDialog& d) { d.DestroyWindow(); }, IDCANCEL},
        {"WM_COMMAND IDOK", [](OkCancelDialog& d) { d.PostMessage(WM_COMMAND, IDOK, 0); }, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OkCancelDialog dialog;
        ASSERT_TRUE(
            dialog.Create(nullptr, u"MessageBox", WS_POPUP, WS_EX_TOOLWINDOW, {0, 0, 430, 230}));
        Soon([&] { c.end(dialog); });
        EXPECT_EQ(dialog.ShowModal(SW_SHOWNORMAL), c.expected);
        EXPECT_FALSE(dialog.IsWindowVisible());
    }
}

TEST(ModalRun, PopUpDialogClosedOutsideHearsOfItFirst) {
    struct Popup : OkCancelDialog {
        int OnNcActivate(bool active) override {
            activations.push_back(active);
            if (!active && endWithOk) {
                DoOK();  // the dialog's own ending wins
            }
            return 0;
        }
        std::vector<bool> activations;
        bool endWithOk = false;
    };
    for (bool endWithOk : {false, true}) {
        Popup popup;
        popup.endWithOk = endWithOk;
        ASSERT_TRUE(
            popup.Create(nullptr, u"ProfileDlg", WS_POPUP, WS_EX_DUI_POPUP, {0, 0, 200, 250}));
        // What Qt does to a pop-up on a click outside it.
        Soon([&] { popup.GetWidget()->close(); });
        EXPECT_EQ(popup.ShowModal(SW_SHOW), endWithOk ? IDOK : IDCANCEL);
        ASSERT_FALSE(popup.activations.empty());
        EXPECT_FALSE(popup.activations.back());
    }
}

TEST(ModalRun, WithoutWindowAnswersMinusOne) {
    OkCancelDialog dialog;
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), -1);
}

TEST(ModalRun, DialogDeletedDuringItsRunReturnsCancel) {
    auto* dialog = new OkCancelDialog;
    ASSERT_TRUE(dialog->Create(nullptr, u"Gone", WS_POPUP, 0, {0, 0, 300, 200}));
    Soon([&] { delete dialog; });
    EXPECT_EQ(dialog->ShowModal(SW_SHOW), IDCANCEL);
}

TEST(Window, CreateBuildsThenSizesWithTheClientRectangle) {
    OkCancelDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr, u"Sized", WS_POPUP | WS_VISIBLE, 0, {10, 20, 510, 320}));
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(dialog.lastClient, (MRect{0, 0, 500, 300}));
    EXPECT_EQ(dialog.GetClientRect(), (MRect{0, 0, 500, 300}));
    EXPECT_EQ(dialog.ok->GetRect(), (MRect{20, 250, 120, 286}));
    EXPECT_EQ(dialog.GetControl(34), dialog.cancel);
    EXPECT_EQ(dialog.GetControl(99), nullptr);

    const int before = dialog.sizeCalls;
    dialog.MoveWindow(10, 20, 600, 400);
    QApplication::processEvents();
    EXPECT_GT(dialog.sizeCalls, before);
    EXPECT_EQ(dialog.lastClient, (MRect{0, 0, 600, 400}));
    EXPECT_EQ(dialog.ok->GetRect(), (MRect{20, 350, 120, 386}));
    EXPECT_FALSE(dialog.Create(nullptr, u"Again", 0, 0, {0, 0, 10, 10}));
}

TEST(Window, TimersTickUntilKilled) {
    struct TimerWindow : MWindow {
        void OnTimer(UINT id) override { ticks.push_back(id); }
        std::vector<UINT> ticks;
    } window;
    ASSERT_TRUE(window.Create(nullptr, u"Timers", WS_POPUP, 0, {0, 0, 100, 100}));
    EXPECT_TRUE(window.SetTimer(200, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ticks.size() >= 2; }, 2000));
    EXPECT_EQ(window.ticks.front(), 200u);
    EXPECT_TRUE(window.KillTimer(200));
    EXPECT_FALSE(window.KillTimer(200));
    const size_t count = window.ticks.size();
    QTest::qWait(20);
    EXPECT_EQ(window.ticks.size(), count);
}

TEST(Window, PostedMessagesArriveOnTheWindowThreadFromAnyThread) {
    struct Receiver : MWindow {
        LRESULT OnWindowMessage(UINT m, WPARAM w, LPARAM l) override {
            received.push_back({m, w, l});
            onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
            return 0;
        }
        struct Msg {
            UINT m;
            WPARAM w;
            LPARAM l;
            bool operator==(const Msg&) const = default;
        };
        std::vector<Msg> received;
        bool onWindowThread = true;
    } window;
    ASSERT_TRUE(window.Create(nullptr, u"Receiver", WS_POPUP, 0, {0, 0, 100, 100}));
    const HWND handle = window.GetSafeHwnd();
    EXPECT_TRUE(window.PostMessage(WM_USER + 1, 1, 2));
    std::thread worker([handle] {
        for (int i = 0; i < 50; ++i) {
            PostMessage(handle, 1694, 0, i);
        }
    });
    worker.join();
    EXPECT_TRUE(window.received.empty());  // queued, not delivered inside PostMessage
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.received.size() == 51; }, 2000));
    EXPECT_TRUE(window.onWindowThread);
    EXPECT_EQ(window.received[0], (Receiver::Msg{WM_USER + 1, 1, 2}));
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(window.received[1 + i].l, i) << "posted order kept";
    }

    window.DestroyWindow();
    EXPECT_FALSE(PostMessage(handle, WM_USER, 0, 0));
    EXPECT_EQ(MWindow::FromHandle(handle), nullptr);
}

TEST(Window, FoundByTitleWhileItExists) {
    EXPECT_EQ(MWindow::FindWindow(u"MWindow", u"Menu Window"), nullptr);
    {
        RecordingDialog menu;
        ASSERT_TRUE(menu.Make(u"Menu Window"));
        const HWND handle = MWindow::FindWindow(u"MWindow", u"Menu Window");
        EXPECT_EQ(handle, menu.GetSafeHwnd());
        EXPECT_EQ(MWindow::FindWindowByTitle(u"Menu Window"), &menu);
        EXPECT_EQ(MWindow::FindWindow(u"OtherClass", u"Menu Window"), nullptr);
        menu.ShowWindow(SW_SHOW);
        EXPECT_TRUE(ShowWindow(handle, SW_HIDE));
        EXPECT_FALSE(menu.IsWindowVisible());
    }
    EXPECT_EQ(MWindow::FindWindow(u"MWindow", u"Menu Window"), nullptr);
}

TEST(UiThread, WorkerHandsWorkToTheWindowThreadAndWaits) {
    std::atomic<bool> ranOnWindowThread{false};
    std::atomic<bool> result{false};
    std::atomic<bool> finished{false};
    int shared = 0;
    std::thread worker([&] {
        result = RunOnUiThread([&] {
            ranOnWindowThread = QThread::currentThread() == qApp->thread();
            shared = 42;
        });
        finished = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.load(); }, 2000));
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_TRUE(ranOnWindowThread);
    EXPECT_EQ(shared, 42);

    bool inline_ran = false;
    EXPECT_TRUE(RunOnUiThread([&] { inline_ran = true; }));
    EXPECT_TRUE(inline_ran) << "runs at once on the window thread";
}

TEST(UiThread, ShutdownReleasesAWaitingWorkerWithoutRunningIt) {
    std::atomic<bool> started{false};
    std::atomic<bool> ran{false};
    std::atomic<bool> result{true};
    std::thread worker([&] {
        started = true;
        result = RunOnUiThread([&] { ran = true; });
    });
    // The window thread does not spin its loop here: it closes the gate, as at teardown.
    while (!started) {
        std::this_thread::yield();
    }
    QThread::msleep(5);
    ShutdownUiThreadCalls();
    worker.join();
    EXPECT_FALSE(result);
    QApplication::processEvents();
    EXPECT_FALSE(ran) << "dropped work never runs later";

    std::thread late([&] { result = RunOnUiThread([&] { ran = true; }); });
    late.join();
    EXPECT_FALSE(result) << "a closed gate refuses at once";
    ResumeUiThreadCalls();
}

TEST(Window, HandlerMayDeleteTheWindowOfTheControlThatCalledIt) {
    struct SelfClosing : MDialog {
        void InitUI(const MRect&) override { close = Create<CImageButton>(30, {0, 0, 30, 30}); }
        int OnMessage(int id, int, WPARAM, LPARAM) override {
            if (id == 30) {
                OnDestroy();
                delete this;
            }
            return 1;
        }
        CImageButton* close = nullptr;
    };
    auto* dialog = new SelfClosing;
    ASSERT_TRUE(dialog->Create(nullptr, u"PaletteDlg", WS_POPUP | WS_VISIBLE, 0, {0, 0, 330, 320}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog->GetWidget()));
    Click(dialog->close);
    QApplication::processEvents();
    EXPECT_EQ(MWindow::FindWindowByTitle(u"PaletteDlg"), nullptr);
}

TEST(Window, CaptionDragMovesTheWindowAndSwallowsTheClick) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Make(u"Drag"));
    auto* title = dialog.Create<MPicture>(32, {0, 0, 400, 50});
    dialog.SetCaptionRect({0, 0, 400, 50});
    dialog.MoveWindow(100, 100, 400, 300);
    dialog.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.GetWidget()));

    QTest::mousePress(title, Qt::LeftButton, Qt::NoModifier, QPoint(50, 20));
    // One move: QTest places later events relative to the widget, which has moved by then.
    QTest::mouseMove(title, QPoint(110, 60));
    QTest::mouseRelease(title, Qt::LeftButton, Qt::NoModifier, QPoint(50, 20));
    EXPECT_EQ(dialog.GetWindowRect().left, 160);
    EXPECT_EQ(dialog.GetWindowRect().top, 140);
    EXPECT_TRUE(dialog.notes.empty()) << "a drag is not a click";

    Click(title, QPoint(10, 10));
    ASSERT_EQ(dialog.notes.size(), 1u);
    EXPECT_EQ(dialog.notes[0], (dui_test::Note{32, kNotifyClick, 0, 0}));
}

// Skin names are relative to the skin folder; a full path (the catalogue's device pictures) is
// taken as it stands.
TEST(Skin, ImagesByNameOrByFullPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("card.png"));
    QImage picture(30, 20, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(file));

    const auto byPath = DUI::Manager::GetImage(file);
    ASSERT_FALSE(byPath->IsNull());
    EXPECT_EQ(byPath->Size(), QSize(30, 20));
    EXPECT_TRUE(DUI::Manager::GetImage(QStringLiteral("no/such/image.png"))->IsNull());
}
