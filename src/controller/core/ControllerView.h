// What the controller asks of the window. The worker calls these while it runs a task, in the
// order the task gives; the desktop window hands each call to its own thread and waits for it,
// so a call has taken effect when it returns. Every call may also come from the window thread
// itself (a device-list click loads a description), and must then run at once.
//
// cursorialctl uses the controller without a window: HeadlessView answers the device list's
// selection and ignores the rest.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/DeviceDescription.h"
#include "controller/core/WindowState.h"
#include "device/DpiCodec.h"

namespace cursorial {

// One listed, identified interface as the device list shows it.
struct DeviceListRow {
    int deviceType = 0;
    int connectionKind = 0;
    int online = 0;
    unsigned release = 0;
};

// The pages a refresh brings in line with the store (each one only when set).
struct PageRefresh {
    bool buttons = false;
    bool macros = false;
    bool performance = false;
    bool lighting = false;
    // Only the DPI controls of the performance page (the DPI defaults task).
    bool dpiOnly = false;
};

// The version labels of the settings page.
struct VersionDisplay {
    int connectionMode = -1;
    std::u16string firmwareText;  // "%X" of the cable's release (empty over the receiver)
    std::u16string receiverText;  // "%X" of the receiver's release (empty over the cable)
};

class ControllerView {
public:
    virtual ~ControllerView() = default;

    // Device refresh. Every entry of the device list goes absent, then each row is shown; with
    // rows, `requestedType` is selected by the list's own rule and the list's selection is
    // answered (`requestedType` itself when the list chose nothing).
    virtual int ShowDeviceList(const std::vector<DeviceListRow>& rows, int requestedType) = 0;
    // `accessProblem`: a supported interface could not be opened for lack of permission.
    virtual void ShowWindowState(WindowState state, bool accessProblem) = 0;
    virtual void ClosePopups() = 0;
    // A model's description was loaded: the picture, the lighting tab, the option switches, the
    // buttons' callouts and list. `load` holds what the file had, `state` the result.
    virtual void ShowDescription(const DescriptionLoad& load, const DescriptionState& state) = 0;
    virtual void ShowProfileTitle(int profile) = 0;

    // Pages and their shared controls.
    virtual void RefreshPages(const PageRefresh& pages) = 0;
    virtual void ShowSensor(int sensor, const SensorProfile& profile) = 0;
    virtual void ShowBattery(int deviceType, int level, int charge) = 0;
    virtual void ShowVersions(const VersionDisplay& versions) = 0;
    // Over the receiver the synchronisation asks the mouse for its firmware version ("%X%02X").
    virtual void ShowReceiverFirmware(const std::u16string& versionText) = 0;

    // Unasked reports and failed writes.
    virtual void SetDeviceState(int deviceType, int connectionKind, int state) = 0;
    virtual void SetConnectionText(int textId) = 0;
    virtual void ShowMouseConnected(int connectionKind) = 0;
    // Answers the number of devices the list still shows online.
    virtual int ShowMouseDisconnected() = 0;
    // The mouse changed its stage count or stage itself (each only when it changed).
    virtual void ShowDpiChange(std::optional<int> count, std::optional<int> stage) = 0;
    // Macros the mouse could not take (too long); their buttons went out with their defaults.
    virtual void ShowMacrosRefused(const std::vector<int>& keyCodes) = 0;
};

// The device list's selection without a window: the requested type when a row of it is online,
// else the first online row's type, else the requested type.
class HeadlessView : public ControllerView {
public:
    int ShowDeviceList(const std::vector<DeviceListRow>& rows, int requestedType) override;
    void ShowWindowState(WindowState, bool) override {}
    void ClosePopups() override {}
    void ShowDescription(const DescriptionLoad&, const DescriptionState&) override {}
    void ShowProfileTitle(int) override {}
    void RefreshPages(const PageRefresh&) override {}
    void ShowSensor(int, const SensorProfile&) override {}
    void ShowBattery(int, int, int) override {}
    void ShowVersions(const VersionDisplay&) override {}
    void ShowReceiverFirmware(const std::u16string&) override {}
    void SetDeviceState(int, int, int) override {}
    void SetConnectionText(int) override {}
    void ShowMouseConnected(int) override {}
    int ShowMouseDisconnected() override { return 0; }
    void ShowDpiChange(std::optional<int>, std::optional<int>) override {}
    void ShowMacrosRefused(const std::vector<int>&) override {}
};

}  // namespace cursorial
