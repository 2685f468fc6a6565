// The main window as the controller core's view and as the pages' context: what the core's
// refreshes, reads and unasked reports show, and the window's own handlers that start core
// work (device-list click, profile pop-up and its choices, factory reset, update prompts,
// hot-plug).
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include "app/LanguageTexts.h"
#include "app/TextIds.h"
#include "common/dui/CDeviceList.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"
#include "common/dui/UiThread.h"
#include "common/text/WideText.h"
#include "controller/DeviceMainDlg.h"
#include "controller/ProfileDlg.h"
#include "controller/ProfileFiles.h"
#include "controller/WindowMessages.h"
#include "controller/core/TaskCode.h"
#include "device/VersionText.h"
#include "dialogs/CUIMessageBox.h"
#include "exchange/ProfileManager.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

using namespace DUI;

namespace {

void Show(MControl* control, bool visible) {
    if (control)
        control->SetVisible(visible);
}

// Position of the lighting tab in the page tab column.
constexpr int kLightingTabPosition = 4;

// First parameter of the update-available message.
constexpr WPARAM kUpdateSoftware = 1;
constexpr WPARAM kUpdateFirmware = 2;

}  // namespace

template <typename F>
void DeviceMainDlg::OnWindowThread(F&& work) {
    RunOnUiThread(std::function<void()>(std::forward<F>(work)));
}

// --- the controller's view -------------------------------------------------------------------

int DeviceMainDlg::ShowDeviceList(const std::vector<DeviceListRow>& rows, int requestedType) {
    int selected = requestedType;
    OnWindowThread([&] {
        if (!deviceList)
            return;
        deviceList->SetAllDeviceState(0);
        for (const DeviceListRow& row : rows) {
            deviceList->SetDeviceState(row.deviceType, row.connectionKind, row.online);
            deviceList->SetDeviceVersion(row.deviceType, static_cast<int>(row.release));
        }
        if (rows.empty())
            return;
        deviceList->SetSelectDevice(requestedType);
        selected = deviceList->GetSelectDevice();
    });
    return selected;
}

void DeviceMainDlg::ShowWindowState(WindowState state, bool accessProblem) {
    OnWindowThread([&] {
        accessProblem_ = accessProblem;
        if (noDeviceText)
            noDeviceText->SetTitle(
                texts_->Text(accessProblem ? text_id::kNoDeviceAccess : text_id::kHomeHint));
        SetWindowState(state);
    });
}

void DeviceMainDlg::ShowDescription(const DescriptionLoad& load, const DescriptionState& state) {
    OnWindowThread([&] {
        if (load.mouseImage && mousePicture)
            mousePicture->SetImage(u"device\\" + *load.mouseImage);
        if (load.lighting && pageTabs) {
            pageTabs->SetItemVisible(kLightingTabPosition, state.lighting);
            if (GetWidget())
                UISize(GetClientRect());
        }
        if (load.show)
            showSaveTips_ = state.show.saveTips;
    });
}

void DeviceMainDlg::ShowProfileTitle(int profile) {
    OnWindowThread([&] {
        if (!profileButton)
            return;
        std::u16string name;
        controller_->Store().GetProfileName(profile, name);
        profileButton->SetTitle(ProfileDisplayName(name, texts_->Text(text_id::kProfileWord)));
    });
}

void DeviceMainDlg::RefreshPages(const PageRefresh& refresh) {
    OnWindowThread([&] {
        for (const PageHooks& page : pages_) {
            const std::pair<bool, const std::function<void()>*> steps[] = {
                {refresh.buttons, &page.refreshButtons},
                {refresh.macros, &page.refreshMacros},
                {refresh.performance, &page.refreshPerformance},
                {refresh.lighting, &page.refreshLighting},
                {refresh.dpiOnly, &page.refreshDpi}};
            for (const auto& [wanted, hook] : steps) {
                if (wanted && *hook)
                    (*hook)();
            }
        }
    });
}

void DeviceMainDlg::ShowSensor(int sensor, const SensorProfile& profile) {
    OnWindowThread([&] {
        for (const PageHooks& page : pages_) {
            if (page.showSensor)
                page.showSensor(sensor, profile);
        }
    });
}

void DeviceMainDlg::ShowBattery(int deviceType, int level, int charge) {
    OnWindowThread([&] {
        if (battery)
            battery->SetBatteryInfo(level, charge);
        if (deviceList)
            deviceList->SetDeviceBattery(deviceType, charge, level);
    });
}

void DeviceMainDlg::ShowVersions(const VersionDisplay& versions) {
    OnWindowThread([&] { versions_ = versions; });
}

void DeviceMainDlg::ShowReceiverFirmware(const std::u16string& versionText) {
    OnWindowThread([&] { versions_.firmwareText = versionText; });
}

void DeviceMainDlg::SetDeviceState(int deviceType, int connectionKind, int state) {
    OnWindowThread([&] {
        if (deviceList)
            deviceList->SetDeviceState(deviceType, connectionKind, state);
    });
}

void DeviceMainDlg::SetConnectionText(int textId) {
    OnWindowThread([&] {
        connectionTextId_ = textId;
        if (deviceState)
            deviceState->SetTitle(texts_->Text(textId));
    });
}

void DeviceMainDlg::ShowMouseConnected(int connectionKind) {
    OnWindowThread([&] {
        Show(tabBackground, true);
        Show(pageTabs, true);
        Show(mousePicture, true);
        SetConnectionText(connectionKind == kKindReceiver ? text_id::kConnectedByReceiver
                                                          : text_id::kConnectedByCable);
        if (deviceState)
            deviceState->SetConnection(connectionKind == kKindReceiver ? kConnectionReceiver
                                                                       : kConnectionCable);
        Show(noDevicePicture, false);
        Show(noDeviceText, false);
        for (MControl* c :
             {static_cast<MControl*>(deviceList), static_cast<MControl*>(previousDevice),
              static_cast<MControl*>(nextDevice)})
            Show(c, true);
        if (pageTabs)
            pageTabs->SetSelectItem(kFirstDevicePagePosition);
        for (MControl* c :
             {static_cast<MControl*>(tabBackground), static_cast<MControl*>(deviceState),
              static_cast<MControl*>(profileButton), static_cast<MControl*>(resetButton)})
            Show(c, true);
    });
}

int DeviceMainDlg::ShowMouseDisconnected() {
    int online = 0;
    OnWindowThread([&] {
        SetConnectionText(text_id::kNotConnected);
        if (deviceState)
            deviceState->SetConnection(-1);
        if (pageTabs)
            pageTabs->SetSelectItem(0);
        for (MControl* c : {static_cast<MControl*>(tabBackground), static_cast<MControl*>(pageTabs),
                            static_cast<MControl*>(mousePicture)})
            Show(c, false);
        Show(homePage, true);
        for (const PageHooks& page : pages_) {
            if (page.closePopups)
                page.closePopups();
        }
        online = deviceList ? deviceList->GetOnlineDevCount() : 0;
        Show(noDevicePicture, online == 0);
        Show(noDeviceText, online == 0);
        for (MControl* c :
             {static_cast<MControl*>(deviceList), static_cast<MControl*>(previousDevice),
              static_cast<MControl*>(nextDevice)})
            Show(c, online > 0);
    });
    return online;
}

void DeviceMainDlg::ShowDpiChange(std::optional<int> count, std::optional<int> stage) {
    OnWindowThread([&] {
        for (const PageHooks& page : pages_) {
            if (page.dpiChange)
                page.dpiChange(count, stage);
        }
    });
}

void DeviceMainDlg::ShowMacrosRefused(const std::vector<int>& keyCodes) {
    // Told after the task goes on: a message box waiting for the user must not hold the worker.
    OnWindowThread([&] {
        for (int key : keyCodes) {
            const std::u16string message =
                FormatW(ToUtf8(texts_->Text(text_id::kMacroTooLong)).c_str(), key + 1);
            QTimer::singleShot(0, GetWidget(), [this, message] {
                MessageBox(message, texts_->Text(text_id::kNoticeTitle),
                           CUIMessageBox::kStyleOneButton);
            });
        }
    });
}

// --- the pages' context ----------------------------------------------------------------------

ConfigDatabase& DeviceMainDlg::Store() {
    return controller_->Store();
}

void DeviceMainDlg::QueueTask(int code) {
    controller_->QueueTask(code);
}

int DeviceMainDlg::CurrentProfile() const {
    return controller_->CurrentProfile();
}

DescriptionState DeviceMainDlg::Description() const {
    return controller_->Description();
}

int DeviceMainDlg::SensorCode() const {
    return controller_->SensorCode();
}

DpiLimits DeviceMainDlg::Limits() const {
    return controller_->Limits();
}

int DeviceMainDlg::RateClass() const {
    return controller_->RateClass();
}

int DeviceMainDlg::LightMode() const {
    return controller_->LightMode();
}

void DeviceMainDlg::SetLightMode(int mode) {
    controller_->SetLightMode(mode);
}

void DeviceMainDlg::SetPendingMacro(int keyCode) {
    controller_->SetPendingMacro(keyCode);
}

void DeviceMainDlg::RegisterPage(PageHooks hooks) {
    pages_.push_back(std::move(hooks));
}

// --- handlers that start the controller's work -----------------------------------------------

void DeviceMainDlg::StartHotplug() {
    hotplug_ = context_.hotplug ? std::move(context_.hotplug)
                                : controller_->Link().Backend().CreateHotplugSource();
    if (!hotplug_ || hotplug_->Fd() < 0)
        return;
    hotplugNotifier_ = std::make_unique<QSocketNotifier>(hotplug_->Fd(), QSocketNotifier::Read);
    QObject::connect(hotplugNotifier_.get(), &QSocketNotifier::activated, [this] {
        for (const HotplugEvent& event : hotplug_->ReadPendingEvents())
            controller_->OnHotplug(event);
    });
}

void DeviceMainDlg::OnDeviceListClick() {
    if (!deviceList)
        return;
    const int type = deviceList->GetSelectDevice();
    const Controller::ClickResult result = controller_->DeviceListClick(type);
    if (result == Controller::ClickResult::kNotOnline) {
        MessageBox(texts_->Text(text_id::kHomeHint), texts_->Text(text_id::kMouseNotConnected),
                   CUIMessageBox::kStyleOneButton);
        return;
    }
    SetConnectionText(result == Controller::ClickResult::kReceiver ? text_id::kConnectedByReceiver
                                                                   : text_id::kConnectedByCable);
    Show(tabBackground, true);
    Show(pageTabs, true);
    if (pageTabs)
        pageTabs->SetSelectItem(kFirstDevicePagePosition);
    for (MControl* c : {static_cast<MControl*>(mousePicture), static_cast<MControl*>(deviceState),
                        static_cast<MControl*>(profileButton), static_cast<MControl*>(resetButton)})
        Show(c, true);
}

void DeviceMainDlg::OnProfileButton() {
    if (!controller_->IsDevicePresent()) {
        MessageBox(texts_->Text(text_id::kMouseNotConnected), texts_->Text(text_id::kNoticeTitle),
                   CUIMessageBox::kStyleOneButton);
        return;
    }
    if (!profileButton)
        return;
    ProfilePopupContext popup;
    popup.owner = this;
    popup.texts = texts_;
    popup.store = &controller_->Store();
    popup.currentProfile = controller_->CurrentProfile();
    ProfileDlg::Run(profileButton->GetRect(), popup);
}

void DeviceMainDlg::OnProfileChoice(WPARAM action, LPARAM profile) {
    const int id = static_cast<int>(profile);
    if (action == ProfileDlg::kSwitch) {
        controller_->SwitchProfile(id);
        return;
    }
    ProfileFiles files(this, *texts_, controller_->Store(), context_.choosePath);
    const bool lighting = controller_->HasLighting();
    if (action == ProfileDlg::kImport) {
        if (files.Import(controller_->CurrentProfile(), lighting)) {
            ShowProfileTitle(controller_->CurrentProfile());
            controller_->QueueTask(task::kWriteProfile);
        }
    } else if (action == ProfileDlg::kExport) {
        std::u16string name;
        controller_->Store().GetProfileName(id, name);
        files.Export(id, ProfileDisplayName(name, texts_->Text(text_id::kProfileWord)), lighting);
    }
}

void DeviceMainDlg::OnFactoryReset() {
    if (!controller_->IsDevicePresent()) {
        MessageBox(texts_->Text(text_id::kMouseNotConnected), texts_->Text(text_id::kNoticeTitle),
                   CUIMessageBox::kStyleOneButton);
        return;
    }
    if (MessageBox(texts_->Text(text_id::kFactoryResetQuestion),
                   texts_->Text(text_id::kFactoryResetTitle),
                   CUIMessageBox::kStyleTwoButtons) != IDOK)
        return;
    controller_->ForgetSynchronised();
    controller_->QueueTask(task::kFactoryReset);
    ShowSavingNotice();
}

void DeviceMainDlg::OnUpdateAvailable(WPARAM kind) {
    // The check that posted the message has left the new version with the controller.
    const std::string before = ToUtf8(texts_->Text(text_id::kNewVersion));
    const std::string after = ToUtf8(texts_->Text(text_id::kUpdateNowQuestion));
    if (kind == kUpdateSoftware) {
        const std::u16string message =
            FormatW("%s:V%s, %s", before.c_str(), ToUtf8(controller_->NewSoftwareVersion()).c_str(),
                    after.c_str());
        if (MessageBox(message, texts_->Text(text_id::kSoftwareUpdateTitle),
                       CUIMessageBox::kStyleTwoButtons) == IDOK)
            controller_->QueueTask(task::kInstallSoftware);
    } else if (kind == kUpdateFirmware) {
        const VersionParts version = SplitVersionText(controller_->NewFirmwareVersion());
        const std::u16string message =
            FormatW("%s:V%s.%s, %s", before.c_str(), ToUtf8(version.major).c_str(),
                    ToUtf8(version.minor).c_str(), after.c_str());
        if (MessageBox(message, texts_->Text(text_id::kFirmwareVersion),
                       CUIMessageBox::kStyleTwoButtons) == IDOK)
            controller_->QueueTask(task::kUpgradeFirmware);
    }
}

}  // namespace cursorial
