// The command transport's rules, on a scripted interface where every read is laid out by the
// test, and on the simulator where the device's side of the wire is visible.
#include <gtest/gtest.h>

#include "../protocol/GoldenBytes.h"
#include "LinkFixture.h"

namespace cursorial::testing {
namespace {

class ScriptedLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<ScriptedBackend>();
        backend = owned.get();
        backend->interfaces = {
            HidInterfaceInfo{"cmd", 0x1209, 0x0001, 0x0105, 0xFF01, 0x0010, 2},
        };
        link = std::make_unique<DeviceLink>(std::move(owned));
        link->SetTiming(FastTiming());
        AddShippedModels(*link);
        // Nothing answers the identification, so the record stays type 0 and is the command
        // interface while no type is selected.
        link->EnumerateDevice();
        link->SetOpen(true);
        handle = backend->opened.at("cmd");
        handle->writes.clear();
        handle->readCalls = 0;
    }

    static Bytes Answer(std::initializer_list<std::uint8_t> leading) { return Padded(leading, 64); }

    ScriptedBackend* backend = nullptr;
    ScriptedHandle* handle = nullptr;
    std::unique_ptr<DeviceLink> link;
};

TEST_F(ScriptedLinkTest, ShortSendIsPaddedAndChecksumCoversPayloadRangeOnly) {
    CommandReport r;
    r[kCommandByte] = 0x06;
    r[kSequenceByte] = 0x01;
    r[kLengthByte] = 0x02;  // smaller than the payload: the checksum still covers 5..31
    r[5] = 0x10;
    r[6] = 0x20;
    r[31] = 0x05;
    r[40] = 0x77;  // beyond the 33 bytes handed over: must not reach the device
    handle->reads.push_back(Answer({0x06, 0x00}));
    ASSERT_EQ(link->Transact(r, 33), SendStatus::kOk);
    ASSERT_EQ(handle->writes.size(), 1u);
    Bytes expected = Padded({0x00, 0x06, 0x00, 0x01, 0x02, 0x10, 0x20});
    expected[31] = 0x05;
    expected[32] = 0x35;
    EXPECT_TRUE(SameBytes(handle->writes[0], expected));
}

TEST_F(ScriptedLinkTest, AnswerRules) {
    struct Case {
        const char* name;
        std::vector<std::optional<Bytes>> reads;
        SendStatus status;
        Bytes bufferStart;  // the caller's first bytes afterwards
    };
    const Bytes request = {0x00, 0x12, 0x00, 0x00, 0x00};
    const std::vector<Case> cases = {
        {"other command byte accepted",
         {Answer({0x55, 0x00, 0, 0, 0x08})},
         SendStatus::kOk,
         {0x55, 0x00, 0x00, 0x00, 0x08}},
        {"non-zero status read past",
         {Answer({0x12, 0x03}), Answer({0x12, 0x00, 0, 0, 0x01})},
         SendStatus::kOk,
         {0x12, 0x00, 0x00, 0x00, 0x01}},
        {"only refusals: last one kept",
         {Answer({0x12, 0x03, 0, 0, 0xAA}), std::nullopt},
         SendStatus::kRejected,
         {0x12, 0x03, 0x00, 0x00, 0xAA}},
        {"nothing read: request kept", {}, SendStatus::kNoAnswer, request},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        handle->reads.assign(c.reads.begin(), c.reads.end());
        CommandReport r;
        r[kCommandByte] = 0x12;
        EXPECT_EQ(link->Transact(r, 33), c.status);
        EXPECT_TRUE(SameBytes(Slice(r, 0, c.bufferStart.size()), c.bufferStart));
        EXPECT_EQ(r[32], 0);  // request checksum (empty payload), or answer byte 32
    }
}

TEST_F(ScriptedLinkTest, WaitIsBoundedByTheReadCount) {
    CommandReport r;
    r[kCommandByte] = 0x10;
    EXPECT_FALSE(link->Send(r, 33));
    EXPECT_EQ(handle->readCalls, FastTiming().answerReads);
}

TEST_F(ScriptedLinkTest, FailedWriteEndsAtOnceLeavingTheRequest) {
    handle->writeResult = -1;
    handle->reads.push_back(Answer({0x02, 0x00}));
    CommandReport r;
    r[kCommandByte] = 0x02;
    r[5] = 0x04;
    EXPECT_EQ(link->Transact(r, 65), SendStatus::kWriteFailed);
    EXPECT_EQ(handle->readCalls, 0);
    EXPECT_EQ(r[kCommandByte], 0x02);
    EXPECT_EQ(r[kChecksumByte], 0x04);
}

TEST_F(ScriptedLinkTest, ClosedLinkSendsNothing) {
    link->SetOpen(false);
    CommandReport r;
    r[kCommandByte] = 0x10;
    EXPECT_EQ(link->Transact(r, 33), SendStatus::kNotOpen);
    EXPECT_TRUE(handle->writes.empty());
    int type = -1;
    EXPECT_FALSE(link->ReadNotification(r, type));
    std::uint32_t release = 0;
    EXPECT_FALSE(link->GetRelease(kKindCable, release));
}

// ---------------------------------------------------------------------------------------------

using SimTransportTest = SimLinkTest;

TEST_F(SimTransportTest, CableCarriesTheCommandsWhenReceiverIsPresentToo) {
    Build(WorldOf({"aero-receiver", "aero-cable"}));  // receiver enumerated first
    Enumerate(kAero);
    world->ClearReceived("aero-cable");
    world->ClearReceived("aero-receiver");
    for (int i = 0; i < 3; ++i) {
        CommandReport r;
        r[kCommandByte] = command::kReadReportRate;
        ASSERT_TRUE(link->Send(r, 33));
    }
    EXPECT_EQ(world->Received("aero-cable").size(), 3u);
    EXPECT_TRUE(world->Received("aero-receiver").empty());
    int vid = 0, pid = 0;
    ASSERT_TRUE(link->CurrentVidPid(vid, pid));
    EXPECT_EQ(pid, 0x0001);
}

// The simulator keeps what it received for tests, but only the most recent reports: a long
// session against it must not grow without end.
TEST_F(SimTransportTest, ReceivedReportsAreBounded) {
    Build(WorldOf({"aero-cable"}));
    Enumerate(kAero);
    world->ClearReceived("aero-cable");
    const std::size_t sent = sim::Simulator::kReceivedKept + 5;
    for (std::size_t i = 0; i < sent; ++i) {
        CommandReport r = MakeWriteReport(command::kDpiColours, 18);
        r[5] = static_cast<std::uint8_t>(i);  // stage 1's red
        ASSERT_TRUE(link->Send(r, 65));
    }
    const auto received = world->Received("aero-cable");
    ASSERT_EQ(received.size(), sim::Simulator::kReceivedKept);
    EXPECT_EQ(received.front()[5], 5);  // the five oldest were dropped
    EXPECT_EQ(received.back()[5], static_cast<std::uint8_t>(sent - 1));
}

TEST_F(SimTransportTest, ShortReportReachesTheMouseAsSixtyFiveBytes) {
    Build(WorldOf({"aero-cable"}));
    Enumerate(kAero);
    world->ClearReceived("aero-cable");
    CommandReport r = MakeWriteReport(command::kFactoryReset, 0x01);
    r[5] = 0xFF;
    r[50] = 0x99;  // outside the 33 bytes sent
    ASSERT_TRUE(link->Send(r, 33));
    const auto received = world->Received("aero-cable");
    ASSERT_EQ(received.size(), 1u);
    Bytes expected = Padded({0x00, 0x0F, 0x00, 0x01, 0x01, 0xFF});
    expected[32] = 0xFF;
    EXPECT_TRUE(SameBytes(received[0], expected));
    EXPECT_EQ(world->Mouse("aero")->factoryResets, 1);
}

TEST_F(SimTransportTest, OfflineReceiverGivesNoInterfaceAndNothingIsWritten) {
    for (int state : {kOfflineByNotification, kOfflineByPoll}) {
        SCOPED_TRACE(state);
        Build(WorldOf({"aero-receiver"}));
        Enumerate(kAero);
        link->SetOnline(kAero, kKindReceiver, state);
        link->ClearCommandInterface();
        world->ClearReceived("aero-receiver");
        CommandReport r;
        r[kCommandByte] = command::kInfo;
        EXPECT_EQ(link->Transact(r, 33), SendStatus::kNoInterface);
        EXPECT_TRUE(world->Received("aero-receiver").empty());
        EXPECT_EQ(link->CommandHandle(), nullptr);
        EXPECT_EQ(link->ConnectionMode(), kKindReceiver);  // online state not consulted
    }
}

TEST_F(SimTransportTest, FaultsAreToldApart) {
    Build(WorldOf({"terra-cable"}));
    Enumerate(kTerra);
    struct Case {
        const char* name;
        sim::DeviceFaults faults;
        SendStatus status;
    };
    const std::vector<Case> cases = {
        {"refused", {.status = 0x04}, SendStatus::kRejected},
        {"silent", {.answerLimit = 0}, SendStatus::kNoAnswer},
        {"write fails", {.failWrites = 1}, SendStatus::kWriteFailed},
        {"slow but in time", {.answerDelayMs = 3}, SendStatus::kOk},
        {"too slow", {.answerDelayMs = 200}, SendStatus::kNoAnswer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world->SetFaults("terra-cable", c.faults);
        CommandReport r;
        r[kCommandByte] = command::kReadPower;
        EXPECT_EQ(link->Transact(r, 33), c.status);
    }
}

TEST_F(SimTransportTest, RefusingMouseKeepsItsSettings) {
    Build(WorldOf({"terra-cable"}));
    Enumerate(kTerra);
    world->SetFaults("terra-cable", {.status = 0x04});
    CommandReport r = MakeWriteReport(command::kReportRate, 0x01);
    r[5] = 0x04;
    EXPECT_EQ(link->Transact(r, 65), SendStatus::kRejected);
    EXPECT_EQ(r[0], command::kReportRate);
    EXPECT_EQ(r[kAnswerStatusByte], 0x04);
    EXPECT_EQ(world->Mouse("terra")->state.reportRate, 1);
}

TEST_F(SimTransportTest, BadChecksumIsRefusedByTheMouse) {
    Build(WorldOf({"terra-cable"}));
    Enumerate(kTerra);
    // Send writes the checksum itself, so corrupt it on the way: write directly.
    HidHandle* h = link->CommandHandle();
    ASSERT_NE(h, nullptr);
    Bytes report = Padded({0x00, 0x02, 0x00, 0x01, 0x01, 0x02});
    report[32] = 0x03;
    ASSERT_EQ(h->Write(report.data(), report.size()), 65);
    std::uint8_t answer[64];
    ASSERT_GT(h->Read(answer, sizeof answer, 50), 0);
    EXPECT_EQ(answer[0], 0x02);
    EXPECT_NE(answer[1], 0);
    EXPECT_EQ(world->Mouse("terra")->state.reportRate, 1);  // unchanged
}

TEST_F(SimTransportTest, UnplugBetweenTwoCommands) {
    Build(WorldOf({"terra-cable"}));
    Enumerate(kTerra);
    world->SetFaults("terra-cable", {.unplugAfter = 1});
    CommandReport first;
    first[kCommandByte] = command::kReadReportRate;
    EXPECT_EQ(link->Transact(first, 33), SendStatus::kOk);
    CommandReport second;
    second[kCommandByte] = command::kReadReportRate;
    EXPECT_EQ(link->Transact(second, 33), SendStatus::kWriteFailed);
}

TEST_F(SimTransportTest, QueryWithoutHandleCopiesTheCachedInformation) {
    Build(WorldOf({"aero-cable"}));
    Enumerate(kAero);
    world->SetFaults("aero-cable", {.answerLimit = 0});  // must not be asked
    CommandReport info;
    ASSERT_TRUE(link->Query(info, nullptr));
    EXPECT_EQ(info[4], 'A');
    EXPECT_EQ(info[10], 150);
    link->SetCurrentType(kTerra);
    link->ClearCommandInterface();
    EXPECT_FALSE(link->Query(info, nullptr));
}

}  // namespace
}  // namespace cursorial::testing
