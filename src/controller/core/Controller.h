// The controller core: the state the window, the pages and the worker share, the task queue and
// the worker that runs it, device selection and the reload sequences, the settings
// synchronisation, the device write tasks and the handling of the mouse's unasked reports.
//
// No Qt: the desktop window drives it through ControllerView and the pages through their
// context; cursorialctl runs its steps directly with a HeadlessView.
//
// Threads. Tasks, the reload sequences and the notification step run on the worker (or on the
// caller's thread when a program runs steps itself, as cursorialctl does). The window thread
// queues tasks, answers a device-list click and reads the state. Shared numbers are atomics;
// the description and the set of synchronised models are guarded by a mutex that is never
// held while the view or the store is called, so a view call waiting for the window thread can
// never meet a window thread waiting for that lock.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <shared_mutex>
#include <string>
#include <vector>

#include "catalogue/DeviceDescription.h"
#include "catalogue/DeviceEntry.h"
#include "controller/core/CThreadBasic.h"
#include "controller/core/ControllerView.h"
#include "controller/core/TaskQueue.h"
#include "device/DeviceLink.h"
#include "device/DpiCodec.h"
#include "device/HotplugEvent.h"
#include "device/InfoDecoders.h"

namespace cursorial {

class ConfigDatabase;
class KeyValueStore;
struct Command;
struct ButtonMacro;

// The pauses the reload sequences and tasks make. Tests shorten them.
struct ControllerTiming {
    int arrivalDelayMs = 1;         // task 2, before the refresh
    int removalDelayMs = 500;       // task 3, before the refresh
    int infoRetryPauseMs = 1000;    // before the third information command of a full read
    int lightingPauseMs = 100;      // around the lighting resets
    int lightingForcePauseMs = 50;  // before the factory reset forces lighting mode 4
};

// Hooks for the update tasks (software and firmware checks, downloads, the upgrade). Without
// them those codes do nothing.
class UpdateTasks {
public:
    virtual ~UpdateTasks() = default;
    virtual void Run(int taskCode) = 0;
};

struct ControllerContext {
    std::filesystem::path dataFolder;         // config.xml, device/
    std::filesystem::path appDataFolder;      // the models' databases below db/
    const KeyValueStore* settings = nullptr;  // "DeviceType"
    DeviceLink* link = nullptr;
    ConfigDatabase* db = nullptr;
    std::function<std::u16string(int textId)> text;  // the current language's texts
    ControllerTiming timing;
};

// Battery as the mouse last reported it.
struct BatteryState {
    int level = 0;
    int charge = 0;
};

class Controller : public CThreadBasic {
public:
    // Created shared: the worker keeps its own reference while it runs.
    static std::shared_ptr<Controller> Create(ControllerContext context);
    explicit Controller(ControllerContext context);
    ~Controller() override;

    // --- the window thread ---------------------------------------------------------------
    // The view is attached before the worker starts. Detach only after the window stopped
    // answering hand-overs (DUI::ShutdownUiThreadCalls) and the worker was stopped: a call in
    // progress finishes first.
    void AttachView(ControllerView* view);
    void DetachView();
    void SetUpdateTasks(std::shared_ptr<UpdateTasks> tasks);
    // The catalogue's model and connection lists (loaded on the window thread at start).
    void SetCatalogue(std::vector<DeviceEntry> models, std::vector<DeviceEntry> connections);
    void QueueTask(int code);
    bool Start();
    // Stops the worker, waiting at most a second; a worker inside a long task is left to end
    // by itself.
    bool Stop();
    // A HID interface came or went: queues task 2 or 3 as the hot-plug rule decides.
    void OnHotplug(const HotplugEvent& event);

    // The device-list click. kNotOnline: no identified online device of that type (the window
    // shows its message); otherwise the type is selected, and over the receiver task 4 queued.
    enum class ClickResult { kNotOnline, kCable, kReceiver };
    ClickResult DeviceListClick(int deviceType);
    // A profile was chosen in the pop-up: it becomes current and active, task 5 is queued.
    void SwitchProfile(int profile);
    // The factory reset was confirmed: the next synchronisation reads every setting again.
    void ForgetSynchronised();
    // The button page assigned a macro to this button: task 6 sends it first.
    void SetPendingMacro(int keyCode);

    // --- the worker's steps (also run directly by cursorialctl and tests) ------------------
    void RunTask(int code);
    void SelectDevice();
    void RefreshDeviceState();
    // Opens the selected model's database and loads its description; false when the model has
    // no usable description (the state keeps what it had).
    bool LoadDescription();
    // The profile list of the model, creating the first profiles when there are none.
    void LoadProfiles();
    void ReloadA(int delayMs);
    void ReloadB();
    void ReloadC();
    bool ReadFromMouse(SensorReadVariant variant);
    // Takes the sensor, its limits, the rate class and the connected flag from an information
    // answer (and with the full variant the battery).
    void TakeInformation(const DeviceInfo& info, SensorReadVariant variant);
    // For a program that chose the model itself (cursorialctl): the description's state.
    void SetDescription(const DescriptionState& description, std::u16string_view modelKey);
    void ReconnectReload();
    void WriteAll();
    void NotificationStep();
    void CommandFailureRefresh();
    void ShowVersions();

    // --- state (any thread) ----------------------------------------------------------------
    int SelectedType() const { return selectedType_; }
    int CurrentProfile() const { return currentProfile_; }
    void SetCurrentProfile(int profile) { currentProfile_ = profile; }
    bool IsPolling() const { return polling_; }
    bool IsDevicePresent() const { return devicePresent_; }
    int SensorCode() const { return sensor_; }
    DpiLimits Limits() const { return {lowestDpi_, highestDpi_}; }
    int RateClass() const { return rateClass_; }
    int HighestReportRate() const { return highestReportRate_; }
    int LightMode() const { return lightMode_; }
    void SetLightMode(int mode) { lightMode_ = mode; }
    BatteryState Battery() const { return {batteryLevel_, charge_}; }
    int LastStageCount() const { return lastStageCount_; }
    int LastStage() const { return lastStage_; }
    // The performance page remembers what its stage list shows.
    void SetLastStages(int count, int stage) {
        lastStageCount_ = count;
        lastStage_ = stage;
    }
    std::u16string FirmwareVersionText() const;
    // What the update checks found on the server, for the update prompt.
    void SetNewVersions(std::u16string software, std::u16string firmware);
    std::u16string NewSoftwareVersion() const;
    std::u16string NewFirmwareVersion() const;
    std::u16string ReceiverVersionText() const;
    DescriptionState Description() const;
    bool HasLighting() const { return Description().lighting; }
    std::filesystem::path DescriptionFile() const;
    bool IsSynchronised(int deviceType) const;
    const std::vector<DeviceEntry>& Connections() const { return connections_; }
    const std::vector<DeviceEntry>& Models() const { return models_; }
    ConfigDatabase& Store() { return db_; }
    DeviceLink& Link() { return link_; }
    const ControllerTiming& Timing() const { return context_.timing; }
    // Told of every write a task sends and how it ended (cursorialctl reports failures).
    using SendObserver = std::function<void(const Command& command, SendStatus status)>;
    void SetSendObserver(SendObserver observer) { sendObserver_ = std::move(observer); }

protected:
    void WorkStep() override;
    void WakeWorkStep() override;

private:
    std::u16string Text(int id) const;
    // Sends a write; on failure the command-failure refresh runs. True when it went through.
    bool SendWrite(Command& command);
    // Sends a button's macro packets; true when every one went through.
    bool SendMacro(ButtonMacro& macro);
    // Sends without any reaction to a failure (macro packets, the resets' 0x0E and 0x0F).
    void SendIgnoringResult(Command& command);
    // Sleeps unless the worker is being stopped.
    void Pause(int milliseconds);
    // Brings pages in line with the store; a lighting refresh first gives the current profile
    // its lighting rows and takes its active mode as the mode shown.
    void RefreshPages(PageRefresh pages);
    PageRefresh AllPages() const;
    // The settings read and, when it worked, the pages and the version display once more (the
    // end of every reload sequence).
    bool SynchroniseAndShow(SensorReadVariant variant);
    void WriteButtons();
    void WriteLighting();
    void LightingReadBack();
    void LightingReset();
    void RestoreDpiDefaults();
    void FactoryReset();
    void HandleDpiChange(int count, int stage);
    void HandleReceiverConnection(int deviceType, bool connected, int connectedByte,
                                  int batteryLevel, int charge);

    template <typename F>
    void View(F&& call) {
        std::shared_lock lock(viewMutex_);
        if (view_)
            call(*view_);
    }

    ControllerContext context_;
    DeviceLink& link_;
    ConfigDatabase& db_;
    TaskQueue queue_;
    std::atomic<bool> stopping_{false};
    std::mutex pauseMutex_;
    std::condition_variable pauseWake_;

    std::shared_mutex viewMutex_;
    ControllerView* view_ = nullptr;
    std::shared_ptr<UpdateTasks> updates_;
    SendObserver sendObserver_;

    std::vector<DeviceEntry> models_;
    std::vector<DeviceEntry> connections_;

    std::atomic<int> selectedType_{0};
    std::atomic<int> currentProfile_{1};
    std::atomic<bool> polling_{false};
    std::atomic<bool> devicePresent_{false};
    std::atomic<int> connected_{0};
    std::atomic<int> sensor_{0};
    std::atomic<int> lowestDpi_{50};
    std::atomic<int> highestDpi_{26000};
    std::atomic<int> rateClass_{4};
    std::atomic<int> highestReportRate_{0};
    std::atomic<int> lightMode_{0};
    std::atomic<int> batteryLevel_{0};
    std::atomic<int> charge_{0};
    std::atomic<int> lastStageCount_{-1};
    std::atomic<int> lastStage_{-1};
    std::atomic<bool> pendingMacro_{false};
    std::atomic<int> pendingMacroKey_{-1};

    mutable std::mutex stateMutex_;  // what follows; never held across a view or store call
    DescriptionState description_;
    std::u16string modelKey_;
    std::u16string firmwareVersion_;
    std::u16string receiverVersion_;
    std::u16string newSoftwareVersion_;
    std::u16string newFirmwareVersion_;
    std::set<int> synchronised_;
};

}  // namespace cursorial
