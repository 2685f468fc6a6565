// The simulated world on the wire: when reports arrive, what an unplug leaves, what receivers
// and the upgrade interface say. Driven through the backend's handles as the link uses them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "sim/SimBackend.h"
#include "sim/Simulator.h"

namespace cursorial::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Request(std::uint8_t command) {
    Bytes r(65, 0);
    r[1] = command;
    return r;
}

class SimulatorTest : public ::testing::Test {
protected:
    void Build(std::initializer_list<const char*> devices) {
        SimConfig config = DefaultSimConfig();
        config.latencyMs = 0;
        std::erase_if(config.devices, [&](const DeviceConfig& d) {
            for (const char* name : devices)
                if (d.name == name)
                    return false;
            return true;
        });
        world = std::make_shared<Simulator>(config);
        backend = std::make_unique<SimBackend>(world);
    }
    std::unique_ptr<HidHandle> Command(const char* device) {
        return backend->Open(Simulator::PathOf(device, kCommandInterface), nullptr);
    }
    // The first byte of the next report, or -1 when the read fails, 0 when nothing comes.
    static int Next(HidHandle& h, int timeoutMs = 100) {
        std::uint8_t buffer[64] = {};
        const int n = h.Read(buffer, sizeof buffer, timeoutMs);
        return n > 0 ? buffer[0] : n;
    }

    std::shared_ptr<Simulator> world;
    std::unique_ptr<SimBackend> backend;
};

TEST_F(SimulatorTest, UnaskedReportOvertakesASlowAnswer) {
    Build({"aero-cable"});
    auto h = Command("aero-cable");
    world->SetFaults("aero-cable", {.answerDelayMs = 20});
    const Bytes request = Request(0x12);
    ASSERT_EQ(h->Write(request.data(), request.size()), 65);
    ASSERT_TRUE(world->PressDpiButton("aero"));
    EXPECT_EQ(Next(*h), 0xC2);
    EXPECT_EQ(Next(*h), 0x12);
}

TEST_F(SimulatorTest, UnplugMidCommandLosesTheAnswerButNotWhatHadArrived) {
    Build({"aero-cable"});
    auto h = Command("aero-cable");
    world->SetFaults("aero-cable", {.answerDelayMs = 20});
    ASSERT_TRUE(world->PressDpiButton("aero"));  // arrives at once
    const Bytes request = Request(0x12);
    ASSERT_EQ(h->Write(request.data(), request.size()), 65);
    ASSERT_TRUE(world->Unplug("aero-cable"));
    EXPECT_EQ(Next(*h), 0xC2);  // held by the kernel before the unplug
    EXPECT_EQ(Next(*h), -1);    // the answer was still on its way
    EXPECT_EQ(h->Write(request.data(), request.size()), -1);
}

TEST_F(SimulatorTest, UnplugAfterACommandLetsItsAnswerArrive) {
    Build({"aero-cable"});
    world->SetLatency(2);
    auto h = Command("aero-cable");
    world->SetFaults("aero-cable", {.unplugAfter = 1});
    const Bytes request = Request(0x12);
    ASSERT_EQ(h->Write(request.data(), request.size()), 65);
    EXPECT_FALSE(world->IsPlugged("aero-cable"));
    EXPECT_EQ(Next(*h), 0x12);
    EXPECT_EQ(Next(*h), -1);
}

TEST_F(SimulatorTest, PickedCommandFails) {
    struct Case {
        CommandFault fault;
        std::vector<int> firstBytes;  // of the reports read after three commands
        bool pluggedAfter;
    };
    const std::vector<Case> cases = {
        {CommandFault::kNoAnswer, {0x12, 0x17, 0}, true},
        {CommandFault::kRefused, {0x12, 0x16, 0x17}, true},
        {CommandFault::kUnplugged, {0x12, -1}, false},
        {CommandFault::kLateAnswer, {0x12, 0x17, 0x16}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        Build({"aero-cable"});
        auto h = Command("aero-cable");
        world->SetFaults("aero-cable", {.failAt = 2, .failWith = c.fault, .lateByMs = 30});
        for (std::uint8_t command : {0x12, 0x16, 0x17}) {
            const Bytes request = Request(command);
            h->Write(request.data(), request.size());
        }
        std::vector<int> read;
        for (std::size_t i = 0; i < c.firstBytes.size(); ++i)
            read.push_back(Next(*h, 60));
        EXPECT_EQ(read, c.firstBytes);
        EXPECT_EQ(world->IsPlugged("aero-cable"), c.pluggedAfter);
    }
    // The refusal carries a status and changes nothing.
    Build({"aero-cable"});
    auto h = Command("aero-cable");
    world->SetFaults("aero-cable", {.failAt = 1, .failWith = CommandFault::kRefused});
    Bytes rate(65, 0);
    rate[1] = 0x02;
    rate[3] = 0x01;
    rate[4] = 1;
    rate[5] = 0x04;
    rate[32] = 0x04;
    h->Write(rate.data(), rate.size());
    std::uint8_t answer[64];
    ASSERT_GT(h->Read(answer, sizeof answer, 50), 0);
    EXPECT_EQ(answer[1], status::kBadValue);
    EXPECT_EQ(world->Mouse("aero")->state.reportRate, 1);
}

TEST_F(SimulatorTest, ReceiverCanAnswerWithItsStateWhileTheMouseIsOff) {
    Build({"aero-receiver"});
    auto h = Command("aero-receiver");
    world->SetSwitchedOn("aero", false);
    ASSERT_EQ(Next(*h), 0xC0);  // the change itself
    const Bytes request = Request(0x10);
    h->Write(request.data(), request.size());
    EXPECT_EQ(Next(*h, 20), 0);  // silent by default
    world->SetFaults("aero-receiver", {.stateWhenOff = true});
    for (int i = 0; i < 2; ++i) {
        h->Write(request.data(), request.size());
        std::uint8_t state[64] = {};
        ASSERT_GT(h->Read(state, sizeof state, 50), 0);
        EXPECT_EQ(Bytes(state, state + 4), (Bytes{0xC0, 0, 0, 0}));
    }
}

TEST_F(SimulatorTest, UpgradeInterfaceRefusesTheReportsItIsToldTo) {
    Build({"aero-cable"});
    auto h = backend->Open(Simulator::PathOf("aero-cable", kUpgradeInterface), nullptr);
    ASSERT_TRUE(h);
    Bytes start(64, 0xFF), finish(64, 0xFF), data(64, 0xFF);
    start[0] = finish[0] = data[0] = 0x05;
    start[1] = finish[1] = data[1] = 0x02;
    start[2] = 0x02;
    finish[2] = 0x06;
    data[2] = 20;
    start[3] = finish[3] = data[3] = 0x00;
    start[4] = 0x01;
    finish[4] = 0x02;
    struct Case {
        unsigned refuse;
        std::vector<int> results;  // start, data, finish
    };
    for (const Case& c : {Case{kUpgradeStart, {-1, 64, 64}}, Case{kUpgradeData, {64, -1, 64}},
                          Case{kUpgradeFinish, {64, 64, -1}}}) {
        world->SetFaults("aero-cable", {.refuseUpgrade = c.refuse});
        std::vector<int> results;
        for (const Bytes* r : {&start, &data, &finish})
            results.push_back(h->Write(r->data(), r->size()));
        EXPECT_EQ(results, c.results);
    }
    EXPECT_EQ(world->Upgrade("aero-cable").refused, 3);
}

}  // namespace
}  // namespace cursorial::sim
