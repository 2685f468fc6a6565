// DeviceMainDlg: the main window. It builds the frame and the pages, loads the catalogue into the
// device list, owns the tray icon and the child dialogs, dispatches the frame's controls and the
// program's window messages, and shows what the controller core finds: it is the core's view.
//
// The core (src/controller/core) runs the worker, the task queue, device selection and the
// synchronisation. Its calls come from the worker thread; each is handed to the window thread
// and waited for (DUI::RunOnUiThread), so they take effect in the order the core makes them.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "app/gui/NotificationIcon.h"
#include "catalogue/CatalogueSink.h"
#include "catalogue/DeviceCatalogue.h"
#include "common/dui/MWindow.h"
#include "controller/DeviceMainDef.h"
#include "controller/ProfileFiles.h"
#include "controller/core/Controller.h"
#include "controller/core/ControllerView.h"
#include "pages/MainFrame.h"
#include "pages/PageContext.h"

class QSocketNotifier;

namespace cursorial {

class DialogTimers;
class KeyValueStore;
class LanguageTexts;
class SaveWaitDlg;

// What the main window is given by the start-up. The seams (icon, openers, process end,
// timers) default to the real ones; tests hand in their own.
struct MainWindowContext {
    std::filesystem::path dataFolder;  // config.xml, language/, skins/, device/
    LanguageTexts* texts = nullptr;
    const KeyValueStore* settings = nullptr;
    std::set<int> languages;  // the languages config.xml offers

    std::unique_ptr<NotificationIcon> icon;                // null: the desktop's tray
    std::function<bool(std::u16string_view)> openAddress;  // null: OpenAddress
    std::function<bool()> openMouseSettings;               // null: OpenMouseSettings
    std::function<void(int)> endProcess;                   // null: EndProcess
    DialogTimers* timers = nullptr;                        // saving notice; null: the window's
    std::function<unsigned()> firmwareRelease;             // About; null: the controller's

    std::filesystem::path appDataFolder;  // the models' databases below db/
    DeviceLink* link = nullptr;           // null: DeviceLink::Instance()
    ConfigDatabase* store = nullptr;      // null: ConfigDatabase::Instance()
    // HID arrival and removal; null: the link's backend's own source.
    std::unique_ptr<HotplugSource> hotplug;
    ControllerTiming timing;
    ProfilePathChooser choosePath;  // null: the platform's file dialog
    bool startWorker = true;        // tests may run the controller's steps themselves
};

class DeviceMainDlg : public DUI::MDialog,
                      public DeviceMainDef,
                      public ControllerView,
                      public PageContext {
public:
    static constexpr int kWidth = 1300;
    static constexpr int kHeight = 788;
    // Font of the pages' titles and texts until a language asks for another.
    static constexpr const char16_t* kPageFont = u"Open Sans Semibold";

    explicit DeviceMainDlg(MainWindowContext context);
    ~DeviceMainDlg() override;

    // --- window operations ---
    DUI::LRESULT OnWindowMessage(DUI::UINT message, DUI::WPARAM wParam,
                                 DUI::LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(const DUI::MRect& client) override;
    void UISize(const DUI::MRect& client) override;
    int OnMessage(int controlId, int code, DUI::WPARAM value1, DUI::LPARAM value2) override;
    int OnNcActivate(bool) override { return 0; }
    void OnTimer(DUI::UINT) override {}
    // Teardown: takes the icon away, destroys the child dialogs and the window.
    int OnDestroy() override;

    // The show command of the modal run: normal, or with "-hide" hidden where the tray icon
    // can bring the window back and minimized where there is no tray.
    int InitialShowCommand(bool hide) const;

    // Puts the window into one of the refresh states: connection text, which parts show, the
    // tab column's position. Closes the settings panel.
    void SetWindowState(WindowState state);

    // The user picked a language: store it, set the page fonts, apply every text at once.
    void SetLanguage(int languageId);
    void ApplyAllTexts();

    // The saving notice after a setting was handed to the worker (when the model's description
    // allows it).
    void ShowSavingNotice() override;
    void SetShowSaveTips(bool show) { showSaveTips_ = show; }

    // Closes what may be open over the window after a device refresh: the pop-up dialogs by
    // their window names (an open message box ends with its cancel result), the lists and the
    // palette by hiding them, and the saving notice.
    void ClosePopups() override;

    // Shows the window normal and in front (tray click, activation by a later start).
    void BringToFront(std::string_view activationToken = {});

    // The message box over this window.
    int MessageBox(std::u16string_view message, std::u16string_view title, int style);

    // --- the controller's view (called on the worker, run on the window thread) ---
    int ShowDeviceList(const std::vector<DeviceListRow>& rows, int requestedType) override;
    void ShowWindowState(WindowState state, bool accessProblem) override;
    void ShowDescription(const DescriptionLoad& load, const DescriptionState& state) override;
    void ShowProfileTitle(int profile) override;
    void RefreshPages(const PageRefresh& pages) override;
    void ShowSensor(int sensor, const SensorProfile& profile) override;
    void ShowBattery(int deviceType, int level, int charge) override;
    void ShowVersions(const VersionDisplay& versions) override;
    void ShowReceiverFirmware(const std::u16string& versionText) override;
    void SetDeviceState(int deviceType, int connectionKind, int state) override;
    void SetConnectionText(int textId) override;
    void ShowMouseConnected(int connectionKind) override;
    int ShowMouseDisconnected() override;
    void ShowDpiChange(std::optional<int> count, std::optional<int> stage) override;
    void ShowMacrosRefused(const std::vector<int>& keyCodes) override;

    // --- the pages' context ---
    ConfigDatabase& Store() override;
    void QueueTask(int code) override;
    int CurrentProfile() const override;
    DescriptionState Description() const override;
    int SensorCode() const override;
    DpiLimits Limits() const override;
    int RateClass() const override;
    int LightMode() const override;
    void SetLightMode(int mode) override;
    void SetPendingMacro(int keyCode) override;
    const LanguageTexts& PageTexts() const override { return *texts_; }
    void RegisterPage(PageHooks hooks) override;

    // --- state, for the pages, the worker and tests ---
    int CurrentTabId() const { return currentTab_; }
    bool IsSettingsPanelOpen() const { return settingsOpen_; }
    bool IsPolling() const { return controller_->IsPolling(); }
    bool IsDevicePresent() const { return controller_->IsDevicePresent(); }
    int ConnectionTextId() const { return connectionTextId_; }
    // The layout scale of the current client size (1.0 at the design size).
    const PageScale& Scale() const { return scale_; }
    const DeviceCatalogue& Catalogue() const { return catalogue_; }
    NotificationIcon& Icon() { return *icon_; }
    SaveWaitDlg* SavingNotice() const { return savingNotice_.get(); }
    const LanguageTexts& Texts() const { return *texts_; }
    Controller& GetController() { return *controller_; }
    // What the version display last showed (the settings tab's labels follow it).
    const VersionDisplay& Versions() const { return versions_; }
    bool ShowsAccessProblem() const { return accessProblem_; }

private:
    // Feeds the device-list control from the catalogue.
    class DeviceListSink : public CatalogueSink {
    public:
        explicit DeviceListSink(DeviceMainDlg& owner) : owner_(owner) {}
        void OnClear() override;
        void OnModel(const DeviceEntry& model) override;

    private:
        DeviceMainDlg& owner_;
    };

    void OnTrayCallback(DUI::LPARAM mouseMessage);
    // Runs a view call on the window thread and waits for it.
    template <typename F>
    void OnWindowThread(F&& work);
    void StartHotplug();
    void OnDeviceListClick();
    void OnProfileButton();
    void OnProfileChoice(DUI::WPARAM action, DUI::LPARAM profile);
    void OnFactoryReset();
    void OnUpdateAvailable(DUI::WPARAM kind);
    void StopController();
    void OnCloseButton();
    void ExitProgram();
    void OnMaximizeButton();
    void OpenSettingsPanel();
    void CloseSettingsPanel();
    void OnTabChanged(int position);
    void SelectTabPosition(int position);
    void ShowAbout();
    std::u16string VersionLabel() const;
    void ApplyFontNames();

    MainWindowContext context_;
    LanguageTexts* texts_;
    const KeyValueStore& settings_;
    std::unique_ptr<NotificationIcon> icon_;
    DeviceCatalogue catalogue_;
    DeviceListSink deviceListSink_{*this};
    std::unique_ptr<SaveWaitDlg> savingNotice_;

    std::u16string titleFont_{kPageFont};
    std::u16string textFont_{kPageFont};
    int currentTab_ = 1;
    int returnTab_ = 1;  // the tab position the settings panel returns to
    bool settingsOpen_ = false;
    bool showSaveTips_ = true;
    bool accessProblem_ = false;
    int connectionTextId_;
    PageScale scale_;
    VersionDisplay versions_;
    std::vector<PageHooks> pages_;

    std::shared_ptr<Controller> controller_;
    std::unique_ptr<HotplugSource> hotplug_;
    std::unique_ptr<QSocketNotifier> hotplugNotifier_;
};

}  // namespace cursorial
