// Enumeration, identification and the queries over the connected list, against the simulator.
#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace cursorial::testing {
namespace {

using DiscoveryTest = SimLinkTest;

TEST_F(DiscoveryTest, OnlyCommandInterfacesOfSupportedDevicesAreOpened) {
    Build(ShippedWorld());
    Enumerate(0);
    const auto all = link->AllDevices();
    ASSERT_EQ(all.size(), 3u);
    for (const auto& d : all) {
        EXPECT_EQ(d.usagePage, 0xFF01);
        EXPECT_EQ(d.interfaceNumber, 2);
    }
    // The mouse, keyboard and upgrade interfaces stay closed.
    EXPECT_EQ(world->OpenHandles("aero-cable"), 1);
    link->ClearSupportedModels();
    link->AddSupportedModel(0x1209, 0x0003, u"", kTerra, kKindCable, u"TR01");
    Enumerate(0);
    ASSERT_EQ(link->AllDevices().size(), 1u);
    EXPECT_EQ(world->OpenHandles("aero-cable"), 0);
}

TEST_F(DiscoveryTest, CableAndReceiverTogether_OnlyTheCableIsAsked) {
    Build(WorldOf({"aero-receiver", "aero-cable"}));
    Enumerate(kAero);
    const auto all = link->AllDevices();
    ASSERT_EQ(all.size(), 2u);
    const auto* cable = Find(all, "aero-cable");
    const auto* receiver = Find(all, "aero-receiver");
    ASSERT_TRUE(cable && receiver);
    EXPECT_EQ(cable->deviceType, kAero);
    EXPECT_EQ(cable->deviceId, u"AE01");
    EXPECT_EQ(cable->release, 0x0105u);
    EXPECT_EQ(receiver->deviceType, 0);
    EXPECT_TRUE(receiver->deviceId.empty());
    EXPECT_EQ(receiver->connectionKind, kKindReceiver);
    EXPECT_TRUE(world->Received("aero-receiver").empty());
    EXPECT_EQ(link->ConnectionMode(), kKindCable);
}

TEST_F(DiscoveryTest, ReceiverAloneDependsOnTheMouseBehindIt) {
    struct Case {
        bool switchedOn;
        int type;
    };
    for (Case c : {Case{true, kAero}, Case{false, 0}}) {
        SCOPED_TRACE(c.switchedOn);
        sim::SimConfig config = WorldOf({"aero-receiver"});
        config.mice[0].switchedOn = c.switchedOn;
        Build(config);
        Enumerate(kAero);
        const auto all = link->AllDevices();
        ASSERT_EQ(all.size(), 1u);
        EXPECT_EQ(all[0].online, kOnline);
        EXPECT_EQ(all[0].deviceType, c.type);
        // Asked twice when it does not answer (a retry after the pause).
        EXPECT_EQ(world->Received("aero-receiver").size(), c.switchedOn ? 1u : 2u);
        EXPECT_EQ(link->HasIdentifiedOnline(kAero), c.switchedOn);
    }
}

TEST_F(DiscoveryTest, RetryAfterAMissedAnswerIdentifies) {
    Build(WorldOf({"terra-cable"}));
    world->SetFaults("terra-cable", {.dropAnswers = 1});
    Enumerate(kTerra);
    EXPECT_EQ(link->AllDevices().at(0).deviceType, kTerra);
}

TEST_F(DiscoveryTest, IdentifyTypeTable) {
    Build(sim::SimConfig{});
    link->ClearSupportedModels();
    link->AddSupportedModel(0x1209, 0x0010, u"", 301, kKindCable, u"AA01");
    link->AddSupportedModel(0x1209, 0x0010, u"", 302, kKindCable, u"BB01");
    link->AddSupportedModel(0x1209, 0x0011, u"", 303, kKindCable, u"");
    link->AddSupportedModel(0x1209, 0x0011, u"", 304, kKindCable, u"CC01");
    link->AddSupportedModel(0x1209, 0x0012, u"", 305, kKindReceiver, u"DD1");
    struct Case {
        int pid;
        std::u16string id;
        int type;
    };
    const std::vector<Case> cases = {
        {0x0010, u"AA01", 301}, {0x0010, u"BB01", 302},
        {0x0010, u"aa01", 0},    // case-sensitive
        {0x0010, u"AA0", 0},     // whole text
        {0x0011, u"CC01", 101},  // the empty identifier decides first
        {0x0012, u"ZZZZ", 101},  // fewer than 4 characters: by ids alone
        {0x0013, u"AA01", 0},   {0x0010, std::u16string(4, u'\xFFC1'), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pid);
        EXPECT_EQ(link->IdentifyType(0x1209, c.pid, c.id), c.type);
    }
    EXPECT_EQ(link->KindOf(0x1209, 0x0012), kKindReceiver);
    EXPECT_EQ(link->KindOf(0x1209, 0x0099), 0);
}

TEST_F(DiscoveryTest, EmptyCatalogueIdentifierGivesTypeByIds) {
    Build(WorldOf({"terra-cable"}));
    link->ClearSupportedModels();
    link->AddSupportedModel(0x1209, 0x0003, u"", kTerra, kKindCable, u"");
    Enumerate(kTypeByIdsOnly);
    EXPECT_EQ(link->AllDevices().at(0).deviceType, kTypeByIdsOnly);
}

TEST_F(DiscoveryTest, PermissionProblemIsRecordedAndTheDeviceSkipped) {
    sim::SimConfig config = WorldOf({"aero-cable", "terra-cable"});
    config.devices[0].denyOpen = true;
    Build(config);
    Enumerate(0);
    const auto all = link->AllDevices();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].productId, 0x0003);
    const auto problems = link->AccessProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].path, sim::Simulator::PathOf("aero-cable", 2));
    EXPECT_EQ(problems[0].productId, 0x0001);
    // Fixed (rule installed, device replugged): the next enumeration forgets it.
    world->SetFaults("aero-cable", {});
    Enumerate(0);
    EXPECT_TRUE(link->AccessProblems().empty());
    EXPECT_EQ(link->AllDevices().size(), 2u);
}

TEST_F(DiscoveryTest, ListsFollowTheCurrentTypeAndOnlineState) {
    // A cable of another model does not keep the receiver from being asked.
    Build(WorldOf({"aero-receiver", "terra-cable"}));
    Enumerate(0);
    std::vector<ConnectedDeviceInfo> list;
    EXPECT_TRUE(link->ListDevices(list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(Find(list, "aero-receiver")->deviceType, kAero);
    link->SetCurrentType(kTerra);
    list.clear();
    EXPECT_TRUE(link->ListDevices(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].productId, 0x0003);

    Build(WorldOf({"aero-receiver"}));
    Enumerate(kAero);
    link->SetOnline(kAero, kKindReceiver, kOfflineByPoll);
    list.clear();
    EXPECT_TRUE(link->ListDevices(list));
    EXPECT_EQ(list.size(), 1u);
    list.clear();
    EXPECT_TRUE(link->ListOnlineDevices(list));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(link->HasIdentifiedOnline(kAero));  // state 2 is > 0
    std::uint32_t release = 0;
    EXPECT_TRUE(link->GetRelease(kKindReceiver, release));
    EXPECT_EQ(release, 0x0110u);

    link->CloseAll();
    list.clear();
    EXPECT_FALSE(link->ListDevices(list));
    EXPECT_FALSE(link->ListOnlineDevices(list));
    EXPECT_EQ(link->ConnectionMode(), -1);
    EXPECT_FALSE(link->GetRelease(kKindReceiver, release));
    EXPECT_EQ(world->OpenHandles("aero-receiver"), 0);
}

TEST_F(DiscoveryTest, ReleaseIsTheSelectedModels) {
    Build(WorldOf({"aero-cable", "terra-cable"}));
    std::uint32_t release = 0;
    for (auto [type, expected] : {std::pair{kAero, 0x0105u}, std::pair{kTerra, 0x0102u}}) {
        Enumerate(type);
        EXPECT_TRUE(link->GetRelease(kKindCable, release));
        EXPECT_EQ(release, expected);
    }
}

TEST_F(DiscoveryTest, CloseAllDropsTheCachedCommandInterface) {
    Build(WorldOf({"terra-cable"}));
    Enumerate(kTerra);
    ASSERT_NE(link->CommandHandle(), nullptr);
    link->CloseAll();  // without ClearCommandInterface
    link->EnumerateDevice();
    link->SetOpen(true);
    CommandReport r;
    r[kCommandByte] = command::kReadReportRate;
    EXPECT_TRUE(link->Send(r, 33));  // a fresh handle, not the closed one

    // Records whose open flag was never set are closed too; the upgrade interface stays.
    ASSERT_TRUE(link->OpenUpgradeInterface(0x1209, 0x0003));
    link->CloseAll();
    link->EnumerateDevice();
    link->CloseAll();
    EXPECT_TRUE(link->AllDevices().empty());
    EXPECT_EQ(world->OpenHandles("terra-cable"), 1);  // the upgrade interface
    EXPECT_TRUE(link->HasUpgradeInterface());
}

}  // namespace
}  // namespace cursorial::testing
