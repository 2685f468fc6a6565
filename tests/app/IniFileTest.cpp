#include "app/IniFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TestFolders.h"
#include "common/text/WideText.h"

namespace cursorial {
namespace {

struct IniCase {
    const char* name;
    std::string file;  // UTF-8 bytes
    std::u16string_view section;
    std::u16string_view key;
    std::optional<std::u16string_view> expected;
};

TEST(IniFileTest, LooksUpValuesAsTheProfileReaderDoes) {
    using std::nullopt;
    const IniCase cases[] = {
        {"plain", "[LAN]\n5=Close\n", u"LAN", u"5", u"Close"},
        {"leading zeros are another key", "[LAN]\n5=Close\n", u"LAN", u"005", nullopt},
        {"key 005 is not 5", "[LAN]\n005=Zero\n", u"LAN", u"5", nullopt},
        {"case of names", "[lan]\nKey=v\n", u"LAN", u"kEY", u"v"},
        {"blank around everything", "  [ LAN ]  \r\n \t5 =  Close  \r\n", u"LAN", u"5", u"Close"},
        {"double quotes", "[LAN]\n5=\"Close\"\n", u"LAN", u"5", u"Close"},
        {"single quotes", "[LAN]\n5=  'Close'  \n", u"LAN", u"5", u"Close"},
        {"quotes must match", "[LAN]\n5=\"Close'\n", u"LAN", u"5", u"\"Close'"},
        {"one pair only", "[LAN]\n5=\"a\" b\"\n", u"LAN", u"5", u"a\" b"},
        {"a lone quote stays", "[LAN]\n5=\"\n", u"LAN", u"5", u"\""},
        {"empty quotes", "[LAN]\n5=\"\"\n", u"LAN", u"5", u""},
        {"comment lines", "[LAN]\n;5=Hidden\n  ; 5=Hidden\n5=Shown\n", u"LAN", u"5", u"Shown"},
        {"a semicolon inside a value stays", "[LAN]\n5=a ; b\n", u"LAN", u"5", u"a ; b"},
        {"first duplicate key wins", "[LAN]\n5=First\n5=Second\n", u"LAN", u"5", u"First"},
        {"only the first section of a name", "[LAN]\n1=a\n[LAN]\n5=later\n", u"LAN", u"5", nullopt},
        {"other sections", "[OTHER]\n5=x\n[LAN]\n6=y\n", u"LAN", u"5", nullopt},
        {"keys before any section", "5=x\n[LAN]\n", u"LAN", u"5", nullopt},
        {"missing section", "[LAN]\n5=x\n", u"DEV", u"5", nullopt},
        {"key without =", "[LAN]\n5\n5=x\n", u"LAN", u"5", u""},
        {"empty value", "[LAN]\n5=\n", u"LAN", u"5", u""},
        {"= inside the value", "[LAN]\n5=a=b\n", u"LAN", u"5", u"a=b"},
        {"CR line ends", "[LAN]\r5=Close\r6=Six", u"LAN", u"6", u"Six"},
        {"section without ]", "[LAN\n5=x\n", u"LAN", u"5", u"x"},
        {"UTF-8 mark", "\xEF\xBB\xBF[LAN]\n5=\xE5\x85\xB3\xE9\x97\xAD\n", u"LAN", u"5", u"关闭"},
        {"bytes that are not UTF-8", "[LAN]\n5=a\xFF\n", u"LAN", u"5", u"a\uFFFD"},
        {"empty file", "", u"LAN", u"5", nullopt},
    };
    for (const auto& c : cases) {
        const auto value = FindIniValue(DecodeIniText(c.file), c.section, c.key);
        if (!c.expected) {
            EXPECT_EQ(value, nullopt) << c.name << ": got '" << ToUtf8(value.value_or(u"")) << "'";
        } else {
            EXPECT_EQ(value, std::u16string(*c.expected)) << c.name;
        }
    }
}

TEST(IniFileTest, ReadsUtf16WithItsByteOrderMark) {
    const std::u16string text = u"[LAN]\r\n5=关闭 😀\r\n";
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    for (char16_t unit : text) {
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit & 0xFF);
    }
    EXPECT_EQ(DecodeIniText(little), text);
    EXPECT_EQ(DecodeIniText(big), text);
    EXPECT_EQ(FindIniValue(DecodeIniText(little), u"LAN", u"5"), u"关闭 😀");
    // An odd trailing byte is not half a character.
    EXPECT_EQ(DecodeIniText(little + "x"), text);
}

TEST(IniFileTest, FilesThatCannotBeReadHaveNoValues) {
    testing::ScratchFolder scratch;
    EXPECT_EQ(ReadIniValue(scratch / "absent.lan", u"LAN", u"5"), std::nullopt);
    EXPECT_EQ(ReadIniValue(scratch.Path(), u"LAN", u"5"), std::nullopt);  // a folder
    testing::WriteFile(scratch / "1033.lan", "[LAN]\n5=Close\n");
    EXPECT_EQ(ReadIniValue(scratch / "1033.lan", u"LAN", u"5"), u"Close");
}

}  // namespace
}  // namespace cursorial
