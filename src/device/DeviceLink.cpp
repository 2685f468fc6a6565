#include "device/DeviceLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include "device/Notifications.h"

namespace cursorial {

const char* SendStatusText(SendStatus status) {
    switch (status) {
        case SendStatus::kOk:
            return "ok";
        case SendStatus::kNotOpen:
            return "the device link is not open";
        case SendStatus::kNoInterface:
            return "no command interface for the selected device";
        case SendStatus::kWriteFailed:
            return "the report could not be written";
        case SendStatus::kReadFailed:
            return "the device could not be read (unplugged?)";
        case SendStatus::kRejected:
            return "the mouse refused the command (non-zero status)";
        case SendStatus::kNoAnswer:
            return "the mouse did not answer";
    }
    return "?";
}

namespace {

void SleepMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool IsUnasked(std::uint8_t first) {
    return first == kReceiverConnectionReport || first == kDpiChangeReport;
}

// What the link uses when a program installed no factory, or the factory gave no backend.
class NoBackend final : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    std::unique_ptr<HidHandle> Open(const std::string&, HidOpenError* error) override {
        if (error)
            *error = HidOpenError::kGone;
        return nullptr;
    }
    std::unique_ptr<HotplugSource> CreateHotplugSource() override { return nullptr; }
    const char* Name() const override { return "none"; }
};

std::unique_ptr<HidBackend> OrNoBackend(std::unique_ptr<HidBackend> backend) {
    if (!backend)
        return std::make_unique<NoBackend>();
    return backend;
}

std::mutex factoryMutex;
BackendFactory installedFactory;
bool linkCreated = false;

BackendChoice ChooseBackend() {
    std::lock_guard lock(factoryMutex);
    linkCreated = true;
    return installedFactory ? installedFactory() : BackendChoice{};
}

// Splits a wait of `totalMs` into reads of at most `sliceMs`, asking `stop` before each. The
// result of the last read; 0 when stopped.
int SlicedRead(HidHandle& handle, std::uint8_t* buffer, std::size_t length, int totalMs,
               int sliceMs, const std::function<bool()>& stop) {
    sliceMs = std::max(1, sliceMs);
    int remaining = std::max(0, totalMs);
    do {
        if (stop && stop())
            return 0;
        const int slice = std::min(remaining, sliceMs);
        const int n = handle.Read(buffer, length, slice);
        if (n != 0)
            return n;
        remaining -= slice;
    } while (remaining > 0);
    return 0;
}

}  // namespace

DeviceLink& DeviceLink::Instance() {
    // A function-local static: initialised exactly once even when two threads get here first.
    static DeviceLink link(ChooseBackend());
    return link;
}

bool DeviceLink::InstallBackendFactory(BackendFactory factory) {
    std::lock_guard lock(factoryMutex);
    if (linkCreated)
        return false;
    installedFactory = std::move(factory);
    return true;
}

DeviceLink::DeviceLink(std::unique_ptr<HidBackend> backend)
    : backend_(OrNoBackend(std::move(backend))) {}

DeviceLink::DeviceLink(BackendChoice choice)
    : backend_(OrNoBackend(std::move(choice.backend))),
      backendFailure_(std::move(choice.failure)) {}

DeviceLink::~DeviceLink() {
    std::lock_guard lock(mutex_);
    CloseAllLocked();
    upgrade_.reset();
}

void DeviceLink::ReplaceBackend(std::unique_ptr<HidBackend> backend) {
    std::lock_guard lock(mutex_);
    CloseAllLocked();
    upgrade_.reset();
    accessProblems_.clear();
    unasked_.clear();
    backend_ = OrNoBackend(std::move(backend));
}

std::string DeviceLink::BackendFailure() const {
    std::lock_guard lock(mutex_);
    return backendFailure_;
}

void DeviceLink::SetTiming(const LinkTiming& timing) {
    std::lock_guard lock(mutex_);
    timing_ = timing;
}

LinkTiming DeviceLink::Timing() const {
    std::lock_guard lock(mutex_);
    return timing_;
}

// ---------------------------------------------------------------------------------------------
// Supported models

void DeviceLink::AddSupportedModel(int vendorId, int productId, std::u16string_view text,
                                   int deviceType, int connectionKind,
                                   std::u16string_view deviceId) {
    std::lock_guard lock(mutex_);
    supported_.push_back(SupportedModel{vendorId, productId, std::u16string(text), deviceType,
                                        connectionKind, std::u16string(deviceId)});
}

void DeviceLink::ClearSupportedModels() {
    std::lock_guard lock(mutex_);
    supported_.clear();
}

bool DeviceLink::IsSupported(int vendorId, int productId) const {
    std::lock_guard lock(mutex_);
    return IsSupportedLocked(vendorId, productId);
}

int DeviceLink::KindOf(int vendorId, int productId) const {
    std::lock_guard lock(mutex_);
    return KindOfLocked(vendorId, productId);
}

int DeviceLink::IdentifyType(int vendorId, int productId, std::u16string_view deviceId) const {
    std::lock_guard lock(mutex_);
    return IdentifyTypeLocked(vendorId, productId, deviceId);
}

std::vector<SupportedModel> DeviceLink::SupportedModels() const {
    std::lock_guard lock(mutex_);
    return supported_;
}

bool DeviceLink::IsSupportedLocked(int vendorId, int productId) const {
    return std::any_of(supported_.begin(), supported_.end(), [&](const SupportedModel& m) {
        return m.vendorId == vendorId && m.productId == productId;
    });
}

int DeviceLink::KindOfLocked(int vendorId, int productId) const {
    for (const auto& m : supported_) {
        if (m.vendorId == vendorId && m.productId == productId)
            return m.connectionKind;
    }
    return 0;
}

int DeviceLink::IdentifyTypeLocked(int vendorId, int productId,
                                   std::u16string_view deviceId) const {
    for (const auto& m : supported_) {
        if (m.vendorId != vendorId || m.productId != productId)
            continue;
        if (m.deviceId.size() < 4)
            return kTypeByIdsOnly;
        if (m.deviceId == deviceId)
            return m.deviceType;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Connected devices

void DeviceLink::CloseAll() {
    std::lock_guard lock(mutex_);
    CloseAllLocked();
}

// Also when the open flag is clear: records of an enumeration whose caller never set the flag
// would otherwise keep their handles and be listed twice after the next enumeration. The
// cached command interface goes with its record.
void DeviceLink::CloseAllLocked() {
    open_ = false;
    command_ = nullptr;
    connected_.clear();
}

bool DeviceLink::ListDevices(std::vector<ConnectedDeviceInfo>& out) const {
    std::lock_guard lock(mutex_);
    if (connected_.empty())
        return false;
    for (const auto& r : connected_) {
        if (currentType_ == 0 || r->info.deviceType == currentType_)
            out.push_back(r->info);
    }
    return true;
}

bool DeviceLink::ListOnlineDevices(std::vector<ConnectedDeviceInfo>& out) const {
    std::lock_guard lock(mutex_);
    if (connected_.empty())
        return false;
    for (const auto& r : connected_) {
        if (currentType_ == 0 || (r->info.deviceType == currentType_ && r->info.online == kOnline))
            out.push_back(r->info);
    }
    return true;
}

std::vector<ConnectedDeviceInfo> DeviceLink::AllDevices() const {
    std::lock_guard lock(mutex_);
    std::vector<ConnectedDeviceInfo> out;
    for (const auto& r : connected_)
        out.push_back(r->info);
    return out;
}

int DeviceLink::ConnectionMode() const {
    std::lock_guard lock(mutex_);
    auto has = [&](int kind) {
        return std::any_of(connected_.begin(), connected_.end(), [&](const auto& r) {
            return r->info.deviceType == currentType_ && r->info.connectionKind == kind;
        });
    };
    if (has(kKindCable))
        return kKindCable;
    if (has(kKindReceiver))
        return kKindReceiver;
    return -1;
}

bool DeviceLink::HasIdentifiedOnline(int deviceType) const {
    std::lock_guard lock(mutex_);
    return std::any_of(connected_.begin(), connected_.end(), [&](const auto& r) {
        return r->info.deviceType == deviceType && !r->info.deviceId.empty() && r->info.online > 0;
    });
}

void DeviceLink::SetOnline(int deviceType, int connectionKind, int state) {
    std::lock_guard lock(mutex_);
    for (auto& r : connected_) {
        if (r->info.deviceType == deviceType && r->info.connectionKind == connectionKind)
            r->info.online = state;
    }
}

// Only records of the current type count once one is selected: with two models plugged in by
// cable, the first cable record may be the other model's, whose release is not this one's
// firmware version.
bool DeviceLink::GetRelease(int connectionKind, std::uint32_t& release) const {
    std::lock_guard lock(mutex_);
    if (!open_)
        return false;
    for (const auto& r : connected_) {
        if (r->info.connectionKind == connectionKind &&
            (currentType_ == 0 || r->info.deviceType == currentType_)) {
            release = r->info.release;
            return true;
        }
    }
    return false;
}

bool DeviceLink::CurrentVidPid(int& vendorId, int& productId) {
    std::lock_guard lock(mutex_);
    ConnectedDevice* r = CommandRecordLocked();
    if (!r)
        return false;
    vendorId = r->info.vendorId;
    productId = r->info.productId;
    return true;
}

std::vector<AccessProblem> DeviceLink::AccessProblems() const {
    std::lock_guard lock(mutex_);
    return accessProblems_;
}

void DeviceLink::SetOpen(bool open) {
    std::lock_guard lock(mutex_);
    open_ = open;
}

bool DeviceLink::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

void DeviceLink::SetCurrentType(int deviceType) {
    std::lock_guard lock(mutex_);
    currentType_ = deviceType;
}

int DeviceLink::CurrentType() const {
    std::lock_guard lock(mutex_);
    return currentType_;
}

void DeviceLink::ClearCommandInterface() {
    std::lock_guard lock(mutex_);
    command_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Transport

ConnectedDevice* DeviceLink::CommandRecordLocked() {
    if (command_)
        return command_;
    for (auto& r : connected_) {
        if (r->info.deviceType == currentType_ && r->info.connectionKind == kKindCable) {
            command_ = r.get();
            return command_;
        }
    }
    // The cable is always preferred; of the receivers only the first counts, and only online.
    for (auto& r : connected_) {
        if (r->info.deviceType == currentType_ && r->info.connectionKind == kKindReceiver) {
            if (r->info.online != kOnline)
                return nullptr;
            command_ = r.get();
            return command_;
        }
    }
    return nullptr;
}

HidHandle* DeviceLink::CommandHandle() {
    std::lock_guard lock(mutex_);
    ConnectedDevice* r = CommandRecordLocked();
    return r ? r->handle.get() : nullptr;
}

void DeviceLink::KeepUnasked(const std::uint8_t* report, std::size_t length,
                             const std::string& path) {
    Unasked kept;
    std::copy_n(report, std::min(length, kCommandReportSize), kept.report.data());
    kept.path = path;
    std::lock_guard lock(mutex_);
    if (unasked_.size() == kUnaskedKept)
        unasked_.pop_front();
    unasked_.push_back(std::move(kept));
}

std::size_t DeviceLink::PendingNotifications() const {
    std::lock_guard lock(mutex_);
    return unasked_.size();
}

// Whatever is waiting now was not asked for by the request about to go out: a late answer to
// a command whose wait ended (it would otherwise be taken as the next one's) or an unasked
// report. Bounded, so a device that never stops talking cannot hold the write back.
void DeviceLink::DrainStale(HidHandle& handle) {
    constexpr int kMostReports = 64;
    for (int i = 0; i < kMostReports; ++i) {
        CommandReport stale;
        const int n = handle.Read(stale.data(), kCommandReportSize, 0);
        if (n <= 0)
            return;
        if (IsUnasked(stale[0]))
            KeepUnasked(stale.data(), static_cast<std::size_t>(n), handle.Path());
    }
}

// The wait ends after answerReads reads that returned nothing or a refusal, and in any case
// answerReads x answerReadMs after it began: reports that are not this command's answer do
// not count as reads, so a talkative device cannot stretch it, nor can a slow scheduler. A
// refusal of this command is kept and the wait goes on (an acceptance may follow).
SendStatus DeviceLink::AwaitAnswer(HidHandle& handle, std::uint8_t* buffer, std::size_t length,
                                   const LinkTiming& timing, std::uint8_t command) {
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(std::max(0, timing.answerReads) *
                                                 std::max(0, timing.answerReadMs));
    bool rejected = false;
    bool readFailed = false;
    int attempts = 0;
    while (attempts < timing.answerReads) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int timeout = static_cast<int>(
            std::clamp<long long>(left.count(), 1, std::max(1, timing.answerReadMs)));
        // Bytes past what a read returns keep the request's, as when reading into the request.
        CommandReport read;
        std::memcpy(read.data(), buffer, length);
        const int n = handle.Read(read.data(), length, timeout);
        if (n <= 0) {
            readFailed = readFailed || n < 0;
            ++attempts;
        } else if (read[kAnswerCommandByte] == command) {
            std::memcpy(buffer, read.data(), length);
            if (read[kAnswerStatusByte] == 0)
                return SendStatus::kOk;
            rejected = true;
            ++attempts;
        } else if (IsUnasked(read[0])) {
            KeepUnasked(read.data(), static_cast<std::size_t>(n), handle.Path());
        }
        if (Clock::now() >= deadline)
            break;
    }
    if (rejected)
        return SendStatus::kRejected;
    return readFailed ? SendStatus::kReadFailed : SendStatus::kNoAnswer;
}

//   working copy (65 bytes): the caller's first `length` bytes, then zeros. The device always
//   gets the full report; hidraw does not pad a short write itself.
SendStatus DeviceLink::Transact(CommandReport& report, std::size_t length) {
    length = std::clamp<std::size_t>(length, 1, kCommandReportSize);
    HidHandle* handle = nullptr;
    LinkTiming timing;
    {
        std::lock_guard lock(mutex_);
        if (!open_)
            return SendStatus::kNotOpen;
        ConnectedDevice* r = CommandRecordLocked();
        if (!r)
            return SendStatus::kNoInterface;
        handle = r->handle.get();
        timing = timing_;
    }
    WriteChecksum(report);
    std::uint8_t copy[kCommandReportSize] = {};
    std::memcpy(copy, report.data(), length);
    DrainStale(*handle);
    if (handle->Write(copy, kCommandReportSize) <= 0)
        return SendStatus::kWriteFailed;
    std::memcpy(copy, report.data(), length);
    const SendStatus status = AwaitAnswer(*handle, copy, length, timing, report[kCommandByte]);
    std::memcpy(report.data(), copy, length);
    return status;
}

SendStatus DeviceLink::QueryStatus(CommandReport& information, HidHandle* handle) {
    if (!handle) {
        std::lock_guard lock(mutex_);
        ConnectedDevice* r = CommandRecordLocked();
        if (!r)
            return SendStatus::kNoInterface;
        information = r->info.information;
        return SendStatus::kOk;
    }
    constexpr std::size_t kQueryLength = static_cast<std::size_t>(SendLength::kShort);
    const LinkTiming timing = Timing();
    information = CommandReport{};
    information[kCommandByte] = command::kInfo;
    WriteChecksum(information);
    DrainStale(*handle);
    if (handle->Write(information.data(), kCommandReportSize) <= 0)
        return SendStatus::kWriteFailed;
    return AwaitAnswer(*handle, information.data(), kQueryLength, timing, command::kInfo);
}

bool DeviceLink::ReadNotification(CommandReport& report, int& deviceType) {
    return ReadNotification(report, deviceType, nullptr);
}

void DeviceLink::HandleReceiverReport(ConnectedDevice* record, HidHandle* handle,
                                      const CommandReport& buffer, const LinkTiming& timing,
                                      int& deviceType) {
    {
        std::lock_guard lock(mutex_);
        deviceType = record->info.deviceType;
    }
    if (buffer[0] != kReceiverConnectionReport)
        return;
    int state = kOfflineByNotification;
    if (buffer[1] == 1) {
        state = kOnline;
        {
            std::lock_guard lock(mutex_);
            record->info.online = kOnline;
        }
        // A mouse that reconnects may be a different model behind the same receiver. The
        // report belongs to the type it is identified as now.
        if (handle && Identify(*record, *handle, timing)) {
            std::lock_guard lock(mutex_);
            deviceType = record->info.deviceType;
        }
    } else {
        std::lock_guard lock(mutex_);
        record->info.online = kOfflineByNotification;
    }
    int type = 0;
    int kind = 0;
    {
        std::lock_guard lock(mutex_);
        type = record->info.deviceType;
        kind = record->info.connectionKind;
    }
    SetOnline(type, kind, state);
}

bool DeviceLink::ReadNotification(CommandReport& report, int& deviceType,
                                  const std::function<bool()>& stop) {
    HidHandle* command = nullptr;
    std::vector<std::pair<ConnectedDevice*, HidHandle*>> receivers;
    LinkTiming timing;
    std::optional<Unasked> kept;
    ConnectedDevice* keptReceiver = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (!open_)
            return false;
        deviceType = currentType_;
        timing = timing_;
        if (!unasked_.empty()) {
            kept = std::move(unasked_.front());
            unasked_.pop_front();
        }
        if (ConnectedDevice* r = CommandRecordLocked()) {
            command = r->handle.get();
        } else {
            for (auto& d : connected_) {
                if (d->info.connectionKind == kKindReceiver && d->handle) {
                    receivers.emplace_back(d.get(), d->handle.get());
                    if (kept && d->info.path == kept->path)
                        keptReceiver = d.get();
                }
            }
        }
    }
    // A kept report is handled as if it were read now, from where it was read.
    if (kept) {
        report = kept->report;
        if (command)
            return true;
        if (keptReceiver)
            HandleReceiverReport(keptReceiver, keptReceiver->handle.get(), report, timing,
                                 deviceType);
        return false;
    }
    if (command) {
        return SlicedRead(*command, report.data(), kCommandReportSize, timing.notifyCommandMs,
                          timing.notifySliceMs, stop) > 0;
    }

    // No command interface: typically a receiver whose mouse is away. Its connection report
    // tells when the mouse is back.
    constexpr std::size_t kNotificationLength = static_cast<std::size_t>(SendLength::kShort);
    for (auto [record, handle] : receivers) {
        CommandReport buffer;
        if (SlicedRead(*handle, buffer.data(), kNotificationLength, timing.notifyReceiverMs,
                       timing.notifySliceMs, stop) <= 0)
            continue;
        HandleReceiverReport(record, handle, buffer, timing, deviceType);
        report = buffer;
        return false;
    }
    return false;
}

void DeviceLink::PollReceiverState() {
    std::vector<std::pair<ConnectedDevice*, HidHandle*>> receivers;
    LinkTiming timing;
    {
        std::lock_guard lock(mutex_);
        timing = timing_;
        for (auto& d : connected_) {
            if (d->info.deviceType == currentType_ && d->info.connectionKind == kKindReceiver &&
                d->handle)
                receivers.emplace_back(d.get(), d->handle.get());
        }
    }
    constexpr std::size_t kStateLength = static_cast<std::size_t>(SendLength::kShort);
    for (auto [record, handle] : receivers) {
        CommandReport buffer;
        const int n = handle->Read(buffer.data(), kStateLength, timing.notifyReceiverMs);
        if (n <= 0)
            continue;
        if (buffer[0] != kReceiverConnectionReport) {
            // A DPI change read here is the notification step's, not the poll's.
            if (IsUnasked(buffer[0]))
                KeepUnasked(buffer.data(), static_cast<std::size_t>(n), handle->Path());
            continue;
        }
        const int state = buffer[1] == 1 ? kOnline : kOfflineByPoll;
        int type = 0;
        int kind = 0;
        {
            std::lock_guard lock(mutex_);
            type = record->info.deviceType;
            kind = record->info.connectionKind;
        }
        SetOnline(type, kind, state);
    }
}

// ---------------------------------------------------------------------------------------------
// Firmware upgrade

bool DeviceLink::OpenUpgradeInterface(int vendorId, int productId) {
    std::unique_ptr<HidHandle> handle;
    for (const auto& info : backend_->Enumerate()) {
        if (info.vendorId == vendorId && info.productId == productId &&
            info.usagePage == kUpgradeUsagePage && info.usage == kUpgradeUsage) {
            handle = backend_->Open(info.path, nullptr);
            break;
        }
    }
    const bool opened = handle != nullptr;
    std::lock_guard lock(mutex_);
    upgrade_ = std::move(handle);
    return opened;
}

void DeviceLink::CloseUpgradeInterface() {
    std::lock_guard lock(mutex_);
    upgrade_.reset();
}

bool DeviceLink::HasUpgradeInterface() const {
    std::lock_guard lock(mutex_);
    return upgrade_ != nullptr;
}

bool DeviceLink::UpgradeTransfer(const UpgradeReport& report) {
    HidHandle* handle = nullptr;
    LinkTiming timing;
    {
        std::lock_guard lock(mutex_);
        handle = upgrade_.get();
        timing = timing_;
    }
    if (!handle)
        return false;
    if (handle->Write(report.data(), report.size()) > 0)
        return true;
    SleepMs(timing.upgradeRetryMs);
    handle->Write(report.data(), report.size());
    SleepMs(timing.upgradeSettleMs);
    std::uint8_t answer[kUpgradeReportSize];
    return handle->Read(answer, sizeof answer, timing.upgradeReadMs) > 0;
}

}  // namespace cursorial
