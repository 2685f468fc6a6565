// What the link needs from the system around it: the permission rule covers every catalogue id,
// the real backend is never reached from a test, and the window thread's queries are safe
// while the worker rebuilds the device list.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "LinkFixture.h"
#include "catalogue/DeviceCatalogue.h"
#include "device/HidapiBackend.h"

namespace cursorial::testing {
namespace {

TEST(UdevRuleTest, ListsEveryCatalogueIdAndNothingElse) {
    const std::filesystem::path data = std::filesystem::path(CURSORIAL_SOURCE_DIR) / "data";
    DeviceCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(data, u"dark"), DataFileStatus::kOk);
    std::set<std::pair<int, int>> expected;
    for (const DeviceEntry& c : catalogue.Connections())
        expected.emplace(c.vendorId, c.productId);

    std::ifstream rules(data / "udev" / "70-cursorial.rules");
    ASSERT_TRUE(rules);
    std::set<std::pair<int, int>> listed;
    for (std::string text; std::getline(rules, text);) {
        if (text.empty() || text[0] == '#')
            continue;
        unsigned vendor = 0, product = 0;
        char rest[32] = {};
        const int n = std::sscanf(text.c_str(),
                                  "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%4x\", "
                                  "ATTRS{idProduct}==\"%4x\", %31[^\n]",
                                  &vendor, &product, rest);
        ASSERT_EQ(n, 3) << text;
        EXPECT_STREQ(rest, "TAG+=\"uaccess\"") << text;
        listed.emplace(vendor, product);
    }
    EXPECT_EQ(listed, expected);
}

TEST(HidapiBackendDeathTest, ForbiddenInTests) {
    ::setenv("CURSORIAL_HID_FORBID_REAL", "1", 1);  // the harness sets it; be sure when run alone
    EXPECT_DEATH(CreateHidapiBackend(), "CURSORIAL_HID_FORBID_REAL=1");
}

// The process-wide link takes its backend from the factory start-up installed, once; the only
// test in this program that touches Instance().
TEST(LinkInstanceTest, BackendComesFromTheInstalledFactory) {
    int made = 0;
    ASSERT_TRUE(DeviceLink::InstallBackendFactory([&made] {
        ++made;
        auto world = std::make_shared<sim::Simulator>(WorldOf({"terra-cable"}));
        return BackendChoice{std::make_unique<sim::SimBackend>(world), "simulator: test"};
    }));
    DeviceLink& link = DeviceLink::Instance();
    EXPECT_EQ(&DeviceLink::Instance(), &link);
    EXPECT_EQ(made, 1);
    EXPECT_STREQ(link.Backend().Name(), "sim");
    EXPECT_EQ(link.BackendFailure(), "simulator: test");
    EXPECT_EQ(link.Backend().Enumerate().size(), 4u);
    // Too late once the link exists.
    EXPECT_FALSE(DeviceLink::InstallBackendFactory([] { return BackendChoice{}; }));
    EXPECT_STREQ(link.Backend().Name(), "sim");
}

TEST(LinkInstanceTest, NoBackendServesNothing) {
    DeviceLink link(BackendChoice{});
    EXPECT_STREQ(link.Backend().Name(), "none");
    link.EnumerateDevice();
    EXPECT_TRUE(link.AllDevices().empty());
    EXPECT_EQ(link.BackendFailure(), "");
}

// The worker rebuilds the list and talks to the mouse while the window thread asks its
// read-only questions. Run under the thread sanitizer this shows any unguarded access.
TEST_F(SimLinkTest, QueriesFromAnotherThreadDuringRebuilds) {
    Build(ShippedWorld());
    Enumerate(kAero);
    std::atomic<bool> stop{false};
    std::thread window([&] {
        std::vector<ConnectedDeviceInfo> list;
        std::uint32_t release = 0;
        while (!stop) {
            list.clear();
            link->ListDevices(list);
            for (const auto& d : list)
                EXPECT_TRUE(d.deviceType == kAero || d.deviceType == 0);
            (void)link->ConnectionMode();
            (void)link->HasIdentifiedOnline(kAero);
            (void)link->GetRelease(kKindCable, release);
        }
    });
    for (int i = 0; i < 50; ++i) {
        Enumerate(kAero);
        CommandReport r;
        r[kCommandByte] = command::kReadReportRate;
        EXPECT_TRUE(link->Send(r, 33));
    }
    stop = true;
    window.join();
}

// A test (or the window thread) changes the simulated world while the worker talks to it.
TEST_F(SimLinkTest, WorldChangesFromAnotherThreadDuringTraffic) {
    Build(ShippedWorld());
    Enumerate(kAero);
    std::atomic<bool> stop{false};
    std::thread tester([&] {
        for (int i = 0; !stop; ++i) {
            world->SetSwitchedOn("aero", i % 2 == 0);
            world->SetBattery("aero", static_cast<std::uint8_t>(i), 0);
            world->PressDpiButton("aero");
            if (i % 2 == 0)
                world->Unplug("terra-cable");
            else
                world->Plug("terra-cable");
        }
    });
    for (int i = 0; i < 50; ++i) {
        Enumerate(i % 2 == 0 ? kAero : kTerra);
        CommandReport r;
        r[kCommandByte] = command::kReadReportRate;
        (void)link->Send(r, 33);
        int type = 0;
        (void)link->ReadNotification(r, type);
        link->PollReceiverState();
    }
    stop = true;
    tester.join();
}

}  // namespace
}  // namespace cursorial::testing
