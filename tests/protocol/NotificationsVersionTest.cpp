#include "device/Notifications.h"
#include "device/VersionText.h"

#include <vector>

#include <gtest/gtest.h>

namespace cursorial {
namespace {

TEST(Notifications, ReceiverConnectionReport) {
    const std::vector<std::uint8_t> connected{0xC0, 0x01, 0x5A, 0x01};
    const Notification nc = ParseNotification(connected);
    const auto* c = std::get_if<ReceiverConnection>(&nc);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->MouseConnected());
    EXPECT_TRUE(c->HasBatteryInfo());
    EXPECT_EQ(c->batteryLevel, 0x5A);
    EXPECT_EQ(c->chargeState, 1);

    const std::vector<std::uint8_t> gone{0xC0, 0x00, 0x00, 0x00};
    const Notification ng = ParseNotification(gone);
    const auto* g = std::get_if<ReceiverConnection>(&ng);
    ASSERT_NE(g, nullptr);
    EXPECT_FALSE(g->MouseConnected());
    EXPECT_FALSE(g->HasBatteryInfo());

    // Only 1 means connected; the byte itself is kept for the connected flag.
    const std::vector<std::uint8_t> two{0xC0, 0x02, 0x10, 0x00};
    const Notification nt = ParseNotification(two);
    const auto* t = std::get_if<ReceiverConnection>(&nt);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->MouseConnected());
    EXPECT_EQ(t->connectedByte, 2);
}

TEST(Notifications, DpiChangeAndEverythingElse) {
    const std::vector<std::uint8_t> change{0xC2, 0x36};
    const Notification nd = ParseNotification(change);
    const auto* d = std::get_if<DpiChange>(&nd);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->stage, 3);
    EXPECT_EQ(d->count, 6);

    const std::vector<std::vector<std::uint8_t>> ignored{
        {}, {0x00, 0x00}, {0xC1, 0x01, 0x02, 0x03}, {0xC0, 0x01, 0x5A}, {0xC2}, {0x10, 0x00}};
    for (const auto& r : ignored) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseNotification(r)))
            << "size " << r.size();
    }
}

TEST(VersionText, FormatsAndMajorMinor) {
    EXPECT_EQ(ReleaseVersionText(0x105), u"105");
    EXPECT_EQ(ReleaseVersionText(0x0123), u"123");
    EXPECT_EQ(ReleaseVersionText(0x1AB), u"1AB");
    EXPECT_EQ(ReleaseVersionText(0), u"0");
    EXPECT_EQ(FirmwareVersionText(1, 5), u"105");
    EXPECT_EQ(FirmwareVersionText(0x1A, 0x0B), u"1A0B");
    EXPECT_EQ(FirmwareVersionText(0, 0), u"000");

    struct {
        std::u16string text, shown;
    } cases[] = {{u"123", u"1.23"}, {u"105", u"1.05"},  {u"5", u"5.5"}, {u"0", u"0.0"},
                 {u"12", u"1.12"},  {u"1A0B", u"1.0B"}, {u"", u"."}};
    for (const auto& c : cases)
        EXPECT_EQ(MajorMinorText(c.text), c.shown);
    const VersionParts p = SplitVersionText(u"106");
    EXPECT_EQ(p.major, u"1");
    EXPECT_EQ(p.minor, u"06");
}

}  // namespace
}  // namespace cursorial
