// Discovery: which HID interfaces belong to a supported model, which of them are opened, and
// which model answers behind each.
#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "device/DeviceLink.h"
#include "device/HotplugDecision.h"
#include "device/InfoDecoders.h"

namespace cursorial {

bool DeviceLink::Identify(ConnectedDevice& record, HidHandle& handle, const LinkTiming& timing) {
    CommandReport information;
    bool answered = Query(information, &handle);
    if (!answered) {
        if (timing.identifyRetryMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(timing.identifyRetryMs));
        answered = Query(information, &handle);
    }
    std::lock_guard lock(mutex_);
    record.info.information = information;
    if (!answered)
        return false;
    record.info.deviceId = DeviceIdentifierFromInfo(information.bytes);
    record.info.deviceType =
        IdentifyTypeLocked(record.info.vendorId, record.info.productId, record.info.deviceId);
    return true;
}

// 1. Quick scan: open every interface of a supported model that passes the command-interface
//    filter. An interface this user may not open is remembered (the window and the CLI tell
//    how to grant access) and otherwise skipped like any other that fails to open.
// 2. Details: a receiver is left alone while a cable of its model is present (the cable carries
//    the traffic); every other candidate is asked who it is.
// 3. Every candidate, identified or not, joins the connected list in scan order.
//
// "Its model": a cable and a receiver whose ids the supported models give a common device
// type. (Leaving every receiver unasked whenever any cable was present made a second model,
// reached through its receiver, unusable while another model was plugged in by cable.)
void DeviceLink::EnumerateDevice() {
    const LinkTiming timing = Timing();
    std::vector<std::unique_ptr<ConnectedDevice>> candidates;
    std::vector<AccessProblem> problems;
    bool cablePresent = false;

    for (const HidInterfaceInfo& hid : backend_->Enumerate()) {
        int kind = 0;
        {
            std::lock_guard lock(mutex_);
            if (!IsSupportedLocked(hid.vendorId, hid.productId))
                continue;
            kind = KindOfLocked(hid.vendorId, hid.productId);
        }
        if (!IsCommandInterfaceUsage(hid.usagePage, hid.usage))
            continue;
        HidOpenError error = HidOpenError::kNone;
        auto handle = backend_->Open(hid.path, &error);
        if (!handle) {
            if (error == HidOpenError::kPermission)
                problems.push_back(AccessProblem{hid.path, hid.vendorId, hid.productId});
            continue;
        }
        auto record = std::make_unique<ConnectedDevice>();
        record->info.vendorId = hid.vendorId;
        record->info.productId = hid.productId;
        record->info.path = hid.path;
        record->info.release = hid.release;
        record->info.deviceType = 0;
        record->info.connectionKind = kind;
        record->info.online = kOnline;
        record->info.usagePage = hid.usagePage;
        record->info.usage = hid.usage;
        record->info.interfaceNumber = hid.interfaceNumber;
        record->handle = std::move(handle);
        cablePresent = cablePresent || kind == kKindCable;
        candidates.push_back(std::move(record));
    }

    // Device types each candidate's ids can stand for.
    std::vector<std::vector<int>> types(candidates.size());
    {
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            for (const auto& m : supported_) {
                if (m.vendorId == candidates[i]->info.vendorId &&
                    m.productId == candidates[i]->info.productId)
                    types[i].push_back(m.deviceType);
            }
        }
    }
    auto cableOfSameModel = [&](std::size_t receiver) {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (candidates[i]->info.connectionKind != kKindCable)
                continue;
            for (int t : types[i])
                if (std::find(types[receiver].begin(), types[receiver].end(), t) !=
                    types[receiver].end())
                    return true;
        }
        return false;
    };

    for (std::size_t i = 0; i < candidates.size(); ++i) {
        ConnectedDevice& r = *candidates[i];
        if (r.info.connectionKind != kKindCable && cablePresent && cableOfSameModel(i))
            continue;
        if (r.info.connectionKind == kKindReceiver) {
            r.info.online = kOnline;
        } else if (r.info.online <= 0) {
            continue;
        }
        Identify(r, *r.handle, timing);
    }

    std::lock_guard lock(mutex_);
    accessProblems_ = std::move(problems);
    for (auto& candidate : candidates)
        connected_.push_back(std::move(candidate));
}

}  // namespace cursorial
