// What the link needs from the system around it: the permission rule covers every catalogue id,
// the real backend is never reached from a test, and the window thread's queries are safe
// while the worker rebuilds the device list.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <regex>
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
    const std::regex line(
        R"re(SUBSYSTEM=="hidraw", ATTRS\{idVendor\}=="([0-9a-f]{4})", ATTRS\{idProduct\}=="([0-9a-f]{4})", TAG\+="uaccess")re");
    std::set<std::pair<int, int>> listed;
    for (std::string text; std::getline(rules, text);) {
        if (text.empty() || text[0] == '#')
            continue;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(text, m, line)) << text;
        listed.emplace(std::stoi(m[1], nullptr, 16), std::stoi(m[2], nullptr, 16));
    }
    EXPECT_EQ(listed, expected);
}

TEST(HidapiBackendDeathTest, ForbiddenInTests) {
    ASSERT_STREQ(std::getenv("CURSORIAL_HID_FORBID_REAL"), "1");
    EXPECT_DEATH(CreateHidapiBackend(), "CURSORIAL_HID_FORBID_REAL=1");
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

}  // namespace
}  // namespace cursorial::testing
