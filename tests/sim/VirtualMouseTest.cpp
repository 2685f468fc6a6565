// The simulated mouse as a model of the device: it reads the wire format on its own, so these
// tests state the protocol from the mouse's side, byte by byte.
#include <gtest/gtest.h>

#include "sim/VirtualMouse.h"
#include "sim/VirtualUpgrade.h"

namespace cursorial::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A request as written: report id 0, the given bytes from position 1, zeros, checksum.
Bytes Request(std::initializer_list<std::uint8_t> fromCommand) {
    Bytes r(65, 0);
    std::copy(fromCommand.begin(), fromCommand.end(), r.begin() + 1);
    unsigned sum = 0;
    for (int i = 5; i < 32; ++i)
        sum += r[i];
    r[32] = static_cast<std::uint8_t>(sum);
    return r;
}

MouseConfig Aero() {
    MouseConfig m = DefaultSimConfig().mice.at(0);
    EXPECT_EQ(m.name, "aero");
    return m;
}

TEST(VirtualMouseTest, WritesAreReadBack) {
    VirtualMouse mouse(Aero());
    struct Case {
        const char* name;
        Bytes write;
        Bytes read;
        Bytes answerStart;  // the read's answer from byte 0
    };
    const std::vector<Case> cases = {
        {"report rate", Request({0x02, 0, 0x01, 1, 0x40}), Request({0x12}), {0x12, 0, 0, 0, 0x40}},
        {"dpi stages",
         Request({0x03, 0, 0x01, 0x25, 0x36, 0x10, 0x00, 0x11, 0x00, 0x20, 0x01}),
         Request({0x13}),
         {0x13, 0, 0, 0, 0x36, 0x10, 0x00, 0x11, 0x00, 0x20, 0x01}},
        {"dpi colours",
         Request({0x04, 0, 0x01, 18, 1, 2, 3, 4, 5, 6}),
         Request({0x14}),
         {0x14, 0, 0, 0, 1, 2, 3, 4, 5, 6}},
        {"lighting mode 3",
         Request({0x05, 0, 0x01, 5, 3, 0x42, 9, 8, 7}),
         Request({0x15}),
         {0x15, 0, 0, 0, 3, 0x42}},
        {"lift-off and options",
         Request({0x06, 0, 0x01, 5, 2, 1, 0}),
         Request({0x16}),
         {0x16, 0, 0, 0, 2, 1, 0}},
        {"power",
         Request({0x07, 0, 0x01, 4, 20, 0, 1, 8}),
         Request({0x17}),
         {0x17, 0, 0, 0, 20, 0, 1, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto written = mouse.HandleCommand(c.write);
        ASSERT_TRUE(written);
        EXPECT_EQ((*written)[0], c.write[1]);
        EXPECT_EQ((*written)[1], 0);
        auto read = mouse.HandleCommand(c.read);
        ASSERT_TRUE(read);
        EXPECT_EQ(Bytes(read->begin(), read->begin() + c.answerStart.size()), c.answerStart);
    }
    EXPECT_EQ(mouse.State().lightColours[0], (std::array<std::uint8_t, 3>{9, 8, 7}));
}

TEST(VirtualMouseTest, InformationAndFirmware) {
    VirtualMouse mouse(Aero());
    auto info = mouse.HandleCommand(Request({0x10}));
    ASSERT_TRUE(info);
    EXPECT_EQ(Bytes(info->begin(), info->begin() + 15),
              (Bytes{0x10, 0, 0, 0, 'A', 'E', '0', '1', 0, 0, 150, 0x40, 0, 80, 1}));
    auto firmware = mouse.HandleCommand(Request({0x20}));
    EXPECT_EQ((*firmware)[4], 1);
    EXPECT_EQ((*firmware)[5], 5);

    // Not connected yet, as byte 14 can say; and sensor options from the configuration.
    MouseConfig config = Aero();
    config.infoConnected = false;
    config.sensorOptions = {1, 0};
    VirtualMouse other(config);
    EXPECT_EQ((*other.HandleCommand(Request({0x10})))[14], 0);
    auto options = other.HandleCommand(Request({0x16}));
    EXPECT_EQ(Bytes(options->begin() + 4, options->begin() + 7), (Bytes{1, 1, 0}));
    other.SetInfoConnected(true);
    EXPECT_EQ((*other.HandleCommand(Request({0x10})))[14], 1);
}

TEST(VirtualMouseTest, RefusalsCarryAStatusAndChangeNothing) {
    VirtualMouse mouse(Aero());
    const MouseState before = mouse.State();
    Bytes badSum = Request({0x02, 0, 0x01, 1, 0x04});
    badSum[32] ^= 1;
    struct Case {
        const char* name;
        Bytes report;
        std::uint8_t status;
    };
    const std::vector<Case> cases = {
        {"checksum", badSum, status::kBadChecksum},
        {"unknown command", Request({0x33, 0, 0x01}), status::kUnknownCommand},
        {"write without sequence 01", Request({0x02, 0, 0x00, 1, 0x04}), status::kBadSequence},
        {"read with a sequence", Request({0x12, 0, 0x01}), status::kBadSequence},
        {"rate code unknown", Request({0x02, 0, 0x01, 1, 0x03}), status::kBadValue},
        {"length byte wrong", Request({0x06, 0, 0x01, 3, 2, 1, 0}), status::kBadValue},
        {"lighting mode 2 without 7 colours", Request({0x05, 0, 0x01, 24, 2, 0x11, 6}),
         status::kBadValue},
        {"factory reset without FF", Request({0x0F, 0, 0x01, 1, 0x00}), status::kBadValue},
        {"write with a status byte", Request({0x02, 0x01, 0x01, 1, 0x04}), status::kBadValue},
        {"read with a status byte", Request({0x12, 0x80, 0x00}), status::kBadValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto a = mouse.HandleCommand(c.report);
        ASSERT_TRUE(a);
        EXPECT_EQ((*a)[0], c.report[1]);
        EXPECT_EQ((*a)[1], c.status);
    }
    EXPECT_EQ(mouse.State(), before);
    // Not a command report at all: dropped without an answer.
    EXPECT_FALSE(mouse.HandleCommand(Bytes(33, 0)));
}

TEST(VirtualMouseTest, MacroPacketsAreReassembled) {
    VirtualMouse mouse(Aero());
    // Button 3, seven events (29 bytes): two packets, 27 + 2 bytes.
    Bytes data = {3};
    for (std::uint8_t e = 0; e < 7; ++e)
        data.insert(data.end(), {0x30, static_cast<std::uint8_t>(e + 1), 0x00, 0x04});
    Bytes first = Request({0x08, 0, 0x02, 27});
    std::copy_n(data.begin(), 27, first.begin() + 5);
    Bytes second = first;  // the buffer is not cleared between packets
    second[3] = 0x12;
    second[4] = 2;
    std::copy_n(data.begin() + 27, 2, second.begin() + 5);
    for (Bytes* r : {&first, &second}) {
        unsigned sum = 0;
        for (int i = 5; i < 32; ++i)
            sum += (*r)[i];
        (*r)[32] = static_cast<std::uint8_t>(sum);
    }
    EXPECT_EQ((*mouse.HandleCommand(first))[1], 0);
    EXPECT_TRUE(mouse.State().macros.empty());
    EXPECT_EQ((*mouse.HandleCommand(second))[1], 0);
    ASSERT_EQ(mouse.State().macros.count(3), 1u);
    EXPECT_EQ(mouse.State().macros.at(3), Bytes(data.begin() + 1, data.end()));

    // A second packet without its first is out of sequence.
    EXPECT_EQ((*mouse.HandleCommand(second))[1], status::kBadSequence);
    // One packet: key down A, key up A on button 1.
    auto single = mouse.HandleCommand(
        Request({0x08, 0, 0x01, 9, 1, 0x30, 0x32, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}));
    EXPECT_EQ((*single)[1], 0);
    EXPECT_EQ(mouse.State().macros.at(1), (Bytes{0x30, 0x32, 0, 4, 0xB0, 1, 0, 4}));
}

TEST(VirtualMouseTest, ButtonTableResetsAndUnaskedReports) {
    VirtualMouse mouse(Aero());
    Bytes table = Request({0x09, 0, 0x01, 0x0F});
    table[5 + 6] = 0x70;  // entry 2 = 70 02 04
    table[5 + 7] = 0x02;
    table[5 + 8] = 0x04;
    table[32] = 0x76;
    EXPECT_EQ((*mouse.HandleCommand(table))[1], 0);
    EXPECT_EQ(mouse.State().buttonTable[6], 0x70);
    EXPECT_EQ(mouse.State().buttonTable[0], 0);  // the whole 27 bytes are taken

    mouse.HandleCommand(Request({0x05, 0, 0x01, 2, 0, 0x11}));
    mouse.HandleCommand(Request({0x0E, 0, 0x01, 0x04, 0x42}));
    EXPECT_EQ(mouse.State().lightMode, 4);
    mouse.HandleCommand(Request({0x0E, 0, 0x01, 0x01, 0x01}));
    EXPECT_EQ(mouse.State().lightMode, Aero().lightMode);
    mouse.HandleCommand(Request({0x0F, 0, 0x01, 0x01, 0xFF}));
    EXPECT_EQ(mouse.State(), mouse.FactoryState());
    EXPECT_EQ(mouse.FactoryResets(), 1);

    // Factory: stage 1 of 4. The DPI button steps through the stages and wraps.
    const std::uint8_t expected[] = {0x24, 0x34, 0x04, 0x14};
    for (std::uint8_t e : expected) {
        const Answer c2 = mouse.PressDpiButton();
        EXPECT_EQ(c2[0], 0xC2);
        EXPECT_EQ(c2[1], e);
    }
    auto head = [](const Answer& a) { return Bytes(a.begin(), a.begin() + 4); };
    mouse.SetBattery(0x5A, 1);
    EXPECT_EQ(head(mouse.ConnectionReport()), (Bytes{0xC0, 0x01, 0x5A, 0x01}));
    mouse.SetSwitchedOn(false);
    EXPECT_EQ(head(mouse.ConnectionReport()), (Bytes{0xC0, 0x00, 0x00, 0x00}));
}

// An upgrade report built by hand from the layout, with this file's own CRC.
Bytes DataReport(int firstBlock, const Bytes& chunk) {
    Bytes r(64, 0xFF);
    r[0] = 0x05;
    r[1] = 0x02;
    r[3] = 0x00;
    const std::size_t filled = (chunk.size() + 15) / 16;
    r[2] = static_cast<std::uint8_t>(20 * filled);
    for (std::size_t k = 0; k < filled; ++k) {
        std::uint8_t* sub = r.data() + 4 + 20 * k;
        sub[0] = static_cast<std::uint8_t>(firstBlock + k);
        sub[1] = static_cast<std::uint8_t>((firstBlock + k) >> 8);
        for (std::size_t i = 0; i < 16 && 16 * k + i < chunk.size(); ++i)
            sub[2 + i] = chunk[16 * k + i];
        const std::uint16_t crc = Crc16Modbus(sub, 18);
        sub[18] = static_cast<std::uint8_t>(crc);
        sub[19] = static_cast<std::uint8_t>(crc >> 8);
    }
    return r;
}

TEST(VirtualUpgradeTest, ChecksBlockNumbersAndCrcs) {
    // CRC-16/MODBUS check value.
    const Bytes check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16Modbus(check.data(), check.size()), 0x4B37);

    Bytes start(64, 0xFF);
    start[0] = 0x05, start[1] = 0x02, start[2] = 0x02, start[3] = 0x00, start[4] = 0x01;
    Bytes finish = start;
    finish[2] = 0x06, finish[4] = 0x02;
    const Bytes a(48, 0xA1), b(4, 0xB2);

    struct Case {
        const char* name;
        std::vector<Bytes> reports;
        bool failed;
        std::size_t imageSize;
    };
    Bytes badCrc = DataReport(0, a);
    badCrc[10] ^= 0x80;
    const std::vector<Case> cases = {
        {"in order", {start, DataReport(0, a), DataReport(3, b), finish}, false, 64},
        {"block skipped", {start, DataReport(0, a), DataReport(4, b)}, true, 48},
        {"flipped byte", {start, badCrc}, true, 0},
        {"data before start", {DataReport(0, a)}, true, 0},
        {"data after the short last report", {start, DataReport(0, b), DataReport(1, b)}, true, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualUpgrade upgrade;
        for (const Bytes& r : c.reports)
            upgrade.HandleReport(r);
        EXPECT_EQ(upgrade.Log().failed, c.failed) << upgrade.Log().error;
        EXPECT_EQ(upgrade.Log().image.size(), c.imageSize);
    }
}

}  // namespace
}  // namespace cursorial::sim
