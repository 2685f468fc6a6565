// The worker's idle step while a mouse is listed: one unasked report read and handled. The
// receiver tells when its mouse comes and goes and how full its battery is; the mouse tells when
// its own button changed the DPI stage.
#include "app/TextIds.h"
#include "common/text/WideText.h"
#include "controller/core/Controller.h"
#include "device/Notifications.h"
#include "store/ConfigDatabase.h"
#include "store/SettingKeys.h"

namespace cursorial {

void Controller::NotificationStep() {
    CommandReport report;
    int type = 0;
    // Read in short slices: a task queued meanwhile (or a stop) starts without waiting for the
    // whole read.
    link_.ReadNotification(report, type, [this] { return stopping_.load() || !queue_.Empty(); });
    // The report is looked at whatever the read answered.
    const Notification n = ParseNotification(report.bytes);
    if (const auto* dpi = std::get_if<DpiChange>(&n)) {
        HandleDpiChange(dpi->count, dpi->stage);
    } else if (const auto* rc = std::get_if<ReceiverConnection>(&n)) {
        HandleReceiverConnection(type, rc->MouseConnected(), rc->connectedByte, rc->batteryLevel,
                                 rc->chargeState);
    }
}

void Controller::HandleDpiChange(int count, int stage) {
    // The mouse has changed itself: the store and the page follow, nothing is sent.
    const int profile = currentProfile_;
    if (count != lastStageCount_) {
        lastStageCount_ = count;
        db_.SetConfigValue(profile, setting_key::kDpiCount, IntToText(count));
        View([&](ControllerView& v) { v.ShowDpiChange(count, std::nullopt); });
    }
    if (stage != lastStage_) {
        lastStage_ = stage;
        db_.SetConfigValue(profile, setting_key::kDpiIndex, IntToText(stage));
        View([&](ControllerView& v) { v.ShowDpiChange(std::nullopt, stage); });
    }
}

void Controller::HandleReceiverConnection(int deviceType, bool mouseConnected, int connectedByte,
                                          int batteryLevel, int charge) {
    View([](ControllerView& v) { v.ClosePopups(); });
    if (mouseConnected) {
        devicePresent_ = true;
        const int kind = link_.ConnectionMode() == kKindReceiver ? kKindReceiver : kKindCable;
        View([&](ControllerView& v) {
            v.SetDeviceState(deviceType, kind, kOnline);
            v.ShowMouseConnected(kind);
        });
        link_.SetOnline(deviceType, kind, kOnline);
        ReconnectReload();
    } else {
        devicePresent_ = false;
        View([&](ControllerView& v) { v.SetDeviceState(deviceType, kKindReceiver, 0); });
        link_.SetOnline(deviceType, kKindReceiver, kOfflineByNotification);
        link_.PollReceiverState();
        View([](ControllerView& v) { v.ShowMouseDisconnected(); });
    }
    if (batteryLevel != 0) {
        connected_ = connectedByte;
        charge_ = charge;
        batteryLevel_ = batteryLevel;
        View([&](ControllerView& v) { v.ShowBattery(deviceType, batteryLevel, charge); });
    }
}

}  // namespace cursorial
