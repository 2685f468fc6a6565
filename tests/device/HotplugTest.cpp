// Hot-plug: what sysfs says about a hidraw node, and what an arrival or removal asks of the
// controller — for the udev monitor's events and the simulator's alike.
#include <gtest/gtest.h>

#include <poll.h>

#include "LinkFixture.h"
#include "device/HidDescriptor.h"
#include "device/HotplugDecision.h"

namespace cursorial::testing {
namespace {

TEST(HidDescriptorTest, HidIdAndInterfaceNumber) {
    struct Case {
        const char* text;
        bool ok;
        std::uint16_t vid, pid;
    };
    const std::vector<Case> cases = {
        {"", false, 0, 0},
        {"0003:1209", false, 0, 0},
        {"0003:00001209:0000000G", false, 0, 0},
        {"0003:00011209:00000001", false, 0, 0},  // beyond 16 bits
        {"0003:00001209:00000001", true, 0x1209, 0x0001},
        {"0003:00001209:00000A1B", true, 0x1209, 0x0A1B},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto ids = ParseHidId(c.text);
        ASSERT_EQ(ids.has_value(), c.ok);
        if (ids) {
            EXPECT_EQ(ids->vendorId, c.vid);
            EXPECT_EQ(ids->productId, c.pid);
        }
    }
    EXPECT_EQ(ParseInterfaceNumber("02\n"), 2);
    EXPECT_EQ(ParseInterfaceNumber("0a"), 10);
    EXPECT_EQ(ParseInterfaceNumber("x"), -1);
}

TEST(HidDescriptorTest, TopLevelUsage) {
    using D = std::vector<std::uint8_t>;
    struct Case {
        const char* name;
        D bytes;
        std::optional<HidUsage> usage;
    };
    const std::vector<Case> cases = {
        {"empty", {}, std::nullopt},
        {"mouse", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01}, HidUsage{0x0001, 0x0002}},
        {"vendor page, 2-byte items",
         {0x06, 0x01, 0xFF, 0x09, 0x10, 0xA1, 0x01, 0x15, 0x00},
         HidUsage{0xFF01, 0x0010}},
        {"upgrade page", {0x06, 0xEF, 0xFF, 0x09, 0x00, 0xA1, 0x01}, HidUsage{0xFFEF, 0x0000}},
        {"usage before its page", {0x09, 0x06, 0x05, 0x01, 0xA1, 0x01}, HidUsage{0x0001, 0x0006}},
        {"extended usage", {0x0B, 0x10, 0x00, 0x01, 0xFF, 0xA1, 0x01}, HidUsage{0xFF01, 0x0010}},
        {"long item skipped",
         {0xFE, 0x01, 0x00, 0xAA, 0x05, 0x01, 0x09, 0x02, 0xA1, 0x01},
         HidUsage{0x0001, 0x0002}},
        {"cut short", {0x06, 0x01}, std::nullopt},
        {"collection without usage", {0x05, 0x01, 0xA1, 0x01}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TopLevelUsage(c.bytes.data(), c.bytes.size()), c.usage);
    }
}

struct Ids {
    int vendorId;
    int productId;
};

TEST(HotplugDecisionTest, ArrivalAndRemovalRules) {
    const std::vector<Ids> connections = {{0x1209, 0x0001}, {0x1209, 0x0A1B}, {0x1209, 0x1234}};
    using K = HotplugEvent::Kind;
    auto event = [](K kind, std::uint16_t pid, int iface, std::uint16_t page, std::uint16_t usage) {
        return HotplugEvent{kind, "node", 0x1209, pid, iface, page, usage};
    };
    struct Case {
        const char* name;
        HotplugEvent e;
        bool polling;
        HotplugAction action;
    };
    const std::vector<Case> cases = {
        {"command interface, pid 0x0001", event(K::kAdd, 0x0001, 2, 0xFF01, 0x0010), false,
         HotplugAction::kDeviceArrived},
        {"command interface, pid 0x0A1B", event(K::kAdd, 0x0A1B, 2, 0xFF01, 0x0010), false,
         HotplugAction::kDeviceArrived},
        {"generic page usage 0 passes", event(K::kAdd, 0x1234, 0, 0x0001, 0x0000), false,
         HotplugAction::kDeviceArrived},
        {"mouse interface", event(K::kAdd, 0x0001, 0, 0x0001, 0x0002), true, HotplugAction::kNone},
        {"upgrade interface", event(K::kAdd, 0x0001, 3, 0xFFEF, 0x0000), true,
         HotplugAction::kNone},
        {"unknown device", event(K::kAdd, 0x0002, 2, 0xFF01, 0x0010), true, HotplugAction::kNone},
        {"removal of interface 2 while polling", event(K::kRemove, 0x0A1B, 2, 0, 0), true,
         HotplugAction::kDeviceRemoved},
        {"removal while not polling", event(K::kRemove, 0x0001, 2, 0xFF01, 0x0010), false,
         HotplugAction::kNone},
        {"removal of interface 0", event(K::kRemove, 0x0001, 0, 0x0001, 0x0002), true,
         HotplugAction::kNone},
        {"removal of an unknown device", event(K::kRemove, 0x0003, 2, 0xFF01, 0x0010), true,
         HotplugAction::kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecideHotplug(c.e, connections, c.polling), c.action);
    }
    HotplugEvent otherVendor = cases[0].e;
    otherVendor.vendorId = 0x046D;
    EXPECT_EQ(DecideHotplug(otherVendor, connections, true), HotplugAction::kNone);
}

TEST(HotplugDecisionTest, SimulatorPlugAndUnplugGoThroughTheSameRules) {
    auto world = std::make_shared<sim::Simulator>(WorldOf({"aero-cable", "terra-cable"}));
    sim::SimBackend backend(world);
    auto source = backend.CreateHotplugSource();
    ASSERT_TRUE(source);
    ASSERT_GE(source->Fd(), 0);
    const std::vector<Ids> connections = {{0x1209, 0x0001}, {0x1209, 0x0002}, {0x1209, 0x0003}};

    pollfd p{source->Fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0);  // nothing yet
    world->Unplug("aero-cable");
    world->Plug("aero-cable");
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    const auto events = source->ReadPendingEvents();
    EXPECT_EQ(::poll(&p, 1, 0), 0);  // drained

    ASSERT_EQ(events.size(), 8u);  // four interfaces gone, four back
    std::vector<HotplugAction> polling, idle;
    for (const auto& e : events) {
        EXPECT_EQ(e.vendorId, 0x1209);
        EXPECT_EQ(e.productId, 0x0001);
        const auto a = DecideHotplug(e, connections, true);
        if (a != HotplugAction::kNone)
            polling.push_back(a);
        if (DecideHotplug(e, connections, false) != HotplugAction::kNone)
            idle.push_back(DecideHotplug(e, connections, false));
    }
    EXPECT_EQ(polling, (std::vector{HotplugAction::kDeviceRemoved, HotplugAction::kDeviceArrived}));
    EXPECT_EQ(idle, (std::vector{HotplugAction::kDeviceArrived}));
    EXPECT_EQ(events[2].node, sim::Simulator::PathOf("aero-cable", 2));
    EXPECT_EQ(events[2].usagePage, 0xFF01);
}

}  // namespace
}  // namespace cursorial::testing
