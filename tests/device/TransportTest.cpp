// The command transport's rules, on a scripted interface where every read is laid out by the
// test, and on the simulator where the device's side of the wire is visible.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "../protocol/GoldenBytes.h"
#include "LinkFixture.h"
#include "device/HidTrace.h"

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
        {"another command's answer is not this one's",
         {Answer({0x55, 0x00, 0, 0, 0x08})},
         SendStatus::kNoAnswer,
         request},
        {"a receiver's C0 00 00 00 is not a status-0 answer",
         {Answer({0xC0, 0x00, 0x00, 0x00})},
         SendStatus::kNoAnswer,
         request},
        {"an unasked report with a non-zero second byte is not a refusal",
         {Answer({0xC0, 0x01, 0x5A, 0x01})},
         SendStatus::kNoAnswer,
         request},
        {"unasked and foreign reports before the answer are read past",
         {Answer({0xC2, 0x24}), Answer({0x13, 0x00, 0, 0, 0x77}), std::nullopt,
          Answer({0x12, 0x00, 0, 0, 0x02})},
         SendStatus::kOk,
         {0x12, 0x00, 0x00, 0x00, 0x02}},
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

TEST_F(ScriptedLinkTest, UnaskedReportsReadDuringWaitsAreHandedOutInOrder) {
    handle->reads = {Answer({0xC2, 0x24}), Answer({0x12, 0x00, 0, 0, 0x01}),
                     Answer({0xC0, 0x01, 0x5A, 0x01}), Answer({0x16, 0x00})};
    CommandReport first;
    first[kCommandByte] = 0x12;
    ASSERT_EQ(link->Transact(first, 33), SendStatus::kOk);
    CommandReport second;
    second[kCommandByte] = 0x16;
    ASSERT_EQ(link->Transact(second, 33), SendStatus::kOk);
    EXPECT_EQ(link->PendingNotifications(), 2u);

    handle->reads = {Answer({0xC2, 0x35})};  // arrives after the two kept ones
    const std::vector<Bytes> expected = {{0xC2, 0x24}, {0xC0, 0x01, 0x5A, 0x01}, {0xC2, 0x35}};
    for (const Bytes& e : expected) {
        CommandReport report;
        int type = -1;
        EXPECT_TRUE(link->ReadNotification(report, type));
        EXPECT_TRUE(SameBytes(Slice(report, 0, e.size()), e));
    }
    CommandReport none;
    int type = -1;
    EXPECT_FALSE(link->ReadNotification(none, type));
    EXPECT_EQ(none[0], 0);
}

// What was left unread when a request goes out is not its answer: a late answer to an earlier
// command is dropped, unasked reports are kept.
TEST_F(ScriptedLinkTest, InputLeftUnreadIsDrainedBeforeTheWrite) {
    handle->waiting = {Answer({0x13, 0x00, 0, 0, 0x99}), Answer({0xC2, 0x13})};
    handle->reads = {Answer({0x13, 0x00, 0, 0, 0x41})};
    CommandReport r;
    r[kCommandByte] = 0x13;
    ASSERT_EQ(link->Transact(r, 33), SendStatus::kOk);
    EXPECT_EQ(r[4], 0x41);
    EXPECT_TRUE(handle->waiting.empty());
    CommandReport report;
    int type = -1;
    EXPECT_TRUE(link->ReadNotification(report, type));
    EXPECT_EQ(report[0], 0xC2);
    EXPECT_EQ(report[1], 0x13);
}

TEST_F(ScriptedLinkTest, KeptReportsAreBoundedOldestDropped) {
    for (std::size_t i = 0; i < DeviceLink::kUnaskedKept + 3; ++i)
        handle->waiting.push_back(Answer({0xC2, static_cast<std::uint8_t>(i)}));
    // The drain takes a bounded number per write; a few writes take them all.
    for (int i = 0; i < 3; ++i) {
        handle->reads = {Answer({0x12, 0x00})};
        CommandReport r;
        r[kCommandByte] = 0x12;
        ASSERT_EQ(link->Transact(r, 33), SendStatus::kOk);
    }
    ASSERT_EQ(link->PendingNotifications(), DeviceLink::kUnaskedKept);
    CommandReport report;
    int type = -1;
    ASSERT_TRUE(link->ReadNotification(report, type));
    EXPECT_EQ(report[1], 3);
}

// The worker's idle read gives way to a queued task within one slice.
TEST_F(ScriptedLinkTest, NotificationReadStopsBetweenSlices) {
    LinkTiming timing = FastTiming();
    timing.notifyCommandMs = 100;
    timing.notifySliceMs = 10;
    link->SetTiming(timing);
    int asked = 0;
    CommandReport report;
    int type = -1;
    EXPECT_FALSE(link->ReadNotification(report, type, [&] { return ++asked > 2; }));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(handle->readCalls, 2);  // two slices read, the third never started
    handle->readCalls = 0;
    EXPECT_FALSE(link->ReadNotification(report, type, [] { return false; }));
    EXPECT_EQ(handle->readCalls, 10);  // 100 ms in slices of 10
    handle->reads = {std::nullopt, std::nullopt, Answer({0xC2, 0x24})};
    handle->readCalls = 0;
    EXPECT_TRUE(link->ReadNotification(report, type, [] { return false; }));
    EXPECT_EQ(handle->readCalls, 3);
    EXPECT_EQ(report[0], 0xC2);
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

// One answer that arrives after its wait ended must not be taken for any later command's.
TEST_F(SimTransportTest, LateAnswerDoesNotShiftLaterAnswers) {
    Build(WorldOf({"terra-cable"}));
    Enumerate(kTerra);
    LinkTiming timing = FastTiming();
    timing.answerReads = 10;
    timing.answerReadMs = 3;  // 30 ms
    link->SetTiming(timing);
    world->SetFaults("terra-cable", {.answerDelayMs = 80});
    CommandReport slow;
    slow[kCommandByte] = command::kReadLiftSensor;
    ASSERT_EQ(link->Transact(slow, 33), SendStatus::kNoAnswer);
    world->SetFaults("terra-cable", {});
    // The late answer arrives while one of these waits, or between two of them.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(90);
    int sent = 0;
    while (std::chrono::steady_clock::now() < until || sent < 4) {
        const bool rate = sent % 2 == 0;
        CommandReport r;
        r[kCommandByte] = rate ? command::kReadReportRate : command::kReadPower;
        ASSERT_EQ(link->Transact(r, 33), SendStatus::kOk) << sent;
        EXPECT_EQ(r[0], rate ? 0x12 : 0x17) << sent;
        EXPECT_EQ(r[4], rate ? 1 : 10) << sent;  // factory rate code, sleep value
        ++sent;
    }
}

// A DPI change pressed while a slow answer is on its way overtakes the answer and waits for
// the notification step.
TEST_F(SimTransportTest, DpiChangeDuringACommandIsDeliveredLater) {
    Build(WorldOf({"aero-cable"}));
    Enumerate(kAero);
    LinkTiming timing = FastTiming();
    timing.answerReads = 20;
    timing.answerReadMs = 5;
    link->SetTiming(timing);
    world->SetFaults("aero-cable", {.answerDelayMs = 25});
    std::thread press([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        world->PressDpiButton("aero");
    });
    CommandReport r;
    r[kCommandByte] = command::kReadDpiStages;
    const SendStatus status = link->Transact(r, 33);
    press.join();
    ASSERT_EQ(status, SendStatus::kOk);
    EXPECT_EQ(r[0], command::kReadDpiStages);
    ASSERT_EQ(link->PendingNotifications(), 1u);
    CommandReport report;
    int type = -1;
    EXPECT_TRUE(link->ReadNotification(report, type));
    EXPECT_EQ(report[0], 0xC2);
    EXPECT_EQ(report[1], 0x24);
    EXPECT_EQ(type, kAero);
}

// Behind a receiver whose mouse is off, the receiver answers with its state; that is no
// answer to the command, and the report reaches the notification step.
TEST_F(SimTransportTest, ReceiverStateDuringACommandIsNoAnswer) {
    Build(WorldOf({"aero-receiver"}));
    Enumerate(kAero);
    world->SetFaults("aero-receiver", {.stateWhenOff = true});
    world->SetSwitchedOn("aero", false);  // its own C0 00 00 00 is queued too
    CommandReport r;
    r[kCommandByte] = command::kReadReportRate;
    EXPECT_EQ(link->Transact(r, 33), SendStatus::kNoAnswer);
    EXPECT_EQ(r[0], 0);  // the request, not the receiver's report
    EXPECT_EQ(r[kCommandByte], command::kReadReportRate);
    EXPECT_EQ(link->PendingNotifications(), 2u);
    for (int i = 0; i < 2; ++i) {
        CommandReport report;
        int type = -1;
        EXPECT_TRUE(link->ReadNotification(report, type));
        EXPECT_EQ(report[0], 0xC0);
        EXPECT_EQ(report[1], 0);
    }
}

TEST_F(SimTransportTest, FailedWritesAreTracedAsFailed) {
    const std::filesystem::path file =
        std::filesystem::path(CURSORIAL_BINARY_DIR) / "tests" / "trace-failed-write.log";
    std::filesystem::remove(file);
    world = std::make_shared<sim::Simulator>(WorldOf({"terra-cable"}));
    link = std::make_unique<DeviceLink>(
        WrapWithTrace(std::make_unique<sim::SimBackend>(world), HidTrace::Open(file)));
    link->SetTiming(FastTiming());
    AddShippedModels(*link);
    Enumerate(kTerra);
    world->SetFaults("terra-cable", {.failWrites = 1});
    CommandReport r;
    r[kCommandByte] = command::kReadPower;
    ASSERT_EQ(link->Transact(r, 33), SendStatus::kWriteFailed);
    link.reset();
    std::ifstream in(file);
    std::string last;
    for (std::string line; std::getline(in, line);)
        last = line;
    EXPECT_NE(last.find(" F sim:terra-cable:2 00 17 00 00 00 "), std::string::npos) << last;
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
