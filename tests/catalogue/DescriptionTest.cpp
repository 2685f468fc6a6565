#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "catalogue/DescriptionRules.h"
#include "catalogue/DeviceDescription.h"
#include "common/text/WideText.h"

namespace cursorial {
namespace {

std::u16string Mouse(std::u16string_view children) {
    return u"<?xml version=\"1.0\"?>\r\n<mouse>" + std::u16string(children) + u"</mouse>";
}

constexpr char16_t kFull[] =
    uR"(<mouse>
  <image_file mouse_img="aero_top.png"/>
  <menu light="1"/>
  <custom show_dpitips="1" show_savetips="0" show_lod="1" show_sensor="1" show_respondtime="1"/>
  <firmware url="https://fw/aero"/>
  <mouse_key>
    <key name="700" key_value="0" direction="0" rect="215#40#110" func_desc="106" dashed="0" func_type="1" func_value="1"/>
    <key name="706" key_value="6" direction="1" rect="292#480#275" func_desc="708" dashed="1" func_type="5" func_value="1"/>
  </mouse_key>
  <mouse_info>
    <light_info><light_1 enable="1"/><light_2 enable="0"/><light_4 enable="1"/></light_info>
    <dpi_info default_dpi="1" dpi_count="6">
      <dpi_1 value="400" color="#FF0000"/><dpi_2 value="800" color="#00FF00"/>
      <dpi_6 value="12000" color="#0000FF"/>
    </dpi_info>
    <report_rate default_value="1"/>
    <sleep_light value="30"/>
    <move_wakeup value="1"/>
    <move_closelight value="0"/>
    <lod value="2"/>
    <button_respondtime value="4"/>
  </mouse_info>
</mouse>)";

TEST(DescriptionLoad, ReadsEverythingTheWindowTakes) {
    DescriptionLoad load;
    ASSERT_EQ(ParseDescriptionLoad(kFull, load), DataFileStatus::kOk);
    EXPECT_EQ(load.mouseImage, u"aero_top.png");
    EXPECT_EQ(load.lighting, true);
    EXPECT_EQ(load.show, (ShowFlags{true, false, true, true, true}));
    EXPECT_EQ(load.firmwareUrl, u"https://fw/aero");

    ASSERT_TRUE(load.keys);
    ASSERT_EQ(load.keys->size(), 2u);
    const DescriptionKey& dpiPlus = (*load.keys)[1];
    EXPECT_EQ(dpiPlus.nameId, 706);
    EXPECT_EQ(dpiPlus.keyValue, 6);
    EXPECT_EQ(dpiPlus.direction, 1);
    EXPECT_EQ((CalloutLine{dpiPlus.x1, dpiPlus.x2, dpiPlus.y}), (CalloutLine{292, 480, 275}));
    EXPECT_EQ(dpiPlus.funcDescId, 708);
    EXPECT_TRUE(dpiPlus.dashed);
    EXPECT_EQ(dpiPlus.funcType, 5);
    EXPECT_EQ(dpiPlus.funcValue, 1);

    KeyAssignment expected;
    expected.keyCode = 6;
    expected.layoutValue = 6;
    expected.layoutText = u"706";
    expected.type = 5;
    expected.value = 1;
    expected.description = u"708";
    EXPECT_EQ(ToDefaultAssignment(dpiPlus), expected);

    // light_info stands first in mouse_info and is still found; light_3, 5, 6 are absent.
    EXPECT_EQ(load.lightEffects[0], true);
    EXPECT_EQ(load.lightEffects[1], false);
    EXPECT_EQ(load.lightEffects[2], std::nullopt);
    EXPECT_EQ(load.lightEffects[3], true);
    EXPECT_EQ(load.lightEffects[5], std::nullopt);
}

// What each load leaves on the window's state, starting from the state before any load.
TEST(DescriptionLoad, PresentElementsSetEveryFlagTheyCarryAbsentOnesKeepTheState) {
    struct Case {
        const char* what;
        std::u16string children;
        bool lighting;
        ShowFlags show;
    };
    const ShowFlags all;
    const Case cases[] = {
        {"no menu keeps lighting",
         u"<custom show_dpitips='1' show_savetips='1' show_lod='1' "
         u"show_sensor='1' show_respondtime='1'/>",
         true, all},
        {"light 0 hides lighting", u"<menu light='0'/>", false, all},
        {"light other than 1 hides lighting", u"<menu light='2'/>", false, all},
        {"menu without light hides lighting", u"<menu/>", false, all},
        {"flag text read as a number", u"<menu light=' 1x'/>", true, all},
        {"custom with only show_dpitips turns the other four off", u"<custom show_dpitips='1'/>",
         true, ShowFlags{true, false, false, false, false}},
        {"custom standing before menu is not found", u"<custom show_dpitips='0'/><menu light='0'/>",
         false, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DescriptionLoad load;
        ASSERT_EQ(ParseDescriptionLoad(Mouse(c.children), load), DataFileStatus::kOk);
        DescriptionState state;
        state.Apply(load);
        EXPECT_EQ(state.lighting, c.lighting);
        EXPECT_EQ(state.show, c.show);
    }
}

TEST(DescriptionLoad, KeysGiveDefaultAssignmentsInFileOrder) {
    std::u16string keys;
    for (int code : {5, 0, 3, 1, 4, 2}) {
        keys += FormatW(
            "<key name='%d' key_value='%d' rect='%d#%d' func_desc='%d' "
            "func_type='1' func_value='%d'/>",
            700 + code, code, code, 10 * code, 100 + code, code + 1);
    }
    DescriptionLoad load;
    ASSERT_EQ(ParseDescriptionLoad(Mouse(u"<mouse_key>" + keys + u"<other/></mouse_key>"), load),
              DataFileStatus::kOk);
    ASSERT_TRUE(load.keys);
    ASSERT_EQ(load.keys->size(), 6u);

    DescriptionState state;
    state.Apply(load);
    ASSERT_EQ(state.defaultAssignments.size(), 6u);
    const int order[] = {5, 0, 3, 1, 4, 2};
    for (size_t i = 0; i < 6; ++i) {
        const int code = order[i];
        EXPECT_EQ(state.defaultAssignments[i].keyCode, code);
        EXPECT_EQ(state.defaultAssignments[i].layoutText, IntToText(700 + code));
        EXPECT_EQ(state.defaultAssignments[i].description, IntToText(100 + code));
        // "x1#x2" without y: y reads 0.
        EXPECT_EQ((*load.keys)[i].x2, 10 * code);
        EXPECT_EQ((*load.keys)[i].y, 0);
    }
    EXPECT_EQ(ButtonListRect(static_cast<int>(load.keys->size()), 1.0).bottom, 650);

    // A later load without mouse_key keeps the list; one with an empty mouse_key empties it.
    ASSERT_EQ(ParseDescriptionLoad(Mouse(u"<menu light='1'/>"), load), DataFileStatus::kOk);
    state.Apply(load);
    EXPECT_EQ(state.defaultAssignments.size(), 6u);
    ASSERT_EQ(ParseDescriptionLoad(Mouse(u"<mouse_key/>"), load), DataFileStatus::kOk);
    state.Apply(load);
    EXPECT_TRUE(state.defaultAssignments.empty());
}

TEST(DescriptionLoad, StateKeepsWhatALoadDidNotFind) {
    DescriptionState state;
    DescriptionLoad load;
    ASSERT_EQ(ParseDescriptionLoad(kFull, load), DataFileStatus::kOk);
    state.Apply(load);
    EXPECT_EQ(state.firmwareUrl, u"https://fw/aero");
    EXPECT_EQ(state.lightEffects, (std::array<bool, 6>{true, false, false, true, false, false}));

    ASSERT_EQ(
        ParseDescriptionLoad(Mouse(u"<mouse_info><lod value='1'/><light_info><light_3 enable='1'/>"
                                   u"<light_1 enable='0'/></light_info></mouse_info>"),
                             load),
        DataFileStatus::kOk);
    state.Apply(load);
    EXPECT_EQ(state.firmwareUrl, u"https://fw/aero");
    // light_3 stands before light_1, so after light_1 is found it is not looked for again.
    EXPECT_EQ(state.lightEffects, (std::array<bool, 6>{false, false, false, true, false, false}));
    EXPECT_EQ(state.defaultAssignments.size(), 2u);
}

TEST(DescriptionFile, ReadersReportWhyTheyStop) {
    const std::filesystem::path folder =
        std::filesystem::path(CURSORIAL_BINARY_DIR) / "tests/tmp/catalogue/description";
    std::filesystem::create_directories(folder);
    const struct {
        const char* text;  // nullptr: no file
        DataFileStatus load, defaults, reportRate;
    } cases[] = {
        {nullptr, DataFileStatus::kMissing, DataFileStatus::kMissing, DataFileStatus::kMissing},
        {"<mouse><menu></mouse>", DataFileStatus::kMalformed, DataFileStatus::kMalformed,
         DataFileStatus::kMalformed},
        {"<device><menu light='0'/></device>", DataFileStatus::kWrongRoot,
         DataFileStatus::kWrongRoot, DataFileStatus::kWrongRoot},
        {"<mouse><menu light='0'/></mouse>", DataFileStatus::kOk, DataFileStatus::kNoSection,
         DataFileStatus::kNoSection},
        {"<mouse><mouse_info><lod value='1'/></mouse_info></mouse>", DataFileStatus::kOk,
         DataFileStatus::kOk, DataFileStatus::kNoSection},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "no file");
        const std::filesystem::path path = folder / "MODEL.xml";
        std::filesystem::remove(path);
        if (c.text)
            std::ofstream(path, std::ios::binary) << c.text;
        DescriptionLoad load;
        load.lighting = false;
        DescriptionDefaults defaults;
        defaults.lod = u"stale";
        std::u16string rate = u"stale";
        EXPECT_EQ(ReadDescriptionLoad(path, load), c.load);
        EXPECT_EQ(ReadDescriptionDefaults(path, defaults), c.defaults);
        EXPECT_EQ(ReadDefaultReportRate(path, rate), c.reportRate);
        // What a stopped reader leaves is empty, never the caller's stale values.
        if (c.load != DataFileStatus::kOk) {
            EXPECT_EQ(load, DescriptionLoad{});
        }
        if (c.defaults != DataFileStatus::kOk) {
            EXPECT_EQ(defaults, DescriptionDefaults{});
        }
        if (c.reportRate != DataFileStatus::kOk) {
            EXPECT_EQ(rate, u"");
        }
    }
}

TEST(DescriptionDefaults, PlansTheWritesInTheirOrder) {
    DescriptionDefaults defaults;
    ASSERT_EQ(ParseDescriptionDefaults(kFull, defaults), DataFileStatus::kOk);
    ASSERT_TRUE(defaults.dpi);
    EXPECT_EQ(defaults.dpi->stages[1], (DpiStageDefault{u"800", 65280}));
    EXPECT_EQ(defaults.dpi->stages[2], std::nullopt);

    const std::vector<SettingWrite> dpiWrites = {
        {u"dpi_index", u"1"},
        {u"dpi_flag", u"6"},
        {u"dpi_count", u"6"},
        {u"dpi_group0_value", u"400"},
        {u"dpi_group0_rgb", u"255"},
        {u"dpi_group1_value", u"800"},
        {u"dpi_group1_rgb", u"65280"},
        {u"dpi_group5_value", u"12000"},
        {u"dpi_group5_rgb", u"16711680"},
    };
    std::vector<SettingWrite> fullWrites = dpiWrites;
    fullWrites.insert(fullWrites.end(), {
                                            {u"report_rate", u"1"},
                                            {u"sleep_light", u"30"},
                                            {u"move_wakeup", u"1"},
                                            {u"move_closelight", u"0"},
                                            {u"liftoff_height", u"2"},
                                            {u"button_respondtime", u"4"},
                                        });
    EXPECT_EQ(PlanDefaultSettings(defaults, /*dpiOnly=*/true),
              (DefaultSettingPlan{dpiWrites, std::nullopt}));
    EXPECT_EQ(PlanDefaultSettings(defaults, /*dpiOnly=*/false),
              (DefaultSettingPlan{fullWrites, 1}));
}

TEST(DescriptionDefaults, SearchOrderInsideMouseInfo) {
    // report_rate before dpi_info: the restore finds it, the full defaults do not.
    const std::u16string early = Mouse(
        u"<mouse_info><report_rate default_value='8'/><dpi_info default_dpi='0' dpi_count='4'>"
        u"<dpi_1 value='100' color='#010203'/><dpi_2 value='200'/><dpi_3 value='300'/>"
        u"<dpi_4 value='400'/></dpi_info><sleep_light value='6'/></mouse_info>");
    DescriptionDefaults defaults;
    ASSERT_EQ(ParseDescriptionDefaults(early, defaults), DataFileStatus::kOk);
    EXPECT_EQ(defaults.reportRate, std::nullopt);
    EXPECT_EQ(defaults.sleepLight, u"6");
    std::u16string rate;
    ASSERT_EQ(ParseDefaultReportRate(early, rate), DataFileStatus::kOk);
    EXPECT_EQ(rate, u"8");

    // dpi_1 ... dpi_4 only: stages 0 to 3 are written, nothing for 4 and 5.
    const DefaultSettingPlan plan = PlanDefaultSettings(defaults, false);
    EXPECT_EQ(plan.highestReportRate, std::nullopt);
    ASSERT_EQ(plan.writes.size(), 3u + 8u + 1u);
    EXPECT_EQ(plan.writes[3], (SettingWrite{u"dpi_group0_value", u"100"}));
    EXPECT_EQ(plan.writes[4], (SettingWrite{u"dpi_group0_rgb", u"197121"}));
    EXPECT_EQ(plan.writes[6], (SettingWrite{u"dpi_group1_rgb", u"0"}));
    EXPECT_EQ(plan.writes[9], (SettingWrite{u"dpi_group3_value", u"400"}));
    EXPECT_EQ(plan.writes[11], (SettingWrite{u"sleep_light", u"6"}));

    // Stages out of order: dpi_2 stands before dpi_1, so it is not looked for again.
    ASSERT_EQ(
        ParseDescriptionDefaults(Mouse(u"<mouse_info><dpi_info><dpi_2 value='2'/><dpi_1 value='1'/>"
                                       u"<dpi_3 value='3'/></dpi_info></mouse_info>"),
                                 defaults),
        DataFileStatus::kOk);
    ASSERT_TRUE(defaults.dpi);
    EXPECT_TRUE(defaults.dpi->stages[0]);
    EXPECT_EQ(defaults.dpi->stages[1], std::nullopt);
    EXPECT_TRUE(defaults.dpi->stages[2]);

    // Without dpi_info nothing of the DPI block is written.
    ASSERT_EQ(
        ParseDescriptionDefaults(Mouse(u"<mouse_info><lod value='1'/></mouse_info>"), defaults),
        DataFileStatus::kOk);
    EXPECT_EQ(PlanDefaultSettings(defaults, true).writes, std::vector<SettingWrite>{});
    EXPECT_EQ(PlanDefaultSettings(defaults, false).writes,
              (std::vector<SettingWrite>{{u"liftoff_height", u"1"}}));
}

TEST(DescriptionRules, ColorText) {
    const struct {
        std::u16string_view text;
        int value;
    } cases[] = {
        {u"", 0},
        {u"#", 0},
        {u"#F", 0},        // one character left: too short
        {u"#FFFFFF0", 0},  // seven left: too long
        {u"#FF0000", 255},
        {u"#0000FF", 16711680},
        {u"#00FF00", 65280},
        {u"FF0000", 240},  // the first character is dropped, whatever it is
        {u"#ff8000", 33023},
        {u"#FF", 255},          // red only
        {u"#12345", 0x053412},  // B is the one character left
        {u"#1234", 0x3412},
        {u"#123", 0x0312},       // G is the one character left
        {u"#GG00FF", 0xFF0000},  // not hexadecimal: that part reads 0
        {u"#1G0000", 1},         // read as far as it goes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorTextToValue(c.text), c.value) << ToUtf8(c.text);
    }
}

TEST(DescriptionRules, CalloutRect) {
    const struct {
        std::u16string_view text;
        CalloutLine line;
    } cases[] = {
        {u"", {0, 0, 0}},           {u"10", {10, 0, 0}},
        {u"10#20", {10, 20, 0}},    {u"10#20#30", {10, 20, 30}},
        {u"#5#", {0, 5, 0}},        {u"1#2#3#4", {1, 2, 3}},
        {u" 7x#-3#+4", {7, -3, 4}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCalloutRect(c.text), c.line) << ToUtf8(c.text);
    }
}

TEST(DescriptionRules, ButtonListRect) {
    const struct {
        int count;
        double scale;
        Rect rect;
    } cases[] = {
        {1, 1.0, {255, 170, 465, 425}},
        {6, 1.0, {255, 170, 465, 650}},
        {8, 1.0, {255, 170, 465, 740}},
        {0, 1.0, {255, 170, 465, 380}},
        // Each product truncated on its own: 15*0.5 = 7, 10*0.5 = 5, (15 + 15) * 3 = 90.
        {3, 0.5, {242, 125, 347, 420}},
        {2, 0.33, {237, 109, 306, 361}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ButtonListRect(c.count, c.scale), c.rect) << c.count << " at " << c.scale;
    }
}

}  // namespace
}  // namespace cursorial
