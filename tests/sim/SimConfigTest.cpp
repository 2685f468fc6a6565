// The simulator's configuration: its file format, and its default world against the catalogue
// the program ships.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/DeviceCatalogue.h"
#include "common/text/WideText.h"
#include "sim/SimConfig.h"
#include "sim/VirtualUpgrade.h"

namespace cursorial::sim {
namespace {

TEST(SimConfigTest, ParsesSectionsAndRefusesFaults) {
    const char* text = R"(# two devices
latency_ms = 0
[mouse m]
dev_id = XY12
sensor = 0x11
switched_on = 0
dpi_codes = 1, 2, 3, 4, 5, 6
sensor_options = 1, 1
connected = 0
[device d]
mouse = m
connection = receiver
pid = 0x0A1B
answer_limit = 3
state_when_off = 1
refuse_upgrade = start, finish
fail_at = 4
fail_with = late
late_by_ms = 30
)";
    SimConfig c;
    std::string error;
    ASSERT_TRUE(ParseSimConfig(text, c, error)) << error;
    EXPECT_EQ(c.latencyMs, 0);
    ASSERT_EQ(c.mice.size(), 1u);
    EXPECT_EQ(c.mice[0].deviceId, "XY12");
    EXPECT_EQ(c.mice[0].sensor, 17);
    EXPECT_FALSE(c.mice[0].switchedOn);
    EXPECT_EQ(c.mice[0].dpiCodes[5], 6);
    EXPECT_EQ(c.mice[0].sensorOptions, (std::array<std::uint8_t, 2>{1, 1}));
    EXPECT_FALSE(c.mice[0].infoConnected);
    ASSERT_EQ(c.devices.size(), 1u);
    EXPECT_EQ(c.devices[0].connection, kReceiver);
    EXPECT_EQ(c.devices[0].productId, 0x0A1B);
    EXPECT_EQ(c.devices[0].answerLimit, 3);
    EXPECT_TRUE(c.devices[0].stateWhenOff);
    EXPECT_EQ(c.devices[0].refuseUpgrade, unsigned{kUpgradeStart | kUpgradeFinish});
    EXPECT_EQ(c.devices[0].failAt, 4);
    EXPECT_EQ(c.devices[0].failWith, CommandFault::kLateAnswer);
    EXPECT_EQ(c.devices[0].lateByMs, 30);

    // The shipped world as a base, one device changed.
    ASSERT_TRUE(ParseSimConfig("base = shipped\n[device aero-receiver]\nplugged = 0\n", c, error));
    EXPECT_EQ(c.devices.size(), 3u);
    EXPECT_FALSE(c.devices[1].plugged);

    struct Bad {
        const char* text;
        const char* error;
    };
    const std::vector<Bad> bad = {
        {"[mouse]\n", "line 1: a section needs a kind and a name: [mouse NAME] or [device NAME]"},
        {"[mouse m]\nsensor = 300\n", "line 2: bad key or value: sensor = 300"},
        {"[mouse m]\ncolour = 1\n", "line 2: bad key or value: colour = 1"},
        {"[device d]\nmouse = nobody\n", "device d names an unknown mouse \"nobody\""},
        {"[mouse m]\nbase = shipped\n", "line 2: bad key or value: base = shipped"},
        {"[mouse m]\ndpi_codes = 1,2\n", "line 2: bad key or value: dpi_codes = 1,2"},
        {"latency_ms\n", "line 1: expected key = value"},
        {"[mouse m]\nsensor_options = 1\n", "line 2: bad key or value: sensor_options = 1"},
        {"[device d]\nfail_with = crash\n", "line 2: bad key or value: fail_with = crash"},
        {"[device d]\nrefuse_upgrade = start,all\n",
         "line 2: bad key or value: refuse_upgrade = start,all"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.text);
        EXPECT_FALSE(ParseSimConfig(b.text, c, error));
        EXPECT_EQ(error, b.error);
    }
}

TEST(SimConfigTest, DefaultWorldAgreesWithTheShippedCatalogue) {
    DeviceCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(std::filesystem::path(CURSORIAL_SOURCE_DIR) / "data", u"dark"),
              DataFileStatus::kOk);
    const SimConfig sim = DefaultSimConfig();
    ASSERT_EQ(sim.devices.size(), catalogue.Connections().size());
    for (const DeviceEntry& c : catalogue.Connections()) {
        SCOPED_TRACE(ToUtf8(c.name));
        const DeviceConfig* device = nullptr;
        for (const auto& d : sim.devices)
            if (d.vendorId == c.vendorId && d.productId == c.productId)
                device = &d;
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->connection, c.connectionKind);
        const MouseConfig* mouse = nullptr;
        for (const auto& m : sim.mice)
            if (m.name == device->mouse)
                mouse = &m;
        ASSERT_NE(mouse, nullptr);
        EXPECT_EQ(FromUtf8(mouse->deviceId), c.deviceId);
        // The sensors of the shipped models: 150 for the Aero, 17 for the Terra.
        EXPECT_EQ(mouse->sensor, c.deviceType == 201 ? 150 : 17);
    }
}

}  // namespace
}  // namespace cursorial::sim
