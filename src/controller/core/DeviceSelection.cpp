// Choosing the model: the device selection of tasks 1 and 2, the device refresh that starts
// reload sequences A and B, loading a model's description and database, and its profiles.
#include "app/TextIds.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/SelectedDeviceType.h"
#include "controller/core/Controller.h"
#include "controller/core/MouseSession.h"
#include "exchange/ProfileManager.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

void Controller::SelectDevice() {
    LoadSupportedModels(link_, connections_);
    Reenumerate(link_);
    std::vector<ConnectedDeviceInfo> online;
    link_.ListOnlineDevices(online);  // asked as the selection always has; not used further
    LoadDescription();
}

void Controller::RefreshDeviceState() {
    const int stored = ReadSelectedType(*context_.settings);
    Reenumerate(link_);
    link_.SetCurrentType(0);
    std::vector<ConnectedDeviceInfo> listed;
    link_.ListDevices(listed);
    link_.SetCurrentType(stored);
    link_.ClearCommandInterface();

    std::vector<DeviceListRow> rows;
    for (const ConnectedDeviceInfo& d : listed) {
        if (d.deviceType > 0)
            rows.push_back({d.deviceType, d.connectionKind, d.online, d.release});
    }
    int chosen = stored;
    View([&](ControllerView& v) { chosen = v.ShowDeviceList(rows, stored); });
    if (!rows.empty()) {
        // The list may have chosen another connected model than the stored one.
        selectedType_ = chosen;
        link_.SetCurrentType(chosen);
        link_.ClearCommandInterface();
        WriteSelectedType(*context_.settings, chosen);
        LoadDescription();
    }

    const WindowState state = DecideWindowState(!listed.empty(), link_.ConnectionMode());
    polling_ = PollsIn(state);
    devicePresent_ = ShowsDevice(state);
    const bool accessProblem = listed.empty() && !link_.AccessProblems().empty();
    View([&](ControllerView& v) {
        v.ShowWindowState(state, accessProblem);
        v.ClosePopups();
    });
}

bool Controller::LoadDescription() {
    const int type = ReadSelectedType(*context_.settings);
    DeviceEntry model;
    for (const DeviceEntry& m : models_) {
        if (m.deviceType == type) {
            model = m;
            break;
        }
    }
    {
        std::lock_guard lock(stateMutex_);
        modelKey_ = model.modelKey;
    }
    db_.OpenForDevice(context_.appDataFolder, model.modelKey);

    DescriptionLoad load;
    if (ReadDescriptionLoad(DescriptionFilePath(context_.dataFolder, model.modelKey), load) !=
        DataFileStatus::kOk)
        return false;
    DescriptionState state;
    {
        std::lock_guard lock(stateMutex_);
        description_.Apply(load);
        state = description_;
    }
    View([&](ControllerView& v) { v.ShowDescription(load, state); });
    return true;
}

void Controller::LoadProfiles() {
    const EnsureProfilesResult result =
        EnsureProfiles(db_, Text(text_id::kProfileWord), DescriptionFile());
    if (result.highestReportRate)
        highestReportRate_ = *result.highestReportRate;
    if (result.currentProfile > 0)
        currentProfile_ = result.currentProfile;
    const int profile = currentProfile_;
    View([&](ControllerView& v) { v.ShowProfileTitle(profile); });
}

}  // namespace cursorial
