// DeviceLink: the one object through which the program reaches the mouse. It holds the table of
// supported models, the connected HID interfaces of supported mice and receivers, the device
// type the user selected and the interface chosen to carry its commands, and the separate
// upgrade interface. On top of that it moves command reports: write one, wait for the answer.
//
// Threads. Report traffic (Send, Query, ReadNotification, PollReceiverState, the upgrade
// transfer) and every rebuild of the connected list (CloseAll, EnumerateDevice) run on one
// thread, the worker; that serialisation keeps an answer from being taken by a notification
// read and keeps each handle on one thread. Other threads may call the read-only queries
// (ConnectionMode, GetRelease, HasIdentifiedOnline, ListDevices, ...), rebuild the supported
// models and set the current type: all state is guarded by one mutex held only while it is
// read or changed, never across a read or write of a report, and the lists handed out are
// copies, so a reader never sees a list being rebuilt.
//
// Answers. An answer is taken only when its command byte equals the request's. The unasked
// reports 0xC0 and 0xC2 read while waiting for an answer, or left over from an earlier command,
// are kept in order (kUnaskedKept at most) and handed out by ReadNotification before anything
// is read anew; other leftovers (a late answer to a command whose wait ended) are dropped
// before the next request is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/CommandReport.h"
#include "device/HidBackend.h"
#include "device/UpgradeReports.h"

namespace cursorial {

// Connection kinds.
inline constexpr int kKindCable = 0;
inline constexpr int kKindReceiver = 1;

// Online states of a connected record. Operations test for exactly kOnline or for > 0.
inline constexpr int kOnline = 1;
inline constexpr int kOfflineByNotification = 0;  // a receiver report said the mouse left
inline constexpr int kOfflineByPoll = 2;          // the receiver poll found it gone

// Device type of a device known by vendor and product id alone.
inline constexpr int kTypeByIdsOnly = 101;

// The upgrade interface of a cable device.
inline constexpr std::uint16_t kUpgradeUsagePage = 0xFFEF;
inline constexpr std::uint16_t kUpgradeUsage = 0x0000;

// One connection of a catalogue model.
struct SupportedModel {
    int vendorId = 0;
    int productId = 0;
    std::u16string text;  // always empty from the catalogue
    int deviceType = 0;
    int connectionKind = 0;
    std::u16string deviceId;
};

// A connected record without its handle: a copy that any thread may keep.
struct ConnectedDeviceInfo {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string path;
    std::uint32_t release = 0;
    int deviceType = 0;  // 0 until identified
    int connectionKind = 0;
    int online = kOnline;
    std::u16string deviceId;
    CommandReport information;  // last answer to the information command
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    int interfaceNumber = -1;
};

// One opened HID interface of a supported device, owned by the link.
struct ConnectedDevice {
    ConnectedDeviceInfo info;
    std::unique_ptr<HidHandle> handle;
};

// A supported interface that could not be opened because this user lacks access to it.
struct AccessProblem {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// How one command exchange ended. Send keeps the plain yes/no; the CLI and the module's own
// callers tell the user which of these it was.
enum class SendStatus {
    kOk,           // an answer with status 0 arrived
    kNotOpen,      // the link is closed (no enumeration yet)
    kNoInterface,  // no command interface for the current type (none, or receiver offline)
    kWriteFailed,  // the report could not be written
    kReadFailed,   // every read failed (the device went away after the write)
    kRejected,     // the mouse answered, but only with a non-zero status
    kNoAnswer,     // nothing usable arrived within the wait
};
const char* SendStatusText(SendStatus status);

// Waits of the transport. The defaults are the product's; tests shorten them.
struct LinkTiming {
    int answerReads = 50;       // reads while waiting for an answer
    int answerReadMs = 30;      // timeout of each of them
    int identifyRetryMs = 500;  // pause before asking an unanswered information command again
    int notifyCommandMs = 100;  // notification read on the command interface
    int notifyReceiverMs = 10;  // notification read per receiver
    int notifySliceMs = 10;     // notification reads are split into slices of at most this
    int upgradeRetryMs = 3;     // before writing an upgrade report a second time
    int upgradeSettleMs = 5;    // after that second write
    int upgradeReadMs = 1000;   // read that confirms the second write
    int upgradePauseMs = 10;    // after each of the first two full data reports of an image
};

// What a program's start-up gives the link to reach HID with. `failure` says why the backend
// the environment asked for cannot be had (already reported to the user by whoever made the
// choice); the backend then serves nothing. A null backend serves nothing as well.
struct BackendChoice {
    std::unique_ptr<HidBackend> backend;
    std::string failure;
};
using BackendFactory = std::function<BackendChoice()>;

class DeviceLink {
public:
    // Unasked reports kept between an answer wait and the notification step; when more
    // arrive, the oldest goes.
    static constexpr std::size_t kUnaskedKept = 64;

    // The process-wide link, created on first use with the backend of the installed factory
    // (a backend that serves nothing when none was installed). Creation is thread-safe.
    static DeviceLink& Instance();
    // Called once by a program's start-up, before the first Instance(). False (and nothing
    // changes) once the link exists.
    static bool InstallBackendFactory(BackendFactory factory);

    explicit DeviceLink(std::unique_ptr<HidBackend> backend);
    explicit DeviceLink(BackendChoice choice);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Swaps the backend (tests, the simulator); closes every handle of the old one first and
    // forgets the cached interfaces.
    void ReplaceBackend(std::unique_ptr<HidBackend> backend);
    HidBackend& Backend() { return *backend_; }
    // Why the backend the environment asked for could not be had; empty when it could.
    std::string BackendFailure() const;
    void SetTiming(const LinkTiming& timing);
    LinkTiming Timing() const;

    // Supported models.
    void AddSupportedModel(int vendorId, int productId, std::u16string_view text, int deviceType,
                           int connectionKind, std::u16string_view deviceId);
    void ClearSupportedModels();
    bool IsSupported(int vendorId, int productId) const;
    // Connection kind of the first model with both ids; 0 when none.
    int KindOf(int vendorId, int productId) const;
    // The first deciding model: one with both ids whose identifier has fewer than 4 characters
    // gives 101; one whose identifier equals `deviceId` exactly gives its type. 0 otherwise.
    int IdentifyType(int vendorId, int productId, std::u16string_view deviceId) const;
    std::vector<SupportedModel> SupportedModels() const;

    // Connected devices.
    // Opens and identifies every supported command interface (see DeviceDiscovery.cpp) and
    // appends the records. The caller has called CloseAll before and sets the open flag after.
    void EnumerateDevice();
    // Clears the open flag, closes and drops every record (also when the flag was already
    // clear) and forgets the cached command interface, whose record is gone. The upgrade
    // interface stays open.
    void CloseAll();
    // False when nothing is connected; otherwise appends every record (current type 0) or the
    // records of the current type.
    bool ListDevices(std::vector<ConnectedDeviceInfo>& out) const;
    // The same; with a current type set only records online exactly.
    bool ListOnlineDevices(std::vector<ConnectedDeviceInfo>& out) const;
    // Every record, whatever the current type.
    std::vector<ConnectedDeviceInfo> AllDevices() const;
    // 0 when a record of the current type is a cable, else 1 when one is a receiver, else -1.
    int ConnectionMode() const;
    bool HasIdentifiedOnline(int deviceType) const;
    void SetOnline(int deviceType, int connectionKind, int state);
    // With the open flag set: the release number of the first record of that kind (of the
    // current type, when one is selected).
    bool GetRelease(int connectionKind, std::uint32_t& release) const;
    // Ids of the command interface's record (choosing the interface first).
    bool CurrentVidPid(int& vendorId, int& productId);
    // Interfaces the last enumeration could not open for lack of permission.
    std::vector<AccessProblem> AccessProblems() const;

    // Controller state.
    void SetOpen(bool open);
    bool IsOpen() const;
    void SetCurrentType(int deviceType);
    int CurrentType() const;
    void ClearCommandInterface();

    // Transport.
    // The cached command interface, else the first cable record of the current type, else the
    // first receiver record of that type when it is online exactly (a later receiver record is
    // not considered). Null when there is none.
    HidHandle* CommandHandle();
    // Drops what was left unread, writes the checksum and the report (padded to 65 bytes) and
    // waits for an answer of the same command with status 0. Afterwards the caller's bytes hold
    // that answer, else the last refusal of this command, else the request. Unasked reports
    // read meanwhile are kept for ReadNotification; one that was all that came is kNoAnswer.
    SendStatus Transact(CommandReport& report, std::size_t length);
    bool Send(CommandReport& report, std::size_t length) {
        return Transact(report, length) == SendStatus::kOk;
    }
    bool Send(Command& command) { return Send(command.report, command.Length()); }
    // The information command on `handle` (open flag not consulted); with no handle, the
    // cached information of the command interface's record.
    SendStatus QueryStatus(CommandReport& information, HidHandle* handle);
    bool Query(CommandReport& information, HidHandle* handle) {
        return QueryStatus(information, handle) == SendStatus::kOk;
    }
    // One unasked report: the oldest kept one, else one read within the notification waits.
    // The caller looks at the report whatever the result.
    bool ReadNotification(CommandReport& report, int& deviceType);
    // The same, read in slices of at most notifySliceMs; before each slice `stop` is asked and,
    // when it says true, the call ends at once with nothing read (the worker has a task).
    bool ReadNotification(CommandReport& report, int& deviceType,
                          const std::function<bool()>& stop);
    // Unasked reports kept and not yet handed out.
    std::size_t PendingNotifications() const;
    // Reads the state report of each receiver of the current type.
    void PollReceiverState();

    // Firmware upgrade.
    // Opens the interface of these ids with usage page 0xFFEF, usage 0, replacing the one
    // open before (even when none is found).
    bool OpenUpgradeInterface(int vendorId, int productId);
    void CloseUpgradeInterface();
    bool HasUpgradeInterface() const;
    // Writes one 64-byte upgrade report; on a failed write writes it once more and takes a
    // report read within the upgrade read timeout as the confirmation.
    bool UpgradeTransfer(const UpgradeReport& report);

private:
    bool IsSupportedLocked(int vendorId, int productId) const;
    int KindOfLocked(int vendorId, int productId) const;
    int IdentifyTypeLocked(int vendorId, int productId, std::u16string_view deviceId) const;
    ConnectedDevice* CommandRecordLocked();
    void CloseAllLocked();
    struct Unasked {
        CommandReport report;
        std::string path;  // the interface it was read from
    };
    // Reads until an answer of `command` with status 0 arrives or the wait is used up.
    SendStatus AwaitAnswer(HidHandle& handle, std::uint8_t* buffer, std::size_t length,
                           const LinkTiming& timing, std::uint8_t command);
    // Reads what is already waiting on `handle` before a request goes out.
    void DrainStale(HidHandle& handle);
    void KeepUnasked(const std::uint8_t* report, std::size_t length, const std::string& path);
    // The receiver connection report handling of a report read from a receiver's interface
    // while there is no command interface.
    void HandleReceiverReport(ConnectedDevice* record, HidHandle* handle,
                              const CommandReport& buffer, const LinkTiming& timing,
                              int& deviceType);
    // Query with one retry after the identify pause; identifies `record` on success.
    bool Identify(ConnectedDevice& record, HidHandle& handle, const LinkTiming& timing);

    std::unique_ptr<HidBackend> backend_;
    std::string backendFailure_;
    mutable std::mutex mutex_;
    std::deque<Unasked> unasked_;
    LinkTiming timing_;
    std::vector<SupportedModel> supported_;
    std::vector<std::unique_ptr<ConnectedDevice>> connected_;
    std::vector<AccessProblem> accessProblems_;
    bool open_ = false;
    int currentType_ = 0;
    ConnectedDevice* command_ = nullptr;
    std::unique_ptr<HidHandle> upgrade_;
};

}  // namespace cursorial
