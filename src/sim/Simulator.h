// The simulated world behind the simulator backend: mice, the cable connections and receivers
// through which they are reached, their HID interfaces, the reports in flight and the faults
// a test injects. Thread-safe: the program's worker writes and reads through handles while a
// test (or the window thread) plugs, unplugs and presses buttons.
//
// Interfaces of every device: 0 mouse (0x0001/0x0002), 1 keyboard (0x0001/0x0006), 2 command
// (0xFF01/0x0010); a cable device also has 3, the upgrade interface (0xFFEF/0x0000). Paths are
// "sim:<device name>:<interface>".
//
// Timing: a report takes the configured latency to cross the bus each way, so a write returns
// after one latency and its answer can be read one latency later.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/HidBackend.h"
#include "sim/SimConfig.h"
#include "sim/VirtualMouse.h"
#include "sim/VirtualUpgrade.h"

namespace cursorial::sim {

inline constexpr int kMouseInterface = 0;
inline constexpr int kKeyboardInterface = 1;
inline constexpr int kCommandInterface = 2;
inline constexpr int kUpgradeInterface = 3;

// Input reports waiting for one open handle (hidraw gives every reader its own copy).
class InputQueue {
public:
    using Clock = std::chrono::steady_clock;
    // Reports are delivered in the order they arrive (`ready`), not the order they were sent,
    // so a report sent after a slow answer can overtake it.
    void Push(Clock::time_point ready, std::vector<std::uint8_t> report);
    // The device is gone from `at` on: reports that arrived by then can still be read (the
    // kernel holds them), anything due later never arrives; reads fail once those are taken.
    void Close(Clock::time_point at);
    void Close() { Close(Clock::now()); }
    // hid_read_timeout semantics: bytes copied, 0 on timeout, -1 once closed and drained.
    // A negative timeout waits without limit.
    int Pop(std::uint8_t* data, std::size_t length, int timeoutMs);
    std::size_t Pending() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<Clock::time_point, std::vector<std::uint8_t>>> items_;
    bool closed_ = false;
};

// Faults of one device, changeable at any time. Counts run from the moment they are set.
struct DeviceFaults {
    // The failAt-th command from now (1: the next one) meets `failWith`; the others do not.
    int failAt = 0;
    CommandFault failWith = CommandFault::kNoAnswer;
    int lateByMs = 2000;  // how late a kLateAnswer answer comes (on top of answerDelayMs)

    bool denyOpen = false;    // opening fails for lack of permission
    int answerLimit = -1;     // answer this many more commands, then none (-1: no limit)
    int dropAnswers = 0;      // leave the next this many commands unanswered
    std::uint8_t status = 0;  // non-zero: refuse every command with this status
    int answerDelayMs = 0;    // extra time before every answer
    int unplugAfter = -1;     // unplug right after this many more commands (-1: never)
    int failWrites = 0;       // the next this many writes fail (-1: every write)
    // A receiver whose mouse is off answers each command with its connection report
    // C0 00 00 00 (the state it has, unchanged) instead of staying silent.
    bool stateWhenOff = false;
    unsigned refuseUpgrade = 0;  // UpgradeReportKind bits: such upgrade reports fail to write
};

struct MouseSnapshot {
    MouseState state;
    bool switchedOn = true;
    std::uint8_t battery = 0;
    std::uint8_t charge = 0;
    int factoryResets = 0;
    int lightingResets = 0;
};

class Simulator {
public:
    explicit Simulator(SimConfig config);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    static std::string PathOf(std::string_view device, int interfaceNumber);

    // Backend side.
    std::vector<HidInterfaceInfo> Enumerate() const;
    struct Opened {
        std::shared_ptr<InputQueue> queue;
        int device = -1;
        int interfaceNumber = -1;
        unsigned generation = 0;  // plug count of the device when opened
    };
    std::optional<Opened> Open(const std::string& path, HidOpenError* error);
    void Detach(const Opened& opened);
    int Write(const Opened& opened, const std::uint8_t* data, std::size_t length);
    std::unique_ptr<HotplugSource> CreateHotplugSource();

    // Test side. Names are those of the configuration; false when a name is unknown.
    void SetLatency(int milliseconds);
    int Latency() const;
    bool Plug(std::string_view device);
    bool Unplug(std::string_view device);
    bool IsPlugged(std::string_view device) const;
    // Switches the mouse on or off as its receivers see it; each plugged receiver sends its
    // connection report (C0 01 battery charge, or C0 00 00 00).
    bool SetSwitchedOn(std::string_view mouse, bool on);
    // Battery news: each plugged receiver of a switched-on mouse sends C0 01 level charge.
    bool SetBattery(std::string_view mouse, std::uint8_t level, std::uint8_t charge);
    // The DPI button: the mouse moves to its next stage and sends C2 through its cable, or its
    // receiver when no cable is plugged. False when the report reached nobody.
    bool PressDpiButton(std::string_view mouse);
    bool SetFaults(std::string_view device, const DeviceFaults& faults);
    // Byte 14 of the mouse's information answer: 1 connected, 0 not (a receiver that reaches
    // the mouse's radio before the mouse is ready).
    bool SetInfoConnected(std::string_view mouse, bool connected);
    DeviceFaults Faults(std::string_view device) const;
    std::optional<MouseSnapshot> Mouse(std::string_view mouse) const;
    bool SetMouseState(std::string_view mouse, const MouseState& state);
    UpgradeLog Upgrade(std::string_view device) const;
    // Command reports the device's command interface received, as written (oldest first): the
    // last kReceivedKept of them.
    static constexpr std::size_t kReceivedKept = 4096;
    std::vector<std::vector<std::uint8_t>> Received(std::string_view device) const;
    void ClearReceived(std::string_view device);
    // Handles open on a device's interfaces.
    int OpenHandles(std::string_view device) const;
    std::vector<std::string> DeviceNames() const;

private:
    struct Device;
    struct Channel;

    int DeviceIndex(std::string_view name) const;
    int MouseIndex(std::string_view name) const;
    void PushLocked(Device& device, int interfaceNumber, std::vector<std::uint8_t> report,
                    InputQueue::Clock::time_point ready);
    void AnnounceLocked(const Device& device, HotplugEvent::Kind kind);
    // Each plugged receiver of the mouse sends the connection report of its present state.
    void SendConnectionReportLocked(int mouse);
    // Gone at once; reports due after `at` never arrive.
    void UnplugLocked(Device& device, InputQueue::Clock::time_point at);

    mutable std::mutex mutex_;
    int latencyMs_;
    std::vector<std::unique_ptr<VirtualMouse>> mice_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::vector<std::weak_ptr<Channel>> channels_;
};

}  // namespace cursorial::sim
