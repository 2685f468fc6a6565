// DeviceMainDlg: the main window and the controller of the program. It builds the frame and
// the pages, loads the catalogue into the device list, owns the tray icon and the child
// dialogs, switches the window between its device states and handles the frame's own controls
// and the program's window messages.
//
// The background worker (the CThreadBasic base, its task queue and the device refresh) joins
// later; the places it takes are marked "worker:" below.
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
#include "pages/MainFrame.h"

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
    std::function<unsigned()> firmwareRelease;             // About; null: 0 (no cable mouse)
};

// The states a device refresh leaves the window in.
enum class WindowState {
    kNoDevice,    // no supported mouse listed at all
    kOtherModel,  // mice listed, none of the selected model reachable
    kCable,       // the selected model on its cable
    kReceiver,    // the selected model through its receiver
};

class DeviceMainDlg : public DUI::MDialog, public DeviceMainDef {
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
    // tab column's position, the polling and device-present flags. Closes the settings panel.
    void SetWindowState(WindowState state);

    // The user picked a language: store it, set the page fonts, apply every text at once.
    void SetLanguage(int languageId);
    void ApplyAllTexts();

    // The saving notice after a setting was handed to the worker (when the model's description
    // allows it).
    void ShowSavingNotice();
    void SetShowSaveTips(bool show) { showSaveTips_ = show; }

    // Closes what may be open over the window after a device refresh: the pop-up dialogs by
    // their window names (an open message box ends with its cancel result), the lists and the
    // palette by hiding them, and the saving notice.
    void ClosePopups();

    // Shows the window normal and in front (tray click, activation by a later start).
    void BringToFront(std::string_view activationToken = {});

    // The message box over this window.
    int MessageBox(std::u16string_view message, std::u16string_view title, int style);

    // --- state, for the pages, the worker and tests ---
    int CurrentTabId() const { return currentTab_; }
    bool IsSettingsPanelOpen() const { return settingsOpen_; }
    bool IsPolling() const { return polling_; }
    bool IsDevicePresent() const { return devicePresent_; }
    int ConnectionTextId() const { return connectionTextId_; }
    // The layout scale of the current client size (1.0 at the design size).
    const PageScale& Scale() const { return scale_; }
    const DeviceCatalogue& Catalogue() const { return catalogue_; }
    NotificationIcon& Icon() { return *icon_; }
    SaveWaitDlg* SavingNotice() const { return savingNotice_.get(); }
    const LanguageTexts& Texts() const { return *texts_; }

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
    void OnCloseButton();
    void ExitProgram();
    void OnMaximizeButton();
    void OpenSettingsPanel();
    void CloseSettingsPanel();
    void OnTabChanged(int position);
    void SelectTabPosition(int position);
    void ShowAbout();
    std::u16string VersionLabel() const;
    void SetConnectionText(int textId);
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
    bool polling_ = false;
    bool devicePresent_ = false;
    bool showSaveTips_ = true;
    int connectionTextId_;
    PageScale scale_;
};

}  // namespace cursorial
