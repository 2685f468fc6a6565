// The main window's frame: its states, layout, frame buttons, tabs, settings panel, texts,
// exits and activation, with the shipped catalogue and language files of the build.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include <sys/stat.h>

#include <fstream>

#include "../device/LinkFixture.h"
#include "GuiTestSupport.h"
#include "app/LanguageTexts.h"
#include "app/ProgramSettings.h"
#include "app/gui/ActivationListener.h"
#include "app/gui/ProcessExit.h"
#include "catalogue/SelectedDeviceType.h"
#include "common/dui/CDeviceList.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"
#include "common/dui/Manager.h"
#include "controller/DeviceMainDlg.h"
#include "controller/WindowMessages.h"
#include "controller/core/TaskCode.h"
#include "dialogs/SaveWaitDlg.h"
#include "pages/MainFrame.h"
#include "platform/KeyValueStore.h"
#include "platform/SingleInstance.h"
#include "sim/SimBackend.h"
#include "sim/Simulator.h"
#include "store/ConfigDatabase.h"

namespace cursorial {
namespace {

using namespace DUI;
using testing::Click;
using testing::FakeIcon;
using testing::ManualTimers;
using testing::Pump;
using testing::ScratchFolder;

class MainWindow : public ::testing::Test {
protected:
    struct Options {
        bool tray = true;
        bool realProcessEnd = false;
        std::filesystem::path dataFolder = CURSORIAL_OUTPUT_DIR;
        // Devices of the simulated world the window's controller talks to (none plugged when
        // empty). The test runs the controller's tasks itself, on the window thread.
        std::vector<const char*> devices = {};
    };

    void SetUp() override {
        ASSERT_EQ(settings_.OpenOrCreate(), KeyValueStore::KeyStatus::kOpened);
    }

    DeviceMainDlg& Open(Options options) {
        MainWindowContext context;
        context.dataFolder = options.dataFolder;
        context.texts = &texts_;
        context.settings = &settings_;
        context.languages = {1033, 2052, 1031};
        auto icon = std::make_unique<FakeIcon>(options.tray);
        icon_ = icon.get();
        context.icon = std::move(icon);
        context.openAddress = [this](std::u16string_view a) {
            opened_.emplace_back(a);
            return true;
        };
        context.openMouseSettings = [this] {
            ++mouseSettings_;
            return true;
        };
        if (!options.realProcessEnd)
            context.endProcess = [this](int code) { ended_.push_back(code); };
        context.timers = &clock_;
        sim::SimConfig world = testing::ShippedWorld();
        std::erase_if(world.devices, [&](const sim::DeviceConfig& d) {
            return std::find_if(options.devices.begin(), options.devices.end(), [&](const char* n) {
                       return d.name == n;
                   }) == options.devices.end();
        });
        world_ = std::make_shared<sim::Simulator>(world);
        link_ = std::make_unique<DeviceLink>(std::make_unique<sim::SimBackend>(world_));
        link_->SetTiming(testing::FastTiming());
        context.link = link_.get();
        context.store = &store_;
        context.appDataFolder = scratch_.Path();
        std::filesystem::create_directories(scratch_.Path() / "db");
        context.timing = {0, 0, 0, 0, 0};
        context.startWorker = false;
        window_ = std::make_unique<DeviceMainDlg>(std::move(context));
        window_->Create(nullptr, u"Cursorial", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                        {0, 0, DeviceMainDlg::kWidth, DeviceMainDlg::kHeight});
        window_->ShowWindow(SW_SHOW);
        Pump();
        return *window_;
    }
    DeviceMainDlg& Open() { return Open(Options{}); }

    MControl* Control(int id) const { return window_->GetControl(id); }
    bool Shown(int id) const {
        MControl* c = Control(id);
        return c && c->IsVisible();
    }
    // Selects a tab the way a click on it does.
    void ClickTab(int position) {
        MTabCtrl* tabs = window_->pageTabs;
        ASSERT_TRUE(tabs->isVisible());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->GetItemRect(position).center());
    }
    int TabPosition() const { return window_->pageTabs->GetSelectItem(); }

    ScratchFolder scratch_;
    KeyValueStore settings_{scratch_.Path() / "settings"};
    ConfigDatabase store_;
    std::shared_ptr<sim::Simulator> world_;
    std::unique_ptr<DeviceLink> link_;
    LanguageTexts texts_{CURSORIAL_OUTPUT_DIR, 1033};
    ManualTimers clock_;
    FakeIcon* icon_ = nullptr;
    std::vector<std::u16string> opened_;
    int mouseSettings_ = 0;
    std::vector<int> ended_;
    std::unique_ptr<DeviceMainDlg> window_;
};

TEST_F(MainWindow, StartsWithoutAMouseAndTheCatalogueInTheDeviceList) {
    DeviceMainDlg& w = Open();
    EXPECT_EQ(w.GetWindowTitle(), u"Cursorial");
    EXPECT_EQ(Control(frame_id::kWindowTitle)->GetTitle(), u"Cursorial");
    ASSERT_NE(w.deviceList, nullptr);
    EXPECT_EQ(w.deviceList->GetDeviceCount(), 2);
    EXPECT_EQ(ReadSelectedType(settings_), 101);
    EXPECT_TRUE(icon_->IsShown());
    EXPECT_EQ(icon_->Tip(), u"Cursorial");
    EXPECT_EQ(icon_->ExitText(), texts_.Text(12));
    EXPECT_EQ(w.GetProp(u"Cursorial"), 1);

    // The no-device state.
    EXPECT_FALSE(w.IsPolling());
    EXPECT_FALSE(w.IsDevicePresent());
    EXPECT_EQ(Control(frame_id::kDeviceState)->GetTitle(), texts_.Text(50));
    EXPECT_EQ(TabPosition(), 0);
    EXPECT_TRUE(Shown(frame_id::kHomePage));
    EXPECT_TRUE(Shown(frame_id::kNoDevicePicture));
    EXPECT_TRUE(Shown(frame_id::kNoDeviceText));
    EXPECT_EQ(Control(frame_id::kNoDeviceText)->GetTitle(), texts_.Text(56));
    for (int hidden : {frame_id::kDeviceList, frame_id::kTabBackground, frame_id::kPageTabs,
                       frame_id::kMousePicture, frame_id::kSettingsPanel, frame_id::kButtonPage,
                       frame_id::kKeyPanel, frame_id::kPerformancePage, frame_id::kMacroPage,
                       frame_id::kLightingPage, frame_id::kDevicePage})
        EXPECT_FALSE(Shown(hidden)) << hidden;
    // The tabs carry their ids and texts in the column's order.
    const int ids[] = {1, 2, 3, 4, 5, 7};
    ASSERT_EQ(w.pageTabs->GetItemCount(), 6);
    for (int pos = 0; pos < 6; ++pos) {
        EXPECT_EQ(w.pageTabs->GetItemData(pos), ids[pos]);
        EXPECT_EQ(w.pageTabs->GetItemText(pos), texts_.Text(71 + pos));
    }
}

struct StateCase {
    WindowState state;
    int connectionText;
    int connectionKind;
};

class WindowStates : public MainWindow, public ::testing::WithParamInterface<StateCase> {};

TEST_P(WindowStates, ShowTheirPartsOfTheWindow) {
    const StateCase c = GetParam();
    DeviceMainDlg& w = Open();
    // From another state, with the settings panel open, so every part has to change.
    const bool connected = c.state == WindowState::kCable || c.state == WindowState::kReceiver;
    w.SetWindowState(connected ? WindowState::kNoDevice : WindowState::kReceiver);
    Click(w, frame_id::kSettings);
    ASSERT_TRUE(w.IsSettingsPanelOpen());

    w.SetWindowState(c.state);
    EXPECT_EQ(w.ConnectionTextId(), c.connectionText);
    EXPECT_EQ(Control(frame_id::kDeviceState)->GetTitle(), texts_.Text(c.connectionText));
    EXPECT_EQ(w.deviceState->GetConnection(), c.connectionKind);
    EXPECT_FALSE(w.IsSettingsPanelOpen());
    EXPECT_FALSE(Shown(frame_id::kSettingsPanel));
    EXPECT_TRUE(Shown(frame_id::kSettings));
    EXPECT_TRUE(Shown(frame_id::kMaximize));

    EXPECT_EQ(Shown(frame_id::kNoDevicePicture), !connected);
    EXPECT_EQ(Shown(frame_id::kNoDeviceText), !connected);
    for (int id : {frame_id::kDeviceList, frame_id::kPreviousDevice, frame_id::kNextDevice,
                   frame_id::kTabBackground, frame_id::kPageTabs, frame_id::kMousePicture})
        EXPECT_EQ(Shown(id), connected) << id;
    if (connected) {
        for (int id : {frame_id::kDeviceState, frame_id::kProfileButton, frame_id::kResetButton})
            EXPECT_TRUE(Shown(id)) << id;
    }
    // Connected, the tab column opens the buttons page; without a mouse the home page shows.
    EXPECT_EQ(TabPosition(), connected ? 1 : 0);
    EXPECT_EQ(Shown(frame_id::kButtonPage), connected);
    EXPECT_EQ(Shown(frame_id::kHomePage), !connected);
}

INSTANTIATE_TEST_SUITE_P(All, WindowStates,
                         ::testing::Values(StateCase{WindowState::kNoDevice, 50, -1},
                                           StateCase{WindowState::kOtherModel, 50, -1},
                                           StateCase{WindowState::kCable, 51, 0},
                                           StateCase{WindowState::kReceiver, 52, 1}));

// --- the window driven by its controller ----------------------------------------------------

struct WorldCase {
    const char* name;
    std::vector<const char*> devices;
    int connectionText;
    bool tabs;
    int selected;  // the device list's selection afterwards (0: not checked)
};

class ControllerDriven : public MainWindow, public ::testing::WithParamInterface<WorldCase> {};

// Task 1 against each world: what the window shows, and a click on the profile button.
TEST_P(ControllerDriven, StartShowsTheWorld) {
    const WorldCase& c = GetParam();
    Options options;
    options.devices = c.devices;
    DeviceMainDlg& w = Open(options);
    w.GetController().RunTask(task::kSelectAndReload);
    Pump();
    EXPECT_EQ(w.ConnectionTextId(), c.connectionText);
    EXPECT_EQ(Shown(frame_id::kPageTabs), c.tabs);
    EXPECT_EQ(Shown(frame_id::kDeviceList), c.tabs);
    EXPECT_EQ(TabPosition(), c.tabs ? 1 : 0);
    if (c.selected != 0) {
        EXPECT_EQ(w.deviceList->GetSelectDevice(), c.selected);
        EXPECT_EQ(ReadSelectedType(settings_), c.selected);
        EXPECT_FALSE(Control(frame_id::kProfileButton)->GetTitle().empty());
    }
    // Without a mouse the profile button only says so.
    if (!c.tabs) {
        bool boxShown = false;
        testing::WhileModal([&] {
            boxShown = MWindow::FindWindowByTitle(u"MessageBox") != nullptr;
            w.ClosePopups();
        });
        Click(w, frame_id::kProfileButton);
        EXPECT_TRUE(boxShown);
        EXPECT_EQ(MWindow::FindWindowByTitle(u"ProfileDlg"), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Worlds, ControllerDriven,
    ::testing::Values(WorldCase{"NoMouse", {}, 50, false, 0},
                      WorldCase{"ReceiverOnly", {"aero-receiver"}, 52, true, 201},
                      WorldCase{"CableAndReceiver", {"aero-cable", "aero-receiver"}, 51, true, 201},
                      WorldCase{"SecondModelOnly", {"terra-cable"}, 51, true, 202}),
    [](const auto& test) { return std::string(test.param.name); });

// Clicks the window takes and ignores, and ones it does not take at all.
TEST_F(MainWindow, ClicksHandledWithoutAnAction) {
    DeviceMainDlg& w = Open();
    for (int id : {94, 97, 218, 224})
        EXPECT_EQ(w.OnMessage(id, kNotifyClick, 0, 0), 1) << id;
    for (int id : {93, 98, 217, 225, 9999})
        EXPECT_EQ(w.OnMessage(id, kNotifyClick, 0, 0), 0) << id;
}

TEST_F(MainWindow, DeviceListClickOnTheReceiverQueuesAResynchronisation) {
    Options options;
    options.devices = {"aero-receiver"};
    DeviceMainDlg& w = Open(options);
    w.GetController().RunTask(task::kSelectAndReload);
    world_->ClearReceived("aero-receiver");
    w.OnMessage(frame_id::kDeviceList, kNotifyClick, 201, 0);
    EXPECT_EQ(w.ConnectionTextId(), 52);
    EXPECT_EQ(TabPosition(), 1);
    // The queued task 4 is the next the worker would run: sequence C asks for the information.
    w.GetController().RunTask(task::kResynchronise);
    const auto received = world_->Received("aero-receiver");
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front()[1], 0x10);
}

// --- layout -------------------------------------------------------------------------------

TEST_F(MainWindow, FrameAtTheDesignSize) {
    DeviceMainDlg& w = Open();
    ASSERT_EQ(w.GetClientRect(), (MRect{0, 0, 1300, 788}));
    const std::pair<int, MRect> expected[] = {
        {frame_id::kBackground, {0, 0, 1300, 788}},
        {frame_id::kTitleBar, {1, 1, 1299, 50}},
        {frame_id::kBottomBar, {1, 738, 1299, 787}},
        {frame_id::kClose, {1250, 10, 1280, 40}},
        {frame_id::kMinimize, {1218, 10, 1248, 40}},
        {frame_id::kSettings, {1186, 10, 1216, 40}},
        {frame_id::kMaximize, {}},
        {frame_id::kWindowTitle, {520, 10, 780, 40}},
        {frame_id::kTabBackground, {1, 50, 201, 738}},
        {frame_id::kPageTabs, {1, 120, 191, 480}},
        {frame_id::kHomePage, {20, 80, 1280, 738}},
        {frame_id::kButtonPage, {200, 80, 1280, 738}},
        {frame_id::kDevicePage, {200, 80, 1280, 738}},
        {frame_id::kKeyPanel, {480, 130, 1080, 738}},
        {frame_id::kSettingsPanel, {1, 50, 1299, 748}},
        {frame_id::kDeviceList, {200, 200, 1100, 688}},
        {frame_id::kNoDevicePicture, {430, 190, 870, 520}},
    };
    for (const auto& [id, rect] : expected)
        EXPECT_EQ(Control(id)->GetRect(), rect) << "control " << id;
    EXPECT_DOUBLE_EQ(PageScale::For(w.GetClientRect()).s, 1.0);
}

TEST_F(MainWindow, AHalfHighClientHalvesThePagesButKeepsTheBars) {
    DeviceMainDlg& w = Open();
    // Smaller than the window may become: it stops at 975 x 394.
    w.MoveWindow(0, 0, 650, 300);
    Pump();
    ASSERT_EQ(w.GetClientRect(), (MRect{0, 0, 975, 394}));
    const PageScale scale = PageScale::For(w.GetClientRect());
    EXPECT_DOUBLE_EQ(scale.s, 0.5);
    EXPECT_DOUBLE_EQ(w.Scale().s, 0.5);
    EXPECT_EQ(scale.Page(0, 0, 400, 200), (MRect{230, 80, 430, 180}));
    const std::pair<int, MRect> expected[] = {
        {frame_id::kTitleBar, {1, 1, 974, 50}},      // still 50 high
        {frame_id::kBottomBar, {1, 344, 974, 393}},  // still 50 high
        {frame_id::kClose, {925, 10, 955, 40}},
        {frame_id::kMaximize, {}},
        {frame_id::kKeyPanel, {355, 105, 955, 344}},  // 230 + 250 s, 80 + 50 s
        {frame_id::kNoDevicePicture, {377, 135, 597, 300}},
        {frame_id::kButtonPage, {200, 80, 955, 344}},
    };
    for (const auto& [id, rect] : expected)
        EXPECT_EQ(Control(id)->GetRect(), rect) << "control " << id;
    // At the smallest size the bottom bar's controls still stand apart.
    EXPECT_LT(Control(frame_id::kDeviceState)->GetRect().right,
              Control(frame_id::kProfileButton)->GetRect().left);
}

TEST_F(MainWindow, MaximizeTogglesAndSwapsTheButtonImage) {
    DeviceMainDlg& w = Open();
    // The button has no rectangle of its own; its notification is what a click would send.
    ASSERT_EQ(w.OnMessage(frame_id::kMaximize, kNotifyClick, 0, 0), 1);
    Pump();
    EXPECT_TRUE(w.IsMaximized());
    EXPECT_EQ(w.maximizeButton->GetImage(), u"sysbtn_restore.png");
    EXPECT_EQ(w.maximizeButton->GetImageFrames(), 4);
    w.OnMessage(frame_id::kMaximize, kNotifyClick, 0, 0);
    Pump();
    EXPECT_FALSE(w.IsMaximized());
    EXPECT_EQ(w.maximizeButton->GetImage(), u"sysbtn_maximize.png");
    EXPECT_TRUE(w.maximizeButton->GetRect().IsEmpty());
}

TEST_F(MainWindow, TheTitleBarMovesTheWindowAndADoubleClickThereMaximizes) {
    DeviceMainDlg& w = Open();
    w.MoveWindow(100, 100, DeviceMainDlg::kWidth, DeviceMainDlg::kHeight);
    Pump();
    MControl* bar = Control(frame_id::kTitleBar);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(400, 20));
    QTest::mouseMove(bar, QPoint(460, 60));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(400, 20));
    EXPECT_EQ(w.GetWindowRect().left, 160);
    EXPECT_EQ(w.GetWindowRect().top, 140);

    for (const char16_t* image : {u"sysbtn_restore.png", u"sysbtn_maximize.png"}) {
        QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(400, 20));
        Pump();
        EXPECT_EQ(w.IsMaximized(), image == std::u16string_view(u"sysbtn_restore.png"));
        EXPECT_EQ(w.maximizeButton->GetImage(), image);
    }
}

// --- close, tray and exits ----------------------------------------------------------------

TEST_F(MainWindow, CloseInExitModeOneHidesAndTheTrayBringsTheWindowBack) {
    DeviceMainDlg& w = Open();
    WriteProgramValue(settings_, kExitModeValueName, 1);
    Click(w, frame_id::kClose);
    Pump();
    EXPECT_FALSE(w.IsWindowVisible());
    EXPECT_TRUE(ended_.empty());
    EXPECT_TRUE(icon_->IsShown());

    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        w.ShowWindow(SW_HIDE);
        w.SendMessage(msg::kTrayCallback, 0, mouse);
        Pump();
        EXPECT_TRUE(w.IsWindowVisible()) << mouse;
        EXPECT_FALSE(w.IsMinimized()) << mouse;
    }
    // The right button opens the icon's own menu; the window stays as it is.
    w.ShowWindow(SW_HIDE);
    w.SendMessage(msg::kTrayCallback, 0, WM_RBUTTONUP);
    EXPECT_FALSE(w.IsWindowVisible());
}

TEST_F(MainWindow, CloseInExitModeOneWithoutATrayMinimizes) {
    DeviceMainDlg& w = Open({.tray = false});
    WriteProgramValue(settings_, kExitModeValueName, 1);
    Click(w, frame_id::kClose);
    Pump();
    EXPECT_TRUE(w.IsWindowVisible());
    EXPECT_TRUE(w.IsMinimized());
    EXPECT_TRUE(ended_.empty());
    // "-hide" without a tray starts minimized instead of hidden, for the same reason.
    EXPECT_EQ(w.InitialShowCommand(true), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(w.InitialShowCommand(false), SW_SHOW);
}

TEST_F(MainWindow, HideStartsHiddenWhenTheTrayCanBringItBack) {
    DeviceMainDlg& w = Open();
    EXPECT_EQ(w.InitialShowCommand(true), SW_HIDE);
    EXPECT_EQ(w.InitialShowCommand(false), SW_SHOW);
}

TEST_F(MainWindow, EveryExitTakesTheIconAwayAndEndsWithZero) {
    struct Exit {
        const char* name;
        std::function<void(DeviceMainDlg&)> act;
        bool ends;
    };
    const Exit exits[] = {
        {"close, exit mode 0",
         [this](DeviceMainDlg& w) {
             WriteProgramValue(settings_, kExitModeValueName, 0);
             Click(w, frame_id::kClose);
         },
         true},
        {"close, exit mode unreadable",
         [this](DeviceMainDlg& w) {
             settings_.WriteText(kExitModeValueName, "hide");
             Click(w, frame_id::kClose);
         },
         true},
        {"desktop close, exit mode 0", [](DeviceMainDlg& w) { w.GetWidget()->close(); }, true},
        {"tray menu item", [this](DeviceMainDlg&) { icon_->onExitChosen(); }, true},
        {"command 100", [](DeviceMainDlg& w) { w.SendMessage(WM_COMMAND, msg::kExitCommand); },
         true},
        {"exit request 610",
         [](DeviceMainDlg& w) { w.SendMessage(msg::kExitRequest, 0, msg::kExitRequestParam); },
         true},
        {"exit request 611", [](DeviceMainDlg& w) { w.SendMessage(msg::kExitRequest, 0, 611); },
         false},
    };
    for (const Exit& e : exits) {
        SCOPED_TRACE(e.name);
        ended_.clear();
        settings_.DeleteValue(kExitModeValueName);
        DeviceMainDlg& w = Open();
        e.act(w);
        Pump();
        if (e.ends) {
            EXPECT_EQ(ended_, std::vector<int>{0});
            EXPECT_FALSE(icon_->IsShown());
        } else {
            EXPECT_TRUE(ended_.empty());
            EXPECT_TRUE(icon_->IsShown());
        }
    }
}

TEST_F(MainWindow, CloseInExitModeZeroEndsTheProcessWithZero) {
    EXPECT_EXIT(
        {
            DeviceMainDlg& w = Open({.realProcessEnd = true});
            Click(w, frame_id::kClose);
            std::exit(3);  // not reached when the close ended the process
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            DeviceMainDlg& w = Open({.realProcessEnd = true});
            w.SendMessage(WM_COMMAND, msg::kExitCommand);
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

// --- tabs and the settings panel ----------------------------------------------------------

TEST_F(MainWindow, SettingsPanelOpensOverTheTabsAndReturnsHomeWithoutAMouse) {
    DeviceMainDlg& w = Open();
    Click(w, frame_id::kSettings);
    EXPECT_TRUE(w.IsSettingsPanelOpen());
    EXPECT_TRUE(Shown(frame_id::kSettingsPanel));
    for (int id : {frame_id::kTabBackground, frame_id::kPageTabs, frame_id::kMousePicture,
                   frame_id::kBattery, frame_id::kSettings, frame_id::kMaximize})
        EXPECT_FALSE(Shown(id)) << id;

    Click(w, frame_id::kSettingsReturn);
    EXPECT_FALSE(w.IsSettingsPanelOpen());
    EXPECT_FALSE(Shown(frame_id::kSettingsPanel));
    EXPECT_TRUE(Shown(frame_id::kSettings));
    EXPECT_TRUE(Shown(frame_id::kMaximize));
    EXPECT_EQ(TabPosition(), 0);
    EXPECT_TRUE(Shown(frame_id::kHomePage));
    EXPECT_FALSE(Shown(frame_id::kPageTabs));
}

TEST_F(MainWindow, SettingsPanelReturnsToTheTabsWithAMouse) {
    Options options;
    options.devices = {"terra-cable"};
    DeviceMainDlg& w = Open(options);
    w.GetController().RunTask(task::kSelectAndReload);
    ASSERT_TRUE(w.IsPolling());
    ClickTab(3);  // macros
    ASSERT_EQ(w.CurrentTabId(), 4);
    Click(w, frame_id::kSettings);
    Click(w, frame_id::kSettingsReturn);
    for (int id : {frame_id::kTabBackground, frame_id::kPageTabs, frame_id::kMousePicture,
                   frame_id::kBattery})
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_EQ(TabPosition(), 1);
    EXPECT_TRUE(Shown(frame_id::kButtonPage));
}

TEST_F(MainWindow, ChoosingATabClosesTheSettingsPanel) {
    DeviceMainDlg& w = Open();
    w.SetWindowState(WindowState::kCable);
    Click(w, frame_id::kSettings);
    // The tab column is hidden under the panel; its notification is what a click would send.
    w.OnMessage(frame_id::kPageTabs, kNotifyClick, 2, 0);
    EXPECT_FALSE(w.IsSettingsPanelOpen());
    EXPECT_FALSE(Shown(frame_id::kSettingsPanel));
    for (int id : {frame_id::kClose, frame_id::kMinimize, frame_id::kSettings, frame_id::kMaximize,
                   frame_id::kBattery})
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_EQ(w.CurrentTabId(), 3);
}

TEST_F(MainWindow, TheHomeTabHidesTheTabColumnAndTheDeviceControls) {
    DeviceMainDlg& w = Open();
    w.SetWindowState(WindowState::kReceiver);
    ClickTab(2);
    ASSERT_EQ(w.CurrentTabId(), 3);
    EXPECT_TRUE(Shown(frame_id::kPerformancePage));
    ClickTab(0);
    EXPECT_EQ(w.CurrentTabId(), 1);
    EXPECT_TRUE(Shown(frame_id::kHomePage));
    for (int id : {frame_id::kMousePicture, frame_id::kTabBackground, frame_id::kPageTabs,
                   frame_id::kDeviceState, frame_id::kProfileButton, frame_id::kResetButton,
                   frame_id::kBattery})
        EXPECT_FALSE(Shown(id)) << id;
    // Leaving home brings the mouse picture back.
    w.OnMessage(frame_id::kPageTabs, kNotifyClick, 1, 0);
    EXPECT_TRUE(Shown(frame_id::kMousePicture));
    EXPECT_TRUE(Shown(frame_id::kBattery));
}

TEST_F(MainWindow, PreviousAndNextClearTheDeviceListSelection) {
    DeviceMainDlg& w = Open();
    w.SetWindowState(WindowState::kCable);
    ClickTab(0);
    for (int id : {frame_id::kPreviousDevice, frame_id::kNextDevice}) {
        w.deviceList->SetSelectIndex(0);
        Click(w, id);
        EXPECT_EQ(w.deviceList->GetSelectIndex(), -1) << id;
    }
}

// --- links --------------------------------------------------------------------------------

TEST_F(MainWindow, LinksOpenTheCatalogueAddresses) {
    DeviceMainDlg& w = Open();
    Click(w, frame_id::kLogoLink);
    for (int id : {289, 290, 291})
        EXPECT_EQ(w.OnMessage(id, kNotifyClick, 0, 0), 1);
    EXPECT_EQ(opened_,
              (std::vector<std::u16string>{
                  u"https://cursorial.example/", u"https://cursorial.example/",
                  u"https://cursorial.example/feedback/", u"https://cursorial.example/faq/"}));
    EXPECT_EQ(w.OnMessage(149, kNotifyClick, 0, 0), 1);
    EXPECT_EQ(mouseSettings_, 1);
}

TEST_F(MainWindow, TheLogoOpensNothingWithoutAWebsite) {
    // A catalogue without addresses: the logo does nothing, the links still ask the desktop.
    ScratchFolder data;
    std::ofstream(data.Path() / "config.xml")
        << "<config><device/><software caption=\"Cursorial\" version=\"2.0\"/></config>";
    DeviceMainDlg& w = Open({.dataFolder = data.Path()});
    Click(w, frame_id::kLogoLink);
    EXPECT_TRUE(opened_.empty());
    w.OnMessage(289, kNotifyClick, 0, 0);
    EXPECT_EQ(opened_, std::vector<std::u16string>{u""});
    EXPECT_EQ(w.settingsVersion->GetTitle(), texts_.Text(17) + u": v2.0");
}

// --- texts --------------------------------------------------------------------------------

TEST_F(MainWindow, ALanguageChangeReappliesEveryTextAtOnce) {
    DeviceMainDlg& w = Open();
    w.SetWindowState(WindowState::kReceiver);
    const LanguageTexts chinese(CURSORIAL_OUTPUT_DIR, 2052);
    ASSERT_NE(chinese.Text(71), texts_.Text(71));

    w.SetLanguage(2052);
    EXPECT_EQ(settings_.ReadNumber("LCID", false), 2052);
    EXPECT_EQ(Manager::GetFontName(), u"Open Sans Semibold");
    const auto expectTexts = [&](const LanguageTexts& t) {
        for (int pos = 0; pos < 6; ++pos)
            EXPECT_EQ(w.pageTabs->GetItemText(pos), t.Text(71 + pos)) << pos;
        const std::pair<int, int> tips[] = {
            {frame_id::kClose, 5},           {frame_id::kMinimize, 6},
            {frame_id::kMaximize, 7},        {frame_id::kSettings, 11},
            {frame_id::kPreviousDevice, 85}, {frame_id::kNextDevice, 86}};
        for (const auto& [id, text] : tips)
            EXPECT_EQ(Control(id)->GetTooltip(), t.Text(text)) << id;
        EXPECT_EQ(Control(frame_id::kDeviceState)->GetTitle(), t.Text(52));
        EXPECT_EQ(Control(frame_id::kNoDeviceText)->GetTitle(), t.Text(56));
        EXPECT_EQ(Control(frame_id::kResetButton)->GetTitle(), t.Text(558));
        EXPECT_EQ(w.settingsVersion->GetTitle(), t.Text(17) + u": v1.0.0");
        EXPECT_EQ(icon_->ExitText(), t.Text(12));
    };
    expectTexts(chinese);
    EXPECT_TRUE(w.GetWidget()->updatesEnabled());

    // Message 2022 applies the texts of the current language again.
    texts_.SetCurrentLanguage(1033);
    w.SendMessage(msg::kReapplyTexts);
    expectTexts(texts_);
}

// --- saving notice ------------------------------------------------------------------------

TEST_F(MainWindow, SavingNoticeFollowsTheDescriptionSwitch) {
    DeviceMainDlg& w = Open();
    w.SetShowSaveTips(false);
    w.ShowSavingNotice();
    EXPECT_EQ(w.SavingNotice(), nullptr);

    w.SetShowSaveTips(true);
    w.ShowSavingNotice();
    ASSERT_NE(w.SavingNotice(), nullptr);
    EXPECT_TRUE(w.SavingNotice()->IsWindowVisible());
    EXPECT_EQ(w.SavingNotice()->GetParent(), &w);
    clock_.Advance(1500);
    w.ShowSavingNotice();
    SaveWaitDlg* first = w.SavingNotice();
    EXPECT_EQ(first, w.SavingNotice()) << "one notice, reused";
    clock_.Advance(1999);
    EXPECT_TRUE(w.SavingNotice()->IsWindowVisible());
    clock_.Advance(1);
    EXPECT_FALSE(w.SavingNotice()->IsWindowVisible());
}

TEST_F(MainWindow, ClosingPopUpsCancelsAnOpenMessageBoxAndHidesTheNotice) {
    DeviceMainDlg& w = Open();
    w.ShowSavingNotice();
    ASSERT_TRUE(w.SavingNotice()->IsWindowVisible());
    testing::WhileModal([&w] {
        ASSERT_NE(MWindow::FindWindowByTitle(u"MessageBox"), nullptr);
        w.ClosePopups();
    });
    EXPECT_EQ(w.MessageBox(texts_.Text(57), texts_.Text(576), 4), IDCANCEL);
    EXPECT_FALSE(w.SavingNotice()->IsWindowVisible());
}

// --- activation by a later start ----------------------------------------------------------

TEST_F(MainWindow, ALaterStartShowsTheHiddenWindowThroughTheSocket) {
    DeviceMainDlg& w = Open();
    const std::filesystem::path run = scratch_.Path() / "run";
    std::filesystem::create_directory(run);
    ::chmod(run.c_str(), 0700);
    SingleInstance first = SingleInstance::Start(u"Activation test", run, "");
    ASSERT_EQ(first.GetOutcome(), SingleInstance::Outcome::kFirstInstance);
    std::string token;
    ActivationListener listener(first, [&](const ActivationRequest& request) {
        token = request.activation_token;
        w.BringToFront(request.activation_token);
    });
    ASSERT_TRUE(listener.IsListening());

    for (int start : {SW_HIDE, SW_SHOWMINIMIZED}) {
        w.ShowWindow(start);
        Pump();
        token.clear();
        SingleInstance later = SingleInstance::Start(u"Activation test", run, "token-42");
        EXPECT_EQ(later.GetOutcome(), SingleInstance::Outcome::kActivated);
        for (int i = 0; i < 100 && token.empty(); ++i)
            Pump();
        EXPECT_EQ(token, "token-42");
        EXPECT_TRUE(w.IsWindowVisible()) << start;
        EXPECT_FALSE(w.IsMinimized()) << start;
        EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
    }
}

}  // namespace
}  // namespace cursorial
