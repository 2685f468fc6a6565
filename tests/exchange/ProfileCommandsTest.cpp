// Writing a stored profile to the mouse: which commands, in which order, from which rows; and
// the lighting rows a profile starts with.
#include <gtest/gtest.h>

#include <vector>

#include "ExchangeTestSupport.h"
#include "exchange/LightingRows.h"
#include "exchange/ProfileCommands.h"

namespace cursorial {
namespace {

using test::QueryOne;
using test::Rows;

std::vector<int> Ids(const ProfileWrite& write) {
    std::vector<int> ids;
    for (const ButtonMacro& m : write.macros)
        for (const Command& c : m.commands.commands)
            ids.push_back(c.report[kCommandByte]);
    for (const Command& c : write.commands)
        ids.push_back(c.report[kCommandByte]);
    return ids;
}

std::vector<int> Ids(const std::vector<Command>& commands) {
    std::vector<int> ids;
    for (const Command& c : commands)
        ids.push_back(c.report[kCommandByte]);
    return ids;
}

class ProfileCommandsTest : public test::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        ASSERT_EQ(db_.AddProfile({}), 1);
    }
};

TEST_F(ProfileCommandsTest, WholeProfileInTheWriteAllOrder) {
    const DpiLimits limits{100, 26000};
    EXPECT_EQ(Ids(ProfileWriteCommands(db_, 1, 150, limits, false, 1)),
              (std::vector<int>{0x09, 0x03, 0x04, 0x02, 0x06, 0x07}));
    // With lighting but no row for the mode: nothing for the lighting.
    EXPECT_EQ(Ids(ProfileWriteCommands(db_, 1, 150, limits, true, 1)),
              (std::vector<int>{0x09, 0x03, 0x04, 0x02, 0x06, 0x07}));

    std::array<bool, 6> enabled{};
    enabled[0] = enabled[2] = enabled[5] = true;
    EXPECT_EQ(EnsureLightSettings(db_, 1, enabled), 3);
    EXPECT_EQ(EnsureLightSettings(db_, 1, enabled), 0);  // only a profile without rows
    EXPECT_EQ(QueryOne(db_,
                       "SELECT group_concat(mode || ':' || config_func || ':' || reserved || "
                       "':' || status) FROM t_light_data"),
              "1:3:280:1,3:17:282:0,0:0:285:0");
    const std::vector<Command> withLight =
        ProfileWriteCommands(db_, 1, 150, limits, true, 3).commands;
    EXPECT_EQ(Ids(withLight), (std::vector<int>{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}));
    EXPECT_EQ(withLight[1].report[kPayloadByte], 3);         // the mode
    EXPECT_EQ(withLight[1].report[kPayloadByte + 1], 0x42);  // brightness 4, speed 2
    EXPECT_EQ(db_.GetActiveLightMode(1), 3);                 // marked active on the way

    // The report rate and the assignments come from the profile's rows.
    db_.SetConfigValue(1, u"report_rate", u"8");
    EXPECT_EQ(ReportRateCommand(ReadProfileValues(db_, 1)).report[kPayloadByte], 8);
    KeyAssignment key;
    key.profile = 1;
    key.keyCode = 2;
    key.type = 2;
    key.value = 0x04;
    key.value2 = 0x02;
    db_.SaveKeyAssignment(key);
    const Command table = ButtonFunctionsCommand(db_, 1);
    EXPECT_EQ(table.report[kPayloadByte + 6], 0x70);
    EXPECT_EQ(table.report[kPayloadByte + 7], 0x02);
    EXPECT_EQ(table.report[kPayloadByte + 8], 0x04);
}

// A button without a stored row goes out with its described default, also beyond the mouse's
// six built-in defaults; a stored row still wins.
TEST_F(ProfileCommandsTest, ButtonTableCarriesTheModelDefaults) {
    auto describe = [](int keyCode, int type, int value) {
        KeyAssignment d;
        d.keyCode = keyCode;
        d.type = type;
        d.value = value;
        return d;
    };
    const std::vector<KeyAssignment> model = {describe(0, 1, 1), describe(5, 5, 3),
                                              describe(6, 5, 1), describe(7, 5, 2)};
    const Command plain = ButtonFunctionsCommand(db_, 1, model);
    const auto entry = [](const Command& c, int k) {
        return std::vector<int>{c.report[kPayloadByte + 3 * k], c.report[kPayloadByte + 3 * k + 1],
                                c.report[kPayloadByte + 3 * k + 2]};
    };
    EXPECT_EQ(entry(plain, 0), (std::vector<int>{0x10, 0x01, 0x00}));
    EXPECT_EQ(entry(plain, 5), (std::vector<int>{0x40, 0x01, 0x00}));
    EXPECT_EQ(entry(plain, 6), (std::vector<int>{0x40, 0x02, 0x00}));  // DPI +
    EXPECT_EQ(entry(plain, 7), (std::vector<int>{0x40, 0x03, 0x00}));  // DPI -

    KeyAssignment stored = describe(6, 9, 1);  // disabled by the user
    stored.profile = 1;
    db_.SaveKeyAssignment(stored);
    EXPECT_EQ(entry(ButtonFunctionsCommand(db_, 1, model), 6),
              (std::vector<int>{0x60, 0x00, 0x00}));
}

TEST_F(ProfileCommandsTest, PendingMacroOfAButton) {
    const int macro = db_.AddMacro(u"Press");
    db_.AddMacroEvents({{0, macro, kMacroEventKeyDown, 0, 0x41, 1, u""},
                        {0, macro, kMacroEventDelay, 1, 50, 2, u""},
                        {0, macro, kMacroEventKeyUp, 2, 0x41, 1, u""}});
    KeyAssignment key;
    key.profile = 1;
    key.keyCode = 4;
    key.type = 4;
    key.value = macro;
    db_.SaveKeyAssignment(key);

    EXPECT_FALSE(PendingMacroCommands(db_, 1, -1));
    EXPECT_FALSE(PendingMacroCommands(db_, 1, 3));
    const auto commands = PendingMacroCommands(db_, 1, 4);
    ASSERT_TRUE(commands);
    ASSERT_EQ(commands->commands.commands.size(), 1u);
    const CommandReport& r = commands->commands.commands[0].report;
    EXPECT_EQ(r[kCommandByte], 0x08);
    EXPECT_EQ(r[kLengthByte], 9);
    EXPECT_EQ(r[kPayloadByte], 4);  // the key code, then the two events
    EXPECT_EQ(r[kPayloadByte + 1], 0x30);
    EXPECT_EQ(r[kPayloadByte + 2], 50);

    db_.DeleteMacro(macro);
    EXPECT_FALSE(PendingMacroCommands(db_, 1, 4));
}

TEST_F(ProfileCommandsTest, ProfileValuesAreReadByKey) {
    for (const auto& [key, value] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"dpi_count", u"3"},
             {u"dpi_index", u"2"},
             {u"dpi_group0_value", u"400"},
             {u"dpi_group5_value", u"26000"},
             {u"dpi_group3_rgb", u"255"},
             {u"sleep_light", u"60"},
             {u"move_wakeup", u"x"},  // not a number: 0
             {u"button_respondtime", u"8"}})
        ASSERT_TRUE(db_.SetConfigValue(1, key, value));
    const ProfileValues v = ReadProfileValues(db_, 1);
    EXPECT_EQ(v.dpi.count, 3);
    EXPECT_EQ(v.dpi.index, 2);
    EXPECT_EQ(v.dpi.values[0], 400);
    EXPECT_EQ(v.dpi.values[5], 26000);
    EXPECT_EQ(v.colours[3], 255);
    EXPECT_EQ(v.power.sleepLight, 60);
    EXPECT_EQ(v.power.moveWakeup, 0);
    EXPECT_EQ(v.power.buttonRespondTime, 8);
}

// Write-all puts every macro its buttons name on the mouse before the table that names them; a
// macro too long for the mouse is not sent and its button goes out with its default.
TEST_F(ProfileCommandsTest, WriteAllSendsTheProfilesMacrosFirst) {
    const auto addMacro = [&](const char16_t* name, int keyEvents) {
        const int id = db_.AddMacro(name);
        std::vector<MacroEvent> events;
        for (int i = 0; i < keyEvents; ++i)
            events.push_back({0, id, kMacroEventKeyDown, i, 0x41, 1, u""});
        db_.AddMacroEvents(events);
        return id;
    };
    const int shortMacro = addMacro(u"Short", 3);
    const int longMacro = addMacro(u"Long", 20);
    const int tooLong = addMacro(u"Too long", kMacroMaxEvents + 1);
    const auto assign = [&](int keyCode, int macro) {
        KeyAssignment key;
        key.profile = 1;
        key.keyCode = keyCode;
        key.type = 4;
        key.value = macro;
        ASSERT_NE(db_.SaveKeyAssignment(key), 0);
    };
    assign(1, longMacro);
    assign(3, shortMacro);
    assign(4, tooLong);

    const ProfileWrite write = ProfileWriteCommands(db_, 1, 150, {100, 26000}, false, 1);
    ASSERT_EQ(write.macros.size(), 2u);
    EXPECT_EQ(write.macros[0].keyCode, 1);
    EXPECT_EQ(write.macros[0].commands.commands.size(), 3u);  // 81 bytes in 27-byte packets
    EXPECT_EQ(write.macros[1].keyCode, 3);
    EXPECT_EQ(write.refusedMacroKeys, std::vector<int>{4});
    EXPECT_EQ(Ids(write),
              (std::vector<int>{0x08, 0x08, 0x08, 0x08, 0x09, 0x03, 0x04, 0x02, 0x06, 0x07}));
    const CommandReport& table = write.commands[0].report;
    EXPECT_EQ(table[kPayloadByte + 3], 0x90);   // button 1 plays a macro
    EXPECT_EQ(table[kPayloadByte + 12], 0x10);  // button 4 keeps its default mouse function
}

}  // namespace
}  // namespace cursorial
