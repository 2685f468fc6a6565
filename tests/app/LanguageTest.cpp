#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TestFolders.h"
#include "app/AppConfig.h"
#include "app/LanguageChoice.h"
#include "app/LanguageTexts.h"
#include "app/ProgramSettings.h"
#include "common/text/WideText.h"

namespace cursorial {
namespace {

using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

// A data folder with language files whose text 5 names the language, and a settings key.
class LanguageFixture : public ::testing::Test {
protected:
    LanguageFixture() : settings_(scratch_ / "config" / "Cursorial"), texts_(scratch_ / "bin") {
        WriteFile(scratch_ / "bin/language/1033.lan", "[LAN]\n5=Close\n");
        WriteFile(scratch_ / "bin/language/1031.lan", "[LAN]\n5=Schließen\n");
        WriteFile(scratch_ / "bin/language/2052.lan", "\xEF\xBB\xBF[LAN]\r\n5=关闭\r\n");
    }
    std::optional<std::string> StoredLanguage() const { return settings_.ReadText("LCID"); }

    ScratchFolder scratch_;
    KeyValueStore settings_;
    LanguageTexts texts_;
};

TEST_F(LanguageFixture, ChoiceAtStartUp) {
    const struct {
        const char* name;
        std::optional<int> stored;
        std::set<int> available;
        int system;
        int chosen;
        std::u16string_view text5;
    } cases[] = {
        {"first start on a German system with 1031 listed",
         {},
         {1031, 1033},
         1031,
         1031,
         u"Schließen"},
        {"first start, system language not listed", {}, {1033, 2052}, 1049, 1033, u"Close"},
        {"stored 1049 no longer listed", 1049, {1033, 2052}, 1031, 1033, u"Close"},
        {"stored and listed", 2052, {1033, 2052}, 1031, 2052, u"关闭"},
        {"nothing listed", {}, {}, 1033, 1033, u"Close"},
        {"stored, nothing listed", 2052, {}, 2052, 1033, u"Close"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(settings_.Folder());
        if (c.stored) {
            std::filesystem::create_directories(settings_.Folder());
            ASSERT_TRUE(settings_.WriteNumber("LCID", *c.stored));
        }
        texts_.SetCurrentLanguage(c.available.empty() ? 0 : *c.available.begin());
        // cursorialctl's view of the same rule stores nothing.
        const std::optional<std::string> before = StoredLanguage();
        EXPECT_EQ(ShownLanguage(settings_, c.available, c.system), c.chosen) << c.name;
        EXPECT_EQ(StoredLanguage(), before) << c.name;
        EXPECT_EQ(ChooseLanguage(texts_, settings_, c.available, c.system), c.chosen) << c.name;
        EXPECT_EQ(texts_.CurrentLanguage(), c.chosen) << c.name;
        EXPECT_EQ(StoredLanguage(), std::to_string(c.chosen)) << c.name;
        EXPECT_EQ(texts_.Text(5), c.text5) << c.name;
    }
}

// A settings key that cannot be opened reads as 2052 and takes no writes.
TEST_F(LanguageFixture, ChoiceWithAnUnreachableSettingsKey) {
    WriteFile(scratch_ / "file", "x");
    const KeyValueStore blocked(scratch_ / "file" / "Cursorial");
    EXPECT_EQ(ReadLanguageValue(blocked), 2052);
    EXPECT_EQ(ChooseLanguage(texts_, blocked, {1033, 2052}, 1031), 2052);
    EXPECT_EQ(ChooseLanguage(texts_, blocked, {1033, 1031}, 1031), 1033);
    EXPECT_EQ(ReadFile(scratch_ / "file"), "x");
}

TEST_F(LanguageFixture, SetLanguageStoresItAndTheNextTextFollows) {
    std::filesystem::create_directories(settings_.Folder());
    texts_.SetCurrentLanguage(1033);
    EXPECT_EQ(texts_.Text(5), u"Close");
    SetLanguage(texts_, settings_, 1031);
    EXPECT_EQ(texts_.CurrentLanguage(), 1031);
    EXPECT_EQ(StoredLanguage(), "1031");
    EXPECT_EQ(texts_.Text(5), u"Schließen");
}

TEST_F(LanguageFixture, ProgramValuesCreateTheKeyOnlyForTheirOwnReaders) {
    EXPECT_EQ(ReadProgramValue(settings_, "DeviceType"), 0);
    EXPECT_FALSE(std::filesystem::exists(settings_.Folder()));
    WriteProgramValue(settings_, kExitModeValueName, 1);  // no key yet: dropped silently
    EXPECT_EQ(ReadProgramValue(settings_, kExitModeValueName), 0);
    EXPECT_TRUE(std::filesystem::is_directory(settings_.Folder()));
    WriteProgramValue(settings_, kExitModeValueName, 1);
    EXPECT_EQ(ReadProgramValue(settings_, kExitModeValueName), 1);
}

TEST_F(LanguageFixture, EveryLookupReadsTheFileAnew) {
    texts_.SetCurrentLanguage(1033);
    EXPECT_EQ(texts_.LangText(u"LAN", 5), u"Close");
    WriteFile(scratch_ / "bin/language/1033.lan", "[LAN]\n5=Shut\n");
    EXPECT_EQ(texts_.LangText(u"LAN", 5), u"Shut");
    std::filesystem::remove(scratch_ / "bin/language/1033.lan");
    EXPECT_EQ(texts_.LangText(u"LAN", 5), u"");
    texts_.SetCurrentLanguage(1041);  // no such file
    EXPECT_EQ(texts_.Text(5), u"");
    EXPECT_EQ(texts_.CurrentFile(), scratch_ / "bin/language/1041.lan");
}

TEST_F(LanguageFixture, LongTextsAreCutTo259Units) {
    const std::string long_text(300, 'x');
    const std::string emoji_at_the_cut = std::string(258, 'a') + "\xF0\x9F\x98\x80" + "tail";
    WriteFile(scratch_ / "bin/language/1033.lan", "[LAN]\n1=" + long_text +
                                                      "\n2=" + std::string(259, 'y') +
                                                      "\n3=" + emoji_at_the_cut + "\n");
    texts_.SetCurrentLanguage(1033);
    EXPECT_EQ(texts_.Text(1), std::u16string(259, u'x'));
    EXPECT_EQ(texts_.Text(2), std::u16string(259, u'y'));
    EXPECT_EQ(texts_.Text(3), std::u16string(258, u'a'));  // never half a character
}

TEST(AppConfigTest, ReadsLanguagesAndName) {
    ScratchFolder scratch;
    WriteFile(scratch / "config.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
              "  <language.info default_lan=\"2052\">\n"
              "    <lan value=\"2052\"/><other value=\"7\"/><lan value=\"1031\"/>\n"
              "    <lan value=\"2052\"/><lan value=\"1033\"/>\n"
              "  </language.info>\n"
              "  <device><mouse name=\"m\"/></device>\n"
              "  <software caption=\"Mouse Studio\" version=\"1.0\"/>\n"
              "</config>\n");
    AppConfig config;
    config.languages = {9999};
    ASSERT_TRUE(ReadAppConfig(scratch / "config.xml", config));
    EXPECT_EQ(config.languages, (std::set<int>{1031, 1033, 2052}));
    EXPECT_EQ(config.default_language, 2052);
    EXPECT_EQ(config.application_name, u"Mouse Studio");
}

TEST(AppConfigTest, FilesWithoutWhatIsSought) {
    ScratchFolder scratch;
    const struct {
        const char* name;
        const char* xml;  // nullptr: no file
        bool read;
        std::set<int> languages;
        std::u16string_view app_name;
    } cases[] = {
        {"no file", nullptr, false, {}, u"Cursorial"},
        {"two roots", "<config/><config/>", false, {}, u"Cursorial"},
        {"unclosed", "<config><language.info><lan value=\"1033\"/>", false, {}, u"Cursorial"},
        {"another root", "<settings><software caption=\"X\"/></settings>", false, {}, u"Cursorial"},
        {"no language list", "<config><software caption=\"X\"/></config>", true, {}, u"X"},
        {"software before the language list",
         "<config><software caption=\"X\"/><language.info><lan value=\"1033\"/></language.info>"
         "</config>",
         true,
         {1033},
         u"Cursorial"},
        {"empty caption", "<config><software caption=\"\"/></config>", true, {}, u"Cursorial"},
        {"no caption", "<config><software/></config>", true, {}, u"Cursorial"},
    };
    for (const auto& c : cases) {
        const auto file = scratch / "config.xml";
        std::filesystem::remove(file);
        if (c.xml != nullptr)
            WriteFile(file, c.xml);
        AppConfig config;
        config.languages = {1049};
        EXPECT_EQ(ReadAppConfig(file, config), c.read) << c.name;
        EXPECT_EQ(config.languages, c.languages) << c.name;
        EXPECT_EQ(config.application_name, c.app_name) << c.name;
    }
}

TEST(AppConfigTest, ShippedCatalogueNamesTheProgramAndEnglish) {
    AppConfig config;
    ASSERT_TRUE(ReadAppConfig(CURSORIAL_SOURCE_DIR "/data/config.xml", config));
    EXPECT_EQ(config.application_name, u"Cursorial");
    EXPECT_TRUE(config.languages.contains(1033));
}

TEST(LanguageNamesTest, OffersListedLanguagesInTableOrder) {
    ASSERT_EQ(kLanguageNames.size(), 12u);
    EXPECT_EQ(kLanguageNames[4].name, u"Españo");
    EXPECT_EQ(kLanguageNames[7].name, u"日本語にほんご");
    EXPECT_EQ(kLanguageNames[11].id, 2070);

    const auto offered = OfferedLanguages({1041, 9999, 1033, 2052});
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0].id, 2052);
    EXPECT_EQ(offered[0].name, u"简体中文");
    EXPECT_EQ(offered[1].id, 1033);
    EXPECT_EQ(offered[2].id, 1041);
    EXPECT_TRUE(OfferedLanguages({}).empty());
}

}  // namespace
}  // namespace cursorial
