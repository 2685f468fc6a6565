#include "StoreDevice.h"

#include <string>
#include <string_view>
#include <vector>

#include "Cli.h"
#include "app/TextIds.h"
#include "common/text/WideText.h"
#include "controller/core/Controller.h"
#include "controller/core/MouseSession.h"
#include "controller/core/TaskCode.h"
#include "device/InfoDecoders.h"
#include "device/MacroCommands.h"
#include "store/ConfigDatabase.h"

namespace cursorial::cli {

namespace {

// The program's controller without a window, on the selected mouse and the given profile. Its
// write tasks are the ones the program's worker runs; every failed send is printed.
class StoreController {
public:
    StoreController(ConfigDatabase& db, int profile, const DescriptionState& description,
                    std::u16string_view modelKey)
        : controller_(Controller::Create({{}, {}, nullptr, &DeviceLink::Instance(), &db, {}, {}})) {
        controller_->AttachView(&view_);
        controller_->SetCurrentProfile(profile);
        controller_->SetDescription(description, modelKey);
        controller_->SetSendObserver([this](const Command& c, SendStatus status) {
            if (status == SendStatus::kOk)
                return;
            const std::uint8_t id = c.report[kCommandByte];
            FailSend(id == command::kMacroData ? std::string("macro data")
                                               : Format("command 0x%02X", id),
                     status, c.report);
            failed_ = true;
        });
    }

    // The information answer gives the sensor the DPI stages are encoded for.
    int TakeInformation() {
        SendStatus status = SendStatus::kNoAnswer;
        Command request = MakeReadCommand(command::kInfo);
        const std::optional<DeviceInfo> info = AskInformation(controller_->Link(), &status);
        if (status != SendStatus::kOk)
            return FailSend("information", status, request.report);
        if (!info)
            return Fail(kExitDevice, "information: short answer");
        if (info->connected == 0)
            return Fail(kExitDevice, "the mouse is not connected");
        controller_->TakeInformation(*info, SensorReadVariant::kFull);
        return kExitOk;
    }

    Controller& Get() { return *controller_; }
    bool Failed() const { return failed_ || !view_.refused.empty(); }
    const std::vector<int>& Refused() const { return view_.refused; }

private:
    class View : public HeadlessView {
    public:
        void ShowMacrosRefused(const std::vector<int>& keyCodes) override {
            refused.insert(refused.end(), keyCodes.begin(), keyCodes.end());
        }
        std::vector<int> refused;
    };

    View view_;
    std::shared_ptr<Controller> controller_;
    bool failed_ = false;
};

int Finish(const StoreController& c) {
    for (int key : c.Refused())
        Fail(kExitDevice,
             "the macro of button %d has more than %d events: the mouse cannot hold it", key,
             kMacroMaxEvents);
    return c.Failed() ? kExitDevice : kExitOk;
}

}  // namespace

int SendButtonChange(ConfigDatabase& db, const DeviceTarget& target, int profile, int pendingKey,
                     std::span<const KeyAssignment> modelDefaults) {
    DeviceSession session;
    if (int code = session.Start(target.deviceType, target.waitMs); code != kExitOk)
        return code;
    DescriptionState description;
    description.defaultAssignments.assign(modelDefaults.begin(), modelDefaults.end());
    StoreController c(db, profile, description, {});
    if (pendingKey >= 0)
        c.Get().SetPendingMacro(pendingKey);
    c.Get().RunTask(task::kWriteButtons);
    return Finish(c);
}

int ApplyProfile(ConfigDatabase& db, const DeviceTarget& target, int profile, bool hasLighting,
                 const std::array<bool, 6>& lightEffects,
                 std::span<const KeyAssignment> modelDefaults) {
    DeviceSession session;
    if (int code = session.Start(target.deviceType, target.waitMs); code != kExitOk)
        return code;
    DescriptionState description;
    description.lighting = hasLighting;
    description.lightEffects = lightEffects;
    description.defaultAssignments.assign(modelDefaults.begin(), modelDefaults.end());
    StoreController c(db, profile, description, {});
    if (int code = c.TakeInformation(); code != kExitOk)
        return code;
    c.Get().RunTask(task::kWriteProfile);
    return Finish(c);
}

}  // namespace cursorial::cli
