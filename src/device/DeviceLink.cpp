#include "device/DeviceLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "device/HidBackendSelect.h"

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

}  // namespace

DeviceLink& DeviceLink::Instance() {
    // A function-local static: initialised exactly once even when two threads get here first.
    static DeviceLink link(CreateBackendFromEnvironment());
    return link;
}

DeviceLink::DeviceLink(std::unique_ptr<HidBackend> backend) : backend_(std::move(backend)) {}

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
    backend_ = std::move(backend);
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

SendStatus DeviceLink::AwaitAnswer(HidHandle& handle, std::uint8_t* buffer, std::size_t length,
                                   const LinkTiming& timing) {
    bool rejected = false;
    bool readFailed = false;
    for (int attempt = 0; attempt < timing.answerReads; ++attempt) {
        const int n = handle.Read(buffer, length, timing.answerReadMs);
        if (n > 0) {
            // The command byte of the answer is not compared with the request.
            if (buffer[kAnswerStatusByte] == 0)
                return SendStatus::kOk;
            rejected = true;
        } else if (n < 0) {
            readFailed = true;
        }
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
    if (handle->Write(copy, kCommandReportSize) <= 0)
        return SendStatus::kWriteFailed;
    std::memcpy(copy, report.data(), length);
    const SendStatus status = AwaitAnswer(*handle, copy, length, timing);
    // After a failed wait this is the last report read, or the request when nothing came.
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
    if (handle->Write(information.data(), kCommandReportSize) <= 0)
        return SendStatus::kWriteFailed;
    return AwaitAnswer(*handle, information.data(), kQueryLength, timing);
}

bool DeviceLink::ReadNotification(CommandReport& report, int& deviceType) {
    HidHandle* command = nullptr;
    std::vector<std::pair<ConnectedDevice*, HidHandle*>> receivers;
    LinkTiming timing;
    {
        std::lock_guard lock(mutex_);
        if (!open_)
            return false;
        deviceType = currentType_;
        timing = timing_;
        if (ConnectedDevice* r = CommandRecordLocked()) {
            command = r->handle.get();
        } else {
            for (auto& d : connected_) {
                if (d->info.connectionKind == kKindReceiver && d->handle)
                    receivers.emplace_back(d.get(), d->handle.get());
            }
        }
    }
    if (command)
        return command->Read(report.data(), kCommandReportSize, timing.notifyCommandMs) > 0;

    // No command interface: typically a receiver whose mouse is away. Its connection report
    // tells when the mouse is back.
    constexpr std::size_t kNotificationLength = static_cast<std::size_t>(SendLength::kShort);
    for (auto [record, handle] : receivers) {
        CommandReport buffer;
        if (handle->Read(buffer.data(), kNotificationLength, timing.notifyReceiverMs) <= 0)
            continue;
        {
            std::lock_guard lock(mutex_);
            deviceType = record->info.deviceType;
        }
        if (buffer[0] == 0xC0) {
            int state = kOfflineByNotification;
            if (buffer[1] == 1) {
                state = kOnline;
                {
                    std::lock_guard lock(mutex_);
                    record->info.online = kOnline;
                }
                // A mouse that reconnects may be a different model behind the same receiver.
                // The report belongs to the type it is identified as now.
                if (Identify(*record, *handle, timing)) {
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
        if (handle->Read(buffer.data(), kStateLength, timing.notifyReceiverMs) <= 0 ||
            buffer[0] != 0xC0)
            continue;
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
