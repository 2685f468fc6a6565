#include "platform/Paths.h"

#include <gtest/gtest.h>

#include "TestFolders.h"
#include "platform/SystemLanguage.h"

namespace cursorial {
namespace {

using testing::ScopedEnv;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(PathsTest, FirstStartCreatesTheDataAndDatabaseFoldersBelowAMissingDataHome) {
    ScratchFolder scratch;
    ScopedEnv data_home("XDG_DATA_HOME", (scratch / "missing" / "share").c_str());
    EXPECT_EQ(ApplicationDataFolder(u"Cursorial"), scratch / "missing/share/Cursorial Files/");
    const auto db = DatabaseFolder(u"Cursorial");
    EXPECT_EQ(db, scratch / "missing/share/Cursorial Files/db");

    EXPECT_TRUE(CreateFolderTree(db));
    EXPECT_TRUE(std::filesystem::is_directory(db));
    EXPECT_TRUE(CreateFolderTree(db));                                   // already there
    EXPECT_TRUE(CreateFolderTree(ApplicationDataFolder(u"Cursorial")));  // trailing separator
}

TEST(PathsTest, CreateFolderTreeFailsWhenAFileIsInTheWay) {
    ScratchFolder scratch;
    WriteFile(scratch / "file", "x");
    EXPECT_FALSE(CreateFolderTree(scratch / "file"));
    EXPECT_FALSE(CreateFolderTree(scratch / "file" / "below"));
    EXPECT_FALSE(CreateFolderTree({}));
}

TEST(PathsTest, BaseFoldersIgnoreRelativeSettings) {
    ScratchFolder scratch;
    ScopedEnv home("HOME", scratch.Path().c_str());
    {
        ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
        ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(SettingsFolder(u"Cursorial"), scratch / ".config/Cursorial");
        EXPECT_EQ(ApplicationDataFolder(u"Cursorial"), scratch / ".local/share/Cursorial Files/");
    }
    ScopedEnv config("XDG_CONFIG_HOME", (scratch / "cfg").c_str());
    EXPECT_EQ(SettingsFolder(u"Cursorial"), scratch / "cfg/Cursorial");
}

TEST(PathsTest, ApplicationNameStaysOneFolderName) {
    EXPECT_EQ(AppFileName(u"Cursorial"), "Cursorial");
    EXPECT_EQ(AppFileName(u"Mäuse/Pro"), "Mäuse_Pro");
    EXPECT_EQ(AppFileName(u""), "_");
    EXPECT_EQ(AppFileName(u".."), "_");
    EXPECT_EQ(AppFileName(u"..."), "...");
}

TEST(PathsTest, ExecutableFolderPrefersTheFolderHoldingConfigXml) {
    ScratchFolder scratch;
    const auto bin = scratch / "prefix" / "bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(DataFolderForExecutableIn(bin), bin / "");  // neither: the executable's folder

    WriteFile(scratch / "prefix/share/cursorial/config.xml", "<config/>");
    EXPECT_EQ(DataFolderForExecutableIn(bin), scratch / "prefix/share/cursorial/");

    WriteFile(bin / "config.xml", "<config/>");
    EXPECT_EQ(DataFolderForExecutableIn(bin), bin / "");

    const auto self = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(ExecutableFolder(), DataFolderForExecutableIn(self));
}

TEST(SystemLanguageTest, MapsLocaleNamesToLanguageIds) {
    const struct {
        const char* locale;
        int id;
    } cases[] = {
        {"", 1033},
        {"C", 1033},
        {"POSIX", 1033},
        {"C.UTF-8", 1033},
        {"en_US.UTF-8", 1033},
        {"en_GB", 2057},
        {"de_DE.UTF-8", 1031},
        {"de_AT", 3079},
        {"de_DE@euro", 1031},
        {"de_BE", 1031},
        {"es_ES.UTF-8", 1034},
        {"es_MX", 2058},
        {"fr_FR", 1036},
        {"fr_CA", 3084},
        {"it_IT", 1040},
        {"ja_JP.eucJP", 1041},
        {"pl_PL", 1045},
        {"ru_RU.KOI8-R", 1049},
        {"vi_VN", 1066},
        {"pt_PT", 2070},
        {"pt_BR", 1046},
        {"zh_CN.GB2312", 2052},
        {"zh_SG", 2052},
        {"zh-Hans", 2052},
        {"zh_Hans_HK", 2052},
        {"zh", 2052},
        {"zh_TW.Big5", 1028},
        {"zh_HK", 1028},
        {"zh_MO", 1028},
        {"zh-Hant", 1028},
        {"zh_Hant_CN", 1028},
        {"sr_RS", 10266},
        {"sr_RS@latin", 9242},
        {"EN_us", 1033},
        {"xx_YY", 1033},
        {"tlh", 1033},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageIdFromLocale(c.locale), c.id) << c.locale;
}

TEST(SystemLanguageTest, TakesLcAllThenLcMessagesThenLang) {
    ScopedEnv lang("LANG", "de_DE.UTF-8");
    ScopedEnv messages("LC_MESSAGES", "fr_FR.UTF-8");
    {
        ScopedEnv all("LC_ALL", "ja_JP.UTF-8");
        EXPECT_EQ(SystemUiLanguage(), 1041);
    }
    ScopedEnv all("LC_ALL", "");
    EXPECT_EQ(SystemUiLanguage(), 1036);
    ScopedEnv no_messages("LC_MESSAGES", nullptr);
    EXPECT_EQ(SystemUiLanguage(), 1031);
    ScopedEnv no_lang("LANG", nullptr);
    EXPECT_EQ(SystemUiLanguage(), 1033);
}

}  // namespace
}  // namespace cursorial
