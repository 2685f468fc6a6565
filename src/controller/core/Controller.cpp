#include "controller/core/Controller.h"

#include <chrono>

#include "app/TextIds.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/SelectedDeviceType.h"
#include "controller/core/TaskCode.h"
#include "device/HotplugDecision.h"
#include "exchange/ProfileCommands.h"
#include "store/ConfigDatabase.h"
#include "store/SettingKeys.h"

namespace cursorial {

std::shared_ptr<Controller> Controller::Create(ControllerContext context) {
    return std::make_shared<Controller>(std::move(context));
}

Controller::Controller(ControllerContext context)
    : context_(std::move(context)), link_(*context_.link), db_(*context_.db) {}

Controller::~Controller() = default;

std::u16string Controller::Text(int id) const {
    return context_.text ? context_.text(id) : std::u16string();
}

// --- the window thread -----------------------------------------------------------------------

void Controller::AttachView(ControllerView* view) {
    std::unique_lock lock(viewMutex_);
    view_ = view;
}

void Controller::DetachView() {
    std::unique_lock lock(viewMutex_);
    view_ = nullptr;
}

void Controller::SetUpdateTasks(std::shared_ptr<UpdateTasks> tasks) {
    std::atomic_store(&updates_, std::move(tasks));
}

void Controller::SetCatalogue(std::vector<DeviceEntry> models,
                              std::vector<DeviceEntry> connections) {
    models_ = std::move(models);
    connections_ = std::move(connections);
}

void Controller::QueueTask(int code) {
    queue_.Push(code);
}

bool Controller::Start() {
    stopping_ = false;
    // The work step waits for the queue (or reads a notification) itself: no pause between
    // steps is needed.
    return StartWorker(0);
}

bool Controller::Stop() {
    return StopWorker(std::chrono::milliseconds(1000));
}

void Controller::OnHotplug(const HotplugEvent& event) {
    switch (DecideHotplug(event, connections_, polling_.load())) {
        case HotplugAction::kDeviceArrived:
            QueueTask(task::kDeviceArrived);
            break;
        case HotplugAction::kDeviceRemoved:
            QueueTask(task::kDeviceRemoved);
            break;
        case HotplugAction::kNone:
            break;
    }
}

Controller::ClickResult Controller::DeviceListClick(int deviceType) {
    if (!link_.HasIdentifiedOnline(deviceType))
        return ClickResult::kNotOnline;
    if (deviceType != selectedType_) {
        selectedType_ = deviceType;
        link_.SetCurrentType(deviceType);
        link_.ClearCommandInterface();
        WriteSelectedType(*context_.settings, deviceType);
        LoadDescription();
    }
    if (link_.ConnectionMode() == kKindReceiver) {
        QueueTask(task::kResynchronise);
        return ClickResult::kReceiver;
    }
    return ClickResult::kCable;
}

void Controller::SwitchProfile(int profile) {
    currentProfile_ = profile;
    db_.SetActiveProfile(profile);
    View([&](ControllerView& v) { v.ShowProfileTitle(profile); });
    QueueTask(task::kWriteProfile);
}

void Controller::ForgetSynchronised() {
    std::lock_guard lock(stateMutex_);
    synchronised_.clear();
}

void Controller::SetPendingMacro(int keyCode) {
    pendingMacroKey_ = keyCode;
    pendingMacro_ = true;
}

// --- the worker ------------------------------------------------------------------------------

void Controller::WorkStep() {
    if (const std::optional<int> code = queue_.TryPop()) {
        RunTask(*code);
        return;
    }
    if (polling_) {
        NotificationStep();
        return;
    }
    // Nothing to do and nothing to poll: sleep until a task is queued or the worker stops.
    queue_.WaitForTask();
}

void Controller::WakeWorkStep() {
    stopping_ = true;
    queue_.Interrupt();
    std::lock_guard lock(pauseMutex_);
    pauseWake_.notify_all();
}

void Controller::Pause(int milliseconds) {
    if (milliseconds <= 0)
        return;
    std::unique_lock lock(pauseMutex_);
    pauseWake_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                        [&] { return stopping_.load(); });
}

void Controller::RunTask(int code) {
    switch (code) {
        case task::kSelectAndReload:
            SelectDevice();
            ReloadA(0);
            break;
        case task::kDeviceArrived:
            SelectDevice();
            ReloadA(context_.timing.arrivalDelayMs);
            break;
        case task::kDeviceRemoved:
            ReloadB();
            break;
        case task::kResynchronise:
            ReloadC();
            break;
        case task::kWriteProfile:
            WriteAll();
            break;
        case task::kWriteButtons:
            WriteButtons();
            break;
        case task::kWriteLighting:
            WriteLighting();
            break;
        case task::kWriteDpiStages:
        case task::kWriteDpiColours:
        case task::kWriteReportRate:
        case task::kWriteLiftSensor:
        case task::kWritePower: {
            const ProfileValues values = ReadProfileValues(db_, currentProfile_);
            Command c = code == task::kWriteDpiStages ? DpiStagesCommand(values, sensor_, Limits())
                        : code == task::kWriteDpiColours ? DpiColoursCommand(values)
                        : code == task::kWriteReportRate ? ReportRateCommand(values)
                        : code == task::kWriteLiftSensor ? LiftSensorCommand(values)
                                                         : PowerCommand(values);
            SendWrite(c);
            break;
        }
        case task::kLightingReset:
            LightingReset();
            break;
        case task::kRestoreDpiDefaults:
            RestoreDpiDefaults();
            break;
        case task::kFactoryReset:
            FactoryReset();
            break;
        case task::kCheckSoftware:
        case task::kCheckFirmware:
        case task::kInstallSoftware:
        case task::kUpgradeFirmware:
            if (auto updates = std::atomic_load(&updates_))
                updates->Run(code);
            break;
        default:
            break;  // not a task: taken from the queue and dropped
    }
}

// --- reload sequences ------------------------------------------------------------------------

PageRefresh Controller::AllPages() const {
    PageRefresh pages;
    pages.buttons = pages.macros = pages.performance = true;
    pages.lighting = HasLighting();
    return pages;
}

void Controller::ReloadA(int delayMs) {
    Pause(delayMs);
    connected_ = 0;
    RefreshDeviceState();
    if (link_.ConnectionMode() < 0)
        return;
    LoadProfiles();
    RefreshPages(AllPages());
    if (!SynchroniseAndShow(SensorReadVariant::kFull))
        return;
    if (auto updates = std::atomic_load(&updates_))
        updates->Run(task::kCheckFirmware);
}

void Controller::ReloadB() {
    Pause(context_.timing.removalDelayMs);
    connected_ = 0;
    RefreshDeviceState();
    if (link_.ConnectionMode() < 0)
        return;
    SynchroniseAndShow(SensorReadVariant::kFull);
}

void Controller::ReloadC() {
    LoadProfiles();
    RefreshPages(AllPages());
    SynchroniseAndShow(SensorReadVariant::kFull);
}

void Controller::ReconnectReload() {
    RefreshPages(AllPages());
    SynchroniseAndShow(SensorReadVariant::kReconnect);
}

bool Controller::SynchroniseAndShow(SensorReadVariant variant) {
    if (!ReadFromMouse(variant))
        return false;
    RefreshPages(AllPages());
    ShowVersions();
    return true;
}

// --- state -----------------------------------------------------------------------------------

std::u16string Controller::FirmwareVersionText() const {
    std::lock_guard lock(stateMutex_);
    return firmwareVersion_;
}

void Controller::SetNewVersions(std::u16string software, std::u16string firmware) {
    std::lock_guard lock(stateMutex_);
    newSoftwareVersion_ = std::move(software);
    newFirmwareVersion_ = std::move(firmware);
}

std::u16string Controller::NewSoftwareVersion() const {
    std::lock_guard lock(stateMutex_);
    return newSoftwareVersion_;
}

std::u16string Controller::NewFirmwareVersion() const {
    std::lock_guard lock(stateMutex_);
    return newFirmwareVersion_;
}

std::u16string Controller::ReceiverVersionText() const {
    std::lock_guard lock(stateMutex_);
    return receiverVersion_;
}

DescriptionState Controller::Description() const {
    std::lock_guard lock(stateMutex_);
    return description_;
}

std::filesystem::path Controller::DescriptionFile() const {
    std::lock_guard lock(stateMutex_);
    return DescriptionFilePath(context_.dataFolder, modelKey_);
}

bool Controller::IsSynchronised(int deviceType) const {
    std::lock_guard lock(stateMutex_);
    return synchronised_.count(deviceType) != 0;
}

}  // namespace cursorial
