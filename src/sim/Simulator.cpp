#include "sim/Simulator.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <deque>
#include <functional>
#include <thread>

namespace cursorial::sim {

// ---------------------------------------------------------------------------------------------
// InputQueue

void InputQueue::Push(Clock::time_point ready, std::vector<std::uint8_t> report) {
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return;
        // After every report due no later: equal times keep the order they were sent in.
        auto at = std::find_if(items_.begin(), items_.end(),
                               [&](const auto& item) { return item.first > ready; });
        items_.emplace(at, ready, std::move(report));
    }
    wake_.notify_all();
}

void InputQueue::Close(Clock::time_point at) {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        std::erase_if(items_, [&](const auto& item) { return item.first > at; });
    }
    wake_.notify_all();
}

int InputQueue::Pop(std::uint8_t* data, std::size_t length, int timeoutMs) {
    std::unique_lock lock(mutex_);
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    while (true) {
        const auto now = Clock::now();
        if (!items_.empty() && items_.front().first <= now) {
            const auto& report = items_.front().second;
            const std::size_t n = std::min(length, report.size());
            std::copy_n(report.begin(), n, data);
            items_.pop_front();
            return static_cast<int>(n);
        }
        if (items_.empty() && closed_)
            return -1;
        if (!forever && now >= deadline)
            return 0;
        // Sleep until the next report is due, the deadline passes, or something is pushed.
        auto until = forever ? Clock::time_point::max() : deadline;
        if (!items_.empty())
            until = std::min(until, items_.front().first);
        if (until == Clock::time_point::max())
            wake_.wait(lock);
        else
            wake_.wait_until(lock, until);
    }
}

std::size_t InputQueue::Pending() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

// ---------------------------------------------------------------------------------------------
// Hot-plug channel: events plus a pipe that is readable while any are pending.

struct Simulator::Channel {
    std::mutex mutex;
    std::deque<HotplugEvent> events;
    int readFd = -1;
    int writeFd = -1;

    Channel() {
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
            readFd = fds[0];
            writeFd = fds[1];
        }
    }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;
    ~Channel() {
        if (readFd >= 0)
            ::close(readFd);
        if (writeFd >= 0)
            ::close(writeFd);
    }
    void Push(const HotplugEvent& event) {
        std::lock_guard lock(mutex);
        events.push_back(event);
        const char byte = 1;
        if (writeFd >= 0) [[maybe_unused]]
            auto n = ::write(writeFd, &byte, 1);
    }
    std::vector<HotplugEvent> Drain() {
        std::lock_guard lock(mutex);
        char sink[64];
        while (readFd >= 0 && ::read(readFd, sink, sizeof sink) > 0) {
        }
        std::vector<HotplugEvent> out(events.begin(), events.end());
        events.clear();
        return out;
    }
};

namespace {

class SimHotplugSource final : public HotplugSource {
public:
    explicit SimHotplugSource(std::shared_ptr<void> keep, int fd,
                              std::function<std::vector<HotplugEvent>()> drain)
        : keep_(std::move(keep)), fd_(fd), drain_(std::move(drain)) {}
    int Fd() const override { return fd_; }
    std::vector<HotplugEvent> ReadPendingEvents() override { return drain_(); }

private:
    std::shared_ptr<void> keep_;
    int fd_;
    std::function<std::vector<HotplugEvent>()> drain_;
};

struct InterfaceSpec {
    int number;
    std::uint16_t usagePage;
    std::uint16_t usage;
};
constexpr std::array<InterfaceSpec, 4> kInterfaces = {{
    {kMouseInterface, 0x0001, 0x0002},
    {kKeyboardInterface, 0x0001, 0x0006},
    {kCommandInterface, 0xFF01, 0x0010},
    {kUpgradeInterface, 0xFFEF, 0x0000},
}};

int InterfaceCount(int connection) {
    return connection == kCable ? 4 : 3;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Simulator

struct Simulator::Device {
    DeviceConfig config;
    int mouse = -1;
    bool plugged = true;
    unsigned generation = 1;
    DeviceFaults faults;
    VirtualUpgrade upgrade;
    std::deque<std::vector<std::uint8_t>> received;  // the last kReceivedKept reports
    std::array<std::vector<std::weak_ptr<InputQueue>>, 4> readers;
};

Simulator::Simulator(SimConfig config) : latencyMs_(config.latencyMs) {
    for (const auto& m : config.mice)
        mice_.push_back(std::make_unique<VirtualMouse>(m));
    for (const auto& d : config.devices) {
        auto device = std::make_unique<Device>();
        device->config = d;
        device->mouse = MouseIndex(d.mouse);
        device->plugged = d.plugged;
        device->faults.denyOpen = d.denyOpen;
        device->faults.answerLimit = d.answerLimit;
        device->faults.dropAnswers = d.dropAnswers;
        device->faults.status = d.status;
        device->faults.answerDelayMs = d.answerDelayMs;
        device->faults.unplugAfter = d.unplugAfter;
        device->faults.stateWhenOff = d.stateWhenOff;
        device->faults.refuseUpgrade = d.refuseUpgrade;
        device->faults.failAt = d.failAt;
        device->faults.failWith = d.failWith;
        device->faults.lateByMs = d.lateByMs;
        if (device->mouse >= 0)
            devices_.push_back(std::move(device));
    }
}

Simulator::~Simulator() = default;

std::string Simulator::PathOf(std::string_view device, int interfaceNumber) {
    return "sim:" + std::string(device) + ":" + std::to_string(interfaceNumber);
}

int Simulator::DeviceIndex(std::string_view name) const {
    for (std::size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i]->config.name == name)
            return static_cast<int>(i);
    return -1;
}

int Simulator::MouseIndex(std::string_view name) const {
    for (std::size_t i = 0; i < mice_.size(); ++i)
        if (mice_[i]->Config().name == name)
            return static_cast<int>(i);
    return -1;
}

std::vector<HidInterfaceInfo> Simulator::Enumerate() const {
    std::lock_guard lock(mutex_);
    std::vector<HidInterfaceInfo> result;
    for (const auto& d : devices_) {
        if (!d->plugged)
            continue;
        for (int i = 0; i < InterfaceCount(d->config.connection); ++i) {
            HidInterfaceInfo info;
            info.path = PathOf(d->config.name, kInterfaces[i].number);
            info.vendorId = d->config.vendorId;
            info.productId = d->config.productId;
            info.release = d->config.release;
            info.usagePage = kInterfaces[i].usagePage;
            info.usage = kInterfaces[i].usage;
            info.interfaceNumber = kInterfaces[i].number;
            result.push_back(std::move(info));
        }
    }
    return result;
}

std::optional<Simulator::Opened> Simulator::Open(const std::string& path, HidOpenError* error) {
    auto fail = [&](HidOpenError why) -> std::optional<Opened> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    // sim:<device>:<interface>
    const std::string_view p = path;
    const auto last = p.rfind(':');
    if (p.substr(0, 4) != "sim:" || last == std::string_view::npos || last < 4)
        return fail(HidOpenError::kGone);
    int number = -1;
    const std::string_view digits = p.substr(last + 1);
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc() || ptr != digits.data() + digits.size())
        return fail(HidOpenError::kGone);

    std::lock_guard lock(mutex_);
    const int index = DeviceIndex(p.substr(4, last - 4));
    if (index < 0)
        return fail(HidOpenError::kGone);
    Device& d = *devices_[index];
    if (!d.plugged || number < 0 || number >= InterfaceCount(d.config.connection))
        return fail(HidOpenError::kGone);
    if (d.faults.denyOpen)
        return fail(HidOpenError::kPermission);
    Opened opened;
    opened.queue = std::make_shared<InputQueue>();
    opened.device = index;
    opened.interfaceNumber = number;
    opened.generation = d.generation;
    d.readers[number].push_back(opened.queue);
    if (error)
        *error = HidOpenError::kNone;
    return opened;
}

void Simulator::Detach(const Opened& opened) {
    std::lock_guard lock(mutex_);
    auto& list = devices_[opened.device]->readers[opened.interfaceNumber];
    std::erase_if(list, [&](const std::weak_ptr<InputQueue>& w) {
        auto q = w.lock();
        return !q || q == opened.queue;
    });
}

void Simulator::PushLocked(Device& device, int interfaceNumber, std::vector<std::uint8_t> report,
                           InputQueue::Clock::time_point ready) {
    for (auto& w : device.readers[interfaceNumber]) {
        if (auto q = w.lock())
            q->Push(ready, report);
    }
}

int Simulator::Write(const Opened& opened, const std::uint8_t* data, std::size_t length) {
    int latency = 0;
    {
        std::lock_guard lock(mutex_);
        Device& d = *devices_[opened.device];
        if (!d.plugged || d.generation != opened.generation)
            return -1;
        if (d.faults.failWrites != 0) {
            if (d.faults.failWrites > 0)
                --d.faults.failWrites;
            return -1;
        }
        latency = latencyMs_;
    }
    // The report crosses the bus.
    if (latency > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(latency));

    std::lock_guard lock(mutex_);
    Device& d = *devices_[opened.device];
    if (!d.plugged || d.generation != opened.generation)
        return -1;
    const std::span<const std::uint8_t> report(data, length);
    switch (opened.interfaceNumber) {
        case kCommandInterface: {
            // Kept for tests to inspect; bounded, so a long session with the simulator does not
            // grow.
            if (d.received.size() == kReceivedKept)
                d.received.pop_front();
            d.received.emplace_back(report.begin(), report.end());
            VirtualMouse& mouse = *mice_[d.mouse];
            // Behind a receiver, a mouse that is switched off hears nothing.
            const bool reachable = d.config.connection == kCable || mouse.SwitchedOn();
            // This one command's own fault, if it is the one picked.
            std::optional<CommandFault> own;
            if (d.faults.failAt > 0 && --d.faults.failAt == 0)
                own = d.faults.failWith;
            if (own == CommandFault::kUnplugged) {
                UnplugLocked(d, InputQueue::Clock::now());
                break;
            }
            bool dropped = d.faults.dropAnswers > 0;
            if (dropped)
                --d.faults.dropAnswers;
            dropped = dropped || own == CommandFault::kNoAnswer;
            const int late = own == CommandFault::kLateAnswer ? d.faults.lateByMs : 0;
            const std::uint8_t refusal =
                own == CommandFault::kRefused ? status::kBadValue : d.faults.status;
            // The answer, when there is one, is on the bus until then; an unplug that follows
            // it lets it arrive.
            auto lastArrival = InputQueue::Clock::now();
            if (reachable && !dropped && d.faults.answerLimit != 0) {
                if (d.faults.answerLimit > 0)
                    --d.faults.answerLimit;
                auto answer =
                    refusal != 0 ? mouse.Refuse(report, refusal) : mouse.HandleCommand(report);
                if (answer) {
                    lastArrival +=
                        std::chrono::milliseconds(latency + d.faults.answerDelayMs + late);
                    PushLocked(d, kCommandInterface,
                               std::vector<std::uint8_t>(answer->begin(), answer->end()),
                               lastArrival);
                }
            } else if (!reachable && d.faults.stateWhenOff && !dropped) {
                const Answer state = mouse.ConnectionReport();
                lastArrival += std::chrono::milliseconds(latency);
                PushLocked(d, kCommandInterface,
                           std::vector<std::uint8_t>(state.begin(), state.end()), lastArrival);
            }
            if (d.faults.unplugAfter > 0 && --d.faults.unplugAfter == 0) {
                d.faults.unplugAfter = -1;
                UnplugLocked(d, lastArrival);
            }
            break;
        }
        case kUpgradeInterface:
            if ((d.faults.refuseUpgrade & UpgradeReportKindOf(report)) != 0) {
                d.upgrade.NoteRefused();
                return -1;
            }
            d.upgrade.HandleReport(report);
            break;
        default:
            break;  // the mouse and keyboard interfaces take no output reports that matter
    }
    return static_cast<int>(length);
}

std::unique_ptr<HotplugSource> Simulator::CreateHotplugSource() {
    auto channel = std::make_shared<Channel>();
    {
        std::lock_guard lock(mutex_);
        std::erase_if(channels_, [](const std::weak_ptr<Channel>& w) { return w.expired(); });
        channels_.push_back(channel);
    }
    Channel* raw = channel.get();
    return std::make_unique<SimHotplugSource>(channel, channel->readFd,
                                              [raw] { return raw->Drain(); });
}

void Simulator::AnnounceLocked(const Device& device, HotplugEvent::Kind kind) {
    for (int i = 0; i < InterfaceCount(device.config.connection); ++i) {
        HotplugEvent event;
        event.kind = kind;
        event.node = PathOf(device.config.name, kInterfaces[i].number);
        event.vendorId = device.config.vendorId;
        event.productId = device.config.productId;
        event.interfaceNumber = kInterfaces[i].number;
        event.usagePage = kInterfaces[i].usagePage;
        event.usage = kInterfaces[i].usage;
        for (auto& w : channels_) {
            if (auto c = w.lock())
                c->Push(event);
        }
    }
}

void Simulator::UnplugLocked(Device& device, InputQueue::Clock::time_point at) {
    if (!device.plugged)
        return;
    device.plugged = false;
    for (auto& list : device.readers) {
        for (auto& w : list) {
            if (auto q = w.lock())
                q->Close(at);
        }
        list.clear();
    }
    AnnounceLocked(device, HotplugEvent::Kind::kRemove);
}

void Simulator::SetLatency(int milliseconds) {
    std::lock_guard lock(mutex_);
    latencyMs_ = std::max(0, milliseconds);
}

int Simulator::Latency() const {
    std::lock_guard lock(mutex_);
    return latencyMs_;
}

bool Simulator::Plug(std::string_view device) {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    if (i < 0)
        return false;
    Device& d = *devices_[i];
    if (!d.plugged) {
        d.plugged = true;
        ++d.generation;
        AnnounceLocked(d, HotplugEvent::Kind::kAdd);
    }
    return true;
}

bool Simulator::Unplug(std::string_view device) {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    if (i < 0)
        return false;
    UnplugLocked(*devices_[i], InputQueue::Clock::now());
    return true;
}

bool Simulator::IsPlugged(std::string_view device) const {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    return i >= 0 && devices_[i]->plugged;
}

void Simulator::SendConnectionReportLocked(int mouse) {
    const Answer report = mice_[mouse]->ConnectionReport();
    const auto ready = InputQueue::Clock::now() + std::chrono::milliseconds(latencyMs_);
    for (auto& d : devices_) {
        if (d->mouse == mouse && d->plugged && d->config.connection == kReceiver)
            PushLocked(*d, kCommandInterface,
                       std::vector<std::uint8_t>(report.begin(), report.end()), ready);
    }
}

bool Simulator::SetSwitchedOn(std::string_view mouse, bool on) {
    std::lock_guard lock(mutex_);
    const int m = MouseIndex(mouse);
    if (m < 0)
        return false;
    mice_[m]->SetSwitchedOn(on);
    SendConnectionReportLocked(m);
    return true;
}

bool Simulator::SetBattery(std::string_view mouse, std::uint8_t level, std::uint8_t charge) {
    std::lock_guard lock(mutex_);
    const int m = MouseIndex(mouse);
    if (m < 0)
        return false;
    mice_[m]->SetBattery(level, charge);
    if (mice_[m]->SwitchedOn())
        SendConnectionReportLocked(m);
    return true;
}

bool Simulator::PressDpiButton(std::string_view mouse) {
    std::lock_guard lock(mutex_);
    const int m = MouseIndex(mouse);
    if (m < 0)
        return false;
    const Answer report = mice_[m]->PressDpiButton();
    Device* route = nullptr;
    for (auto& d : devices_) {
        if (d->mouse == m && d->plugged && d->config.connection == kCable) {
            route = d.get();
            break;
        }
    }
    if (!route && mice_[m]->SwitchedOn()) {
        for (auto& d : devices_) {
            if (d->mouse == m && d->plugged && d->config.connection == kReceiver) {
                route = d.get();
                break;
            }
        }
    }
    if (!route)
        return false;
    const auto ready = InputQueue::Clock::now() + std::chrono::milliseconds(latencyMs_);
    PushLocked(*route, kCommandInterface, std::vector<std::uint8_t>(report.begin(), report.end()),
               ready);
    return true;
}

bool Simulator::SetFaults(std::string_view device, const DeviceFaults& faults) {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    if (i < 0)
        return false;
    devices_[i]->faults = faults;
    return true;
}

bool Simulator::SetInfoConnected(std::string_view mouse, bool connected) {
    std::lock_guard lock(mutex_);
    const int m = MouseIndex(mouse);
    if (m < 0)
        return false;
    mice_[m]->SetInfoConnected(connected);
    return true;
}

DeviceFaults Simulator::Faults(std::string_view device) const {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    return i < 0 ? DeviceFaults{} : devices_[i]->faults;
}

std::optional<MouseSnapshot> Simulator::Mouse(std::string_view mouse) const {
    std::lock_guard lock(mutex_);
    const int m = MouseIndex(mouse);
    if (m < 0)
        return std::nullopt;
    const VirtualMouse& v = *mice_[m];
    return MouseSnapshot{v.State(),  v.SwitchedOn(),    v.Battery(),
                         v.Charge(), v.FactoryResets(), v.LightingResets()};
}

bool Simulator::SetMouseState(std::string_view mouse, const MouseState& state) {
    std::lock_guard lock(mutex_);
    const int m = MouseIndex(mouse);
    if (m < 0)
        return false;
    mice_[m]->MutableState() = state;
    return true;
}

UpgradeLog Simulator::Upgrade(std::string_view device) const {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    return i < 0 ? UpgradeLog{} : devices_[i]->upgrade.Log();
}

std::vector<std::vector<std::uint8_t>> Simulator::Received(std::string_view device) const {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    if (i < 0)
        return {};
    return {devices_[i]->received.begin(), devices_[i]->received.end()};
}

void Simulator::ClearReceived(std::string_view device) {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    if (i >= 0)
        devices_[i]->received.clear();
}

int Simulator::OpenHandles(std::string_view device) const {
    std::lock_guard lock(mutex_);
    const int i = DeviceIndex(device);
    if (i < 0)
        return 0;
    int n = 0;
    for (const auto& list : devices_[i]->readers)
        for (const auto& w : list)
            n += w.expired() ? 0 : 1;
    return n;
}

std::vector<std::string> Simulator::DeviceNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& d : devices_)
        names.push_back(d->config.name);
    return names;
}

}  // namespace cursorial::sim
