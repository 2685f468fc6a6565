#include "common/text/WideText.h"

#include <climits>

#include <gtest/gtest.h>

namespace cursorial {
namespace {

TEST(WideText, Utf8RoundTripIncludingSurrogatePairs) {
    const std::u16string text = u"Profil 配置 \U0001F5B1 é";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"配置"), "\xE9\x85\x8D\xE7\xBD\xAE");
}

TEST(WideText, MalformedInputIsReplacedNotDropped) {
    EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong NUL
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
    EXPECT_FALSE(IsValidUtf8("\xE9\x85"));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
}

TEST(WideText, TextToIntReadsTheLeadingNumber) {
    struct Case {
        const char16_t* text;
        int expected;
    } cases[] = {
        {u"", 0},       {u"abc", 0},          {u"42", 42},          {u"  -7x", -7},
        {u"+3", 3},     {u"12.5", 12},        {u"005", 5},          {u"2147483647", INT_MAX},
        {u"99999999999", INT_MAX},            {u"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToInt(std::u16string_view(c.text)), c.expected) << ToUtf8(c.text);
}

TEST(WideText, HexTextToIntReadsAsFarAsItGoes) {
    EXPECT_EQ(HexTextToInt(u"1209"), 0x1209);
    EXPECT_EQ(HexTextToInt(u"a1bZ"), 0xA1B);
    EXPECT_EQ(HexTextToInt(u"xyz"), 0);
}

TEST(WideText, FormatAndCaseHelpers) {
    EXPECT_EQ(FormatW("%s: v%s", "Version", "1.0.2"), u"Version: v1.0.2");
    EXPECT_EQ(Format("%X%02X", 1, 5), "105");
    EXPECT_TRUE(EqualsIgnoreAsciiCase(u"UTF-8", u"utf-8"));
    EXPECT_FALSE(EqualsIgnoreAsciiCase(u"utf-8", u"utf-16"));
    EXPECT_EQ(AsciiLower(u"ÉA"), u"Éa");
}

}  // namespace
}  // namespace cursorial
