#include "controller/DeviceMainDlg.h"

#include <QIcon>
#include <QSocketNotifier>
#include <QString>
#include <QWidget>

#include "app/LanguageChoice.h"
#include "app/LanguageTexts.h"
#include "app/ProgramSettings.h"
#include "app/TextIds.h"
#include "app/gui/ActivationListener.h"
#include "app/gui/NotificationIcon.h"
#include "app/gui/ProcessExit.h"
#include "app/gui/ShellOpen.h"
#include "catalogue/SelectedDeviceType.h"
#include "common/dui/CDeviceList.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"
#include "common/dui/Manager.h"
#include "common/dui/UiThread.h"
#include "common/text/WideText.h"
#include "controller/WindowMessages.h"
#include "controller/core/TaskCode.h"
#include "device/DeviceLink.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CUIMessageBox.h"
#include "dialogs/SaveWaitDlg.h"
#include "pages/MainFrame.h"
#include "platform/KeyValueStore.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

using namespace DUI;

namespace {

constexpr int kWebLink = 289;
constexpr int kFeedbackLink = 290;
constexpr int kQaLink = 291;
constexpr int kMouseSettings = 149;
constexpr int kDeviceResetButton = 250;
constexpr int kPanelResetButton = 277;
constexpr int kAnimationTickMs = 10;
constexpr int kResizeBorder = 5;
constexpr const char16_t* kIconFile = u"DeviceDriver.ico";

void Show(MControl* control, bool visible) {
    if (control)
        control->SetVisible(visible);
}

}  // namespace

void DeviceMainDlg::DeviceListSink::OnClear() {
    if (owner_.deviceList)
        owner_.deviceList->ClearList();
}

void DeviceMainDlg::DeviceListSink::OnModel(const DeviceEntry& model) {
    if (!owner_.deviceList)
        return;
    // The catalogue gives the picture's full path; the list takes it below the skin folder.
    std::filesystem::path picture = model.picture.lexically_relative(Manager::GetSkinFolder());
    if (picture.empty() || *picture.begin() == "..")
        picture = model.picture;
    owner_.deviceList->AddDevice(model.name, model.deviceType, picture.generic_u16string());
}

DeviceMainDlg::DeviceMainDlg(MainWindowContext context)
    : context_(std::move(context)),
      texts_(context_.texts),
      settings_(*context_.settings),
      icon_(context_.icon ? std::move(context_.icon) : std::make_unique<SystemTrayIcon>()),
      connectionTextId_(text_id::kNotConnected) {
    if (!context_.openAddress)
        context_.openAddress = [](std::u16string_view address) { return OpenAddress(address); };
    if (!context_.openMouseSettings)
        context_.openMouseSettings = [] { return OpenMouseSettings(); };
    if (!context_.endProcess)
        context_.endProcess = [](int code) { EndProcess(code); };
    ControllerContext core;
    core.dataFolder = context_.dataFolder;
    core.appDataFolder = context_.appDataFolder;
    core.settings = context_.settings;
    core.link = context_.link ? context_.link : &DeviceLink::Instance();
    core.db = context_.store ? context_.store : &ConfigDatabase::Instance();
    core.text = [texts = texts_](int id) { return texts->Text(id); };
    core.timing = context_.timing;
    controller_ = Controller::Create(std::move(core));
    controller_->AttachView(this);
    if (!context_.firmwareRelease) {
        context_.firmwareRelease = [this] {
            return static_cast<unsigned>(HexTextToInt(controller_->FirmwareVersionText()));
        };
    }
}

DeviceMainDlg::~DeviceMainDlg() {
    StopController();
    icon_->Remove();
}

void DeviceMainDlg::StopController() {
    if (!controller_)
        return;
    // Hand-overs from the worker are refused from now on, so neither thread can wait for the
    // other; a worker inside a long task finishes it on its own.
    DUI::ShutdownUiThreadCalls();
    controller_->Stop();
    controller_->DetachView();
    hotplugNotifier_.reset();
    hotplug_.reset();
}

// --- initialisation -----------------------------------------------------------------------

int DeviceMainDlg::OnInitDialog() {
    MDialog::OnInitDialog();

    // The mark by which tools find the main window; later starts of the program reach it
    // through the activation socket of the single-instance guard.
    SetProp(Manager::GetDeviceName(), 1);

    // Frameless: the title bar moves the window (a double click there maximizes and restores
    // it) and the edges resize it: down to half the design height, where the pages are drawn at
    // half their size, and three quarters of its width, where the bars' controls and the
    // key-editing panel still fit.
    SetResizable(kResizeBorder, {kWidth * 3 / 4, kHeight / 2});

    SetIcon(kIconFile);
    const QString iconPath =
        QString::fromStdString((Manager::GetSkinFolder() / kIconFile).string());
    icon_->onMouse = [this](unsigned mouseMessage) {
        PostMessage(msg::kTrayCallback, 0, static_cast<LPARAM>(mouseMessage));
    };
    icon_->onExitChosen = [this] { PostMessage(WM_COMMAND, msg::kExitCommand, 0); };
    icon_->Add(QIcon(iconPath), Manager::GetDeviceName(), texts_->Text(text_id::kExit));

    WriteSelectedType(settings_, kInitialDeviceType);
    catalogue_.Load(context_.dataFolder, Manager::GetTheme(), &deviceListSink_);
    controller_->SetCatalogue(catalogue_.Models(), catalogue_.Connections());
    if (settingsVersion)
        settingsVersion->SetTitle(VersionLabel());
    StartHotplug();

    // Until the first refresh the window shows the state of a machine without a mouse.
    SetWindowState(WindowState::kNoDevice);
    controller_->QueueTask(task::kSelectAndReload);
    controller_->QueueTask(task::kCheckSoftware);
    DUI::ResumeUiThreadCalls();
    if (context_.startWorker)
        controller_->Start();

    SetMTimer(kAnimationTickMs);
    return 1;
}

void DeviceMainDlg::InitUI(const MRect&) {
    titleFont_ = kPageFont;
    textFont_ = kPageFont;
    Manager::SetFontName(textFont_);
    BuildMainFrame(*this, *this, *texts_);
    // The page builders follow in their order (buttons, key-editing panel,
    // performance, macros, lighting, device settings, application settings).
}

void DeviceMainDlg::UISize(const MRect& client) {
    scale_ = PageScale::For(client);
    SetCaptionRect(FrameControlRect(frame_id::kTitleBar, client));
    LayoutMainFrame(*this, *this, client);
    // The page layouts follow in the same order as their builders.
}

int DeviceMainDlg::InitialShowCommand(bool hide) const {
    if (!hide)
        return SW_SHOW;
    // Hidden without a tray icon, nothing could bring the window back.
    return icon_->IsShown() ? SW_HIDE : SW_SHOWMINNOACTIVE;
}

int DeviceMainDlg::OnDestroy() {
    StopController();
    icon_->Remove();
    if (savingNotice_) {
        savingNotice_->DestroyWindow();
        savingNotice_.reset();
    }
    return MDialog::OnDestroy();
}

// --- window messages ----------------------------------------------------------------------

LRESULT DeviceMainDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if ((wParam & 0xFFFF) == msg::kExitCommand) {
                ExitProgram();
                return 0;
            }
            if ((wParam & 0xFFFF) == msg::kAboutCommand) {
                ShowAbout();
                return 0;
            }
            break;
        case WM_CLOSE:
            // The desktop's own close (its title bar, a key) follows the close button's rule.
            OnCloseButton();
            return 0;
        case msg::kTrayCallback:
            OnTrayCallback(lParam);
            return 0;
        case msg::kExitRequest:
            if (lParam == msg::kExitRequestParam) {
                ExitProgram();
                return 0;
            }
            break;
        case msg::kReapplyTexts:
            ApplyAllTexts();
            break;
        case msg::kProfileChoice:
            OnProfileChoice(wParam, lParam);
            return 0;
        case msg::kUpdateAvailable:
            OnUpdateAvailable(wParam);
            return 1;
        default:
            break;
    }
    return MDialog::OnWindowMessage(message, wParam, lParam);
}

void DeviceMainDlg::OnTrayCallback(LPARAM mouseMessage) {
    // A right click opens the icon's menu, which the tray shows by itself.
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_LBUTTONDBLCLK)
        BringToFront();
}

void DeviceMainDlg::BringToFront(std::string_view activationToken) {
    ShowNormalInFront(*this, activationToken);
}

void DeviceMainDlg::ExitProgram() {
    icon_->Remove();
    context_.endProcess(0);
}

// --- control notifications ----------------------------------------------------------------

int DeviceMainDlg::OnMessage(int controlId, int code, WPARAM value1, LPARAM) {
    if (controlId == frame_id::kPageTabs) {
        OnTabChanged(static_cast<int>(value1));
        return 1;
    }
    if (code != kNotifyClick)
        return 0;
    const SoftwareInfo& software = catalogue_.Software();
    switch (controlId) {
        case frame_id::kClose:
            OnCloseButton();
            return 1;
        case frame_id::kMinimize:
            Minimize();
            return 1;
        case frame_id::kMaximize:
            OnMaximizeButton();
            return 1;
        case frame_id::kSettings:
            OpenSettingsPanel();
            return 1;
        case frame_id::kSettingsReturn:
            CloseSettingsPanel();
            return 1;
        case frame_id::kDeviceList:
            OnDeviceListClick();
            return 1;
        case frame_id::kProfileButton:
            OnProfileButton();
            return 1;
        case frame_id::kResetButton:
        case kDeviceResetButton:
        case kPanelResetButton:
            OnFactoryReset();
            return 1;
        case frame_id::kPreviousDevice:
        case frame_id::kNextDevice:
            if (deviceList)
                deviceList->SetSelectIndex(-1);
            return 1;
        case frame_id::kLogoLink:
            if (!software.website.empty())
                context_.openAddress(software.website);
            return 1;
        case kWebLink:
            context_.openAddress(software.website);
            return 1;
        case kFeedbackLink:
            context_.openAddress(software.feedback);
            return 1;
        case kQaLink:
            context_.openAddress(software.qa);
            return 1;
        case kMouseSettings:
            context_.openMouseSettings();
            return 1;
        default:
            // Clicks the window takes without doing anything: 94 to 97 on the button page, 218
            // to 224 on the lighting page.
            if ((controlId >= 94 && controlId <= 97) || (controlId >= 218 && controlId <= 224))
                return 1;
            return 0;
    }
}

void DeviceMainDlg::OnCloseButton() {
    if (ReadProgramValue(settings_, kExitModeValueName) != 1) {
        ExitProgram();
        return;
    }
    // Hidden, the window comes back through the tray icon; without one it only minimizes.
    if (icon_->IsShown())
        ShowWindow(SW_HIDE);
    else
        Minimize();
}

void DeviceMainDlg::OnMaximizeButton() {
    Maximize();
    if (maximizeButton)
        maximizeButton->SetImage(MaximizeButtonImage(IsMaximized()), 4);
}

void DeviceMainDlg::OpenSettingsPanel() {
    for (MControl* c : std::initializer_list<MControl*>{tabBackground, pageTabs, mousePicture,
                                                        battery, settingsButton, maximizeButton})
        Show(c, false);
    Show(settingsPanel, true);
    settingsOpen_ = true;
}

void DeviceMainDlg::CloseSettingsPanel() {
    Show(settingsPanel, false);
    Show(settingsButton, true);
    Show(maximizeButton, true);
    settingsOpen_ = false;
    if (controller_->IsPolling() && currentTab_ != tab_id::kHome) {
        Show(tabBackground, true);
        Show(pageTabs, true);
        SelectTabPosition(returnTab_);
        Show(mousePicture, true);
        Show(battery, true);
    } else {
        SelectTabPosition(0);
        Show(homePage, true);
    }
}

void DeviceMainDlg::OnTabChanged(int position) {
    if (settingsOpen_) {
        Show(settingsPanel, false);
        settingsOpen_ = false;
        for (MControl* c : std::initializer_list<MControl*>{closeButton, minimizeButton,
                                                            settingsButton, maximizeButton})
            Show(c, true);
    }
    const int id = pageTabs ? static_cast<int>(pageTabs->GetItemData(position)) : 0;
    if (currentTab_ == tab_id::kHome)
        Show(mousePicture, true);
    Show(battery, true);
    if (id == tab_id::kHome) {
        for (MControl* c :
             std::initializer_list<MControl*>{mousePicture, tabBackground, pageTabs, deviceState,
                                              profileButton, resetButton, battery})
            Show(c, false);
    }
    currentTab_ = id;
}

void DeviceMainDlg::SelectTabPosition(int position) {
    if (pageTabs)
        pageTabs->SetSelectItem(position);
}

// --- window states ------------------------------------------------------------------------

void DeviceMainDlg::SetWindowState(WindowState state) {
    const bool connected = ShowsDevice(state);
    SetConnectionText(state == WindowState::kCable      ? text_id::kConnectedByCable
                      : state == WindowState::kReceiver ? text_id::kConnectedByReceiver
                                                        : text_id::kNotConnected);
    if (deviceState)
        deviceState->SetConnection(state == WindowState::kCable      ? kConnectionCable
                                   : state == WindowState::kReceiver ? kConnectionReceiver
                                                                     : -1);
    if (settingsOpen_) {
        Show(maximizeButton, true);
        Show(settingsButton, true);
    }
    Show(settingsPanel, false);
    settingsOpen_ = false;

    Show(homePage, true);
    if (!connected) {
        Show(noDevicePicture, true);
        Show(noDeviceText, true);
        // The arrows go with the list they move through.
        for (MControl* c : std::initializer_list<MControl*>{deviceList, previousDevice, nextDevice,
                                                            tabBackground, pageTabs, mousePicture})
            Show(c, false);
        SelectTabPosition(0);
        return;
    }
    for (MControl* c : std::initializer_list<MControl*>{deviceList, previousDevice, nextDevice})
        Show(c, true);
    Show(tabBackground, true);
    Show(pageTabs, true);
    SelectTabPosition(kFirstDevicePagePosition);
    for (MControl* c :
         std::initializer_list<MControl*>{mousePicture, deviceState, profileButton, resetButton})
        Show(c, true);
    Show(noDevicePicture, false);
    Show(noDeviceText, false);
}

// --- texts --------------------------------------------------------------------------------

void DeviceMainDlg::SetLanguage(int languageId) {
    cursorial::SetLanguage(*texts_, settings_, languageId);
    titleFont_ = kPageFont;
    textFont_ = kPageFont;
    ApplyAllTexts();
}

void DeviceMainDlg::ApplyFontNames() {
    Manager::SetFontName(textFont_);
    for (MControlFont* c : std::initializer_list<MControlFont*>{
             deviceState, resetButton, noDeviceText, settingsVersion, pageTabs})
        if (c)
            c->SetFontName(textFont_);
}

std::u16string DeviceMainDlg::VersionLabel() const {
    return FormatW("%s: v%s", ToUtf8(texts_->Text(text_id::kSoftwareVersion)).c_str(),
                   ToUtf8(catalogue_.Software().version).c_str());
}

void DeviceMainDlg::ApplyAllTexts() {
    // Every text changes in one repaint.
    QWidget* widget = GetWidget();
    const bool updates = widget && widget->updatesEnabled();
    if (widget)
        widget->setUpdatesEnabled(false);

    ApplyFontNames();
    if (pageTabs) {
        for (const PageTab& tab : kPageTabs) {
            const int pos = pageTabs->FindItemByData(tab.tabId);
            if (pos >= 0)
                pageTabs->SetItemText(pos, texts_->Text(tab.textId));
        }
    }
    const std::pair<MControl*, int> tips[] = {{closeButton, text_id::kClose},
                                              {minimizeButton, text_id::kMinimize},
                                              {maximizeButton, text_id::kMaximize},
                                              {settingsButton, text_id::kSettings},
                                              {previousDevice, text_id::kPreviousDevice},
                                              {nextDevice, text_id::kNextDevice}};
    for (const auto& [control, textId] : tips) {
        if (control)
            control->SetTooltip(texts_->Text(textId));
    }
    if (deviceList)
        deviceList->SetVersionDesc(texts_->Text(text_id::kDeviceListVersion));
    SetConnectionText(connectionTextId_);
    if (settingsVersion)
        settingsVersion->SetTitle(VersionLabel());
    if (noDeviceText)
        noDeviceText->SetTitle(
            texts_->Text(accessProblem_ ? text_id::kNoDeviceAccess : text_id::kHomeHint));
    if (resetButton)
        resetButton->SetTitle(texts_->Text(kResetButtonTextId));
    icon_->SetExitText(texts_->Text(text_id::kExit));
    for (const PageHooks& page : pages_) {
        if (page.applyTexts)
            page.applyTexts();
    }
    ShowProfileTitle(controller_->CurrentProfile());
    ShowVersions(versions_);

    if (widget) {
        widget->setUpdatesEnabled(updates);
        widget->update();
    }
}

// --- dialogs ------------------------------------------------------------------------------

void DeviceMainDlg::ShowSavingNotice() {
    if (!showSaveTips_)
        return;
    if (!savingNotice_) {
        savingNotice_ = std::make_unique<SaveWaitDlg>(
            *texts_, context_.timers ? *context_.timers : WindowTimers());
        if (!savingNotice_->CreateFor(this)) {
            savingNotice_.reset();
            return;
        }
    }
    savingNotice_->Start();
}

void DeviceMainDlg::ClosePopups() {
    for (const char16_t* name :
         {u"CloseWindowTipDlg", u"CustomKeyDlg", u"WaitDlg", u"Menu Window"}) {
        if (const HWND popup = FindWindow(kClassName, name))
            DUI::PostMessage(popup, WM_CLOSE, 0, 0);
    }
    if (const HWND box = FindWindow(kClassName, CUIMessageBox::kWindowTitle))
        DUI::PostMessage(box, WM_CLOSE, IDCANCEL, 0);
    for (const char16_t* name : {u"KeyboardTip Window", u"ComboWnd", u"PaletteDlg"}) {
        if (const HWND popup = FindWindow(kClassName, name))
            DUI::ShowWindow(popup, SW_HIDE);
    }
    if (savingNotice_)
        savingNotice_->ShowWindow(SW_HIDE);
    for (const PageHooks& page : pages_) {
        if (page.closePopups)
            page.closePopups();
    }
}

int DeviceMainDlg::MessageBox(std::u16string_view message, std::u16string_view title, int style) {
    return CUIMessageBox::Show(this, *texts_, message, title, style);
}

void DeviceMainDlg::ShowAbout() {
    AboutDlg::Show(
        this, *texts_, context_.firmwareRelease ? context_.firmwareRelease : [] { return 0u; });
}

}  // namespace cursorial
