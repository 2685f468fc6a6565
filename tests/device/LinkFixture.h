// Fixtures of the device-link tests: a simulated world behind a private DeviceLink, with the
// shipped models in its table and waits shortened so a missing answer costs milliseconds; and a
// scripted backend whose reads a test lays out report by report.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/DeviceLink.h"
#include "sim/SimBackend.h"
#include "sim/Simulator.h"

namespace cursorial::testing {

using Bytes = std::vector<std::uint8_t>;

inline constexpr int kAero = 201;
inline constexpr int kTerra = 202;

// The catalogue's connections, as the loader would add them.
inline void AddShippedModels(DeviceLink& link) {
    link.AddSupportedModel(0x1209, 0x0001, u"", kAero, kKindCable, u"AE01");
    link.AddSupportedModel(0x1209, 0x0002, u"", kAero, kKindReceiver, u"AE01");
    link.AddSupportedModel(0x1209, 0x0003, u"", kTerra, kKindCable, u"TR01");
}

inline LinkTiming FastTiming() {
    LinkTiming t;
    t.answerReads = 3;
    t.answerReadMs = 2;
    t.identifyRetryMs = 0;
    t.notifyCommandMs = 5;
    t.notifyReceiverMs = 2;
    t.upgradeRetryMs = 0;
    t.upgradeSettleMs = 0;
    t.upgradeReadMs = 5;
    t.upgradePauseMs = 0;
    return t;
}

// The shipped world (or a variant), latency 0.
inline sim::SimConfig ShippedWorld() {
    sim::SimConfig c = sim::DefaultSimConfig();
    c.latencyMs = 0;
    return c;
}

// Only the named devices of the shipped world.
inline sim::SimConfig WorldOf(std::initializer_list<const char*> devices) {
    sim::SimConfig c = ShippedWorld();
    std::erase_if(c.devices, [&](const sim::DeviceConfig& d) {
        for (const char* name : devices)
            if (d.name == name)
                return false;
        return true;
    });
    return c;
}

class SimLinkTest : public ::testing::Test {
protected:
    void Build(sim::SimConfig config) {
        world = std::make_shared<sim::Simulator>(std::move(config));
        link = std::make_unique<DeviceLink>(std::make_unique<sim::SimBackend>(world));
        link->SetTiming(FastTiming());
        AddShippedModels(*link);
    }
    // What the controller does on selection: rebuild, enumerate, open, select.
    void Enumerate(int currentType) {
        link->ClearCommandInterface();
        link->CloseAll();
        link->EnumerateDevice();
        link->SetOpen(true);
        link->SetCurrentType(currentType);
    }
    const ConnectedDeviceInfo* Find(const std::vector<ConnectedDeviceInfo>& list,
                                    const std::string& device) {
        const std::string path = sim::Simulator::PathOf(device, sim::kCommandInterface);
        for (const auto& d : list)
            if (d.path == path)
                return &d;
        return nullptr;
    }

    std::shared_ptr<sim::Simulator> world;
    std::unique_ptr<DeviceLink> link;
};

// A backend with one command interface whose reads are scripted: each entry is a report to
// return, or nullopt for a read that times out. Reads that wait (timeout > 0) take `reads`;
// reads that only look at what is there already (timeout 0, the link's drain before a write)
// take `waiting`, input that was left unread before. Writes are recorded.
class ScriptedHandle final : public HidHandle {
public:
    explicit ScriptedHandle(std::string path) : path_(std::move(path)) {}
    int Write(const std::uint8_t* data, std::size_t length) override {
        writes.emplace_back(data, data + length);
        return writeResult < 0 ? writeResult : static_cast<int>(length);
    }
    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        if (timeoutMs == 0) {
            ++drainCalls;
            return Take(waiting, data, length);
        }
        ++readCalls;
        return Take(reads, data, length);
    }
    const std::string& Path() const override { return path_; }

    std::vector<Bytes> writes;
    std::deque<std::optional<Bytes>> reads;
    std::deque<std::optional<Bytes>> waiting;
    int writeResult = 0;
    int readCalls = 0;
    int drainCalls = 0;

private:
    static int Take(std::deque<std::optional<Bytes>>& from, std::uint8_t* data,
                    std::size_t length) {
        if (from.empty())
            return 0;
        auto next = std::move(from.front());
        from.pop_front();
        if (!next)
            return 0;
        const std::size_t n = std::min(length, next->size());
        std::copy_n(next->begin(), n, data);
        return static_cast<int>(n);
    }

    std::string path_;
};

class ScriptedBackend final : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override { return interfaces; }
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenError* error) override {
        if (error)
            *error = HidOpenError::kNone;
        auto handle = std::make_unique<ScriptedHandle>(path);
        opened[path] = handle.get();
        return handle;
    }
    std::unique_ptr<HotplugSource> CreateHotplugSource() override { return nullptr; }
    const char* Name() const override { return "scripted"; }

    std::vector<HidInterfaceInfo> interfaces;
    std::map<std::string, ScriptedHandle*> opened;
};

}  // namespace cursorial::testing
