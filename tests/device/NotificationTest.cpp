// Unasked reports: the receiver's connection report (0xC0) and the mouse's DPI change (0xC2),
// read through the link as the worker's idle step does.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "LinkFixture.h"

namespace cursorial::testing {
namespace {

class NotificationTest : public SimLinkTest {
protected:
    // Reads until a report arrives or a few tries pass (the simulator queues it at once).
    bool ReadOne(CommandReport& report, int& type, bool& result) {
        for (int i = 0; i < 20; ++i) {
            report = CommandReport{};
            result = link->ReadNotification(report, type);
            if (report[0] != 0)
                return true;
        }
        return false;
    }
};

TEST_F(NotificationTest, OnTheCommandInterfaceTheReportIsReturnedAsRead) {
    Build(WorldOf({"aero-receiver"}));
    Enumerate(kAero);
    ASSERT_TRUE(world->SetBattery("aero", 0x5A, 1));
    CommandReport report;
    int type = -1;
    bool result = false;
    ASSERT_TRUE(ReadOne(report, type, result));
    EXPECT_TRUE(result);
    EXPECT_EQ(type, kAero);
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 1);
    EXPECT_EQ(report[2], 0x5A);
    EXPECT_EQ(report[3], 1);

    ASSERT_TRUE(world->PressDpiButton("aero"));  // factory state: stage 1 of 4
    ASSERT_TRUE(ReadOne(report, type, result));
    EXPECT_EQ(report[0], 0xC2);
    EXPECT_EQ(report[1], 0x24);
}

TEST_F(NotificationTest, ReceiverWithoutCommandInterfaceFollowsItsMouse) {
    Build(WorldOf({"aero-receiver"}));
    Enumerate(kAero);
    // The mouse leaves: the controller marks it offline and forgets the interface.
    world->SetSwitchedOn("aero", false);
    link->SetOnline(kAero, kKindReceiver, kOfflineByNotification);
    link->ClearCommandInterface();
    CommandReport report;
    int type = -1;
    bool result = true;
    ASSERT_TRUE(ReadOne(report, type, result));  // the C0 00 queued before, via the receiver walk
    EXPECT_FALSE(result);
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0);
    EXPECT_EQ(link->AllDevices()[0].online, kOfflineByNotification);
    EXPECT_EQ(link->CommandHandle(), nullptr);

    // Back: the record goes online, is asked who it is, and commands flow again.
    world->ClearReceived("aero-receiver");
    world->SetSwitchedOn("aero", true);
    ASSERT_TRUE(ReadOne(report, type, result));
    EXPECT_FALSE(result);
    EXPECT_EQ(report[1], 1);
    EXPECT_EQ(type, kAero);
    EXPECT_EQ(world->Received("aero-receiver").size(), 1u);  // the information command
    EXPECT_EQ(link->AllDevices()[0].online, kOnline);
    EXPECT_NE(link->CommandHandle(), nullptr);
}

TEST_F(NotificationTest, MouseSwitchedOnLaterIsIdentifiedAndReportedUnderItsType) {
    sim::SimConfig config = WorldOf({"aero-receiver"});
    config.mice[0].switchedOn = false;
    Build(config);
    Enumerate(kAero);
    ASSERT_EQ(link->AllDevices()[0].deviceType, 0);
    world->SetSwitchedOn("aero", true);
    CommandReport report;
    int type = -1;
    bool result = true;
    ASSERT_TRUE(ReadOne(report, type, result));
    EXPECT_EQ(type, kAero);
    EXPECT_EQ(link->AllDevices()[0].deviceType, kAero);
    EXPECT_TRUE(link->HasIdentifiedOnline(kAero));
}

// A receiver report kept during a command is handled like one read now: with the command
// interface gone it takes the receiver walk, which follows the mouse's state.
TEST_F(NotificationTest, KeptReceiverReportIsHandledWhereItCameFrom) {
    Build(WorldOf({"aero-receiver"}));
    Enumerate(kAero);
    world->SetFaults("aero-receiver", {.answerDelayMs = 4});
    LinkTiming timing = FastTiming();
    timing.answerReads = 5;
    timing.answerReadMs = 2;
    link->SetTiming(timing);
    std::thread off([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        world->SetSwitchedOn("aero", false);
    });
    CommandReport r;
    r[kCommandByte] = command::kReadReportRate;
    link->Transact(r, 33);
    off.join();
    link->Transact(r, 33);  // the C0 00 has arrived by now at the latest: drained and kept
    ASSERT_EQ(link->PendingNotifications(), 1u);
    // The controller forgets the interface when the mouse leaves; the kept report still
    // reaches it, and marks the record as the receiver walk would.
    link->ClearCommandInterface();
    link->SetOnline(kAero, kKindReceiver, kOfflineByPoll);
    CommandReport report;
    int type = -1;
    EXPECT_FALSE(link->ReadNotification(report, type));
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0);
    EXPECT_EQ(type, kAero);
    EXPECT_EQ(link->AllDevices()[0].online, kOfflineByNotification);
    EXPECT_EQ(link->PendingNotifications(), 0u);
}

TEST_F(NotificationTest, PollReceiverStateSetsOnlineOrOfflineByPoll) {
    Build(WorldOf({"aero-receiver"}));
    Enumerate(kAero);
    struct Step {
        bool on;
        int online;
    };
    for (Step s : {Step{false, kOfflineByPoll}, Step{true, kOnline}}) {
        world->SetSwitchedOn("aero", s.on);
        for (int i = 0; i < 20 && link->AllDevices()[0].online != s.online; ++i)
            link->PollReceiverState();
        EXPECT_EQ(link->AllDevices()[0].online, s.online);
    }
    // Another type selected: its receivers only are polled.
    world->SetSwitchedOn("aero", false);
    link->SetCurrentType(kTerra);
    for (int i = 0; i < 5; ++i)
        link->PollReceiverState();
    EXPECT_EQ(link->AllDevices()[0].online, kOnline);
}

}  // namespace
}  // namespace cursorial::testing
