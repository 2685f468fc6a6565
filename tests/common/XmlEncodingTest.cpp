#include <gtest/gtest.h>

#include <string>

#include "XmlTestFiles.h"
#include "common/text/WideText.h"
#include "common/xml/CodePages.h"
#include "common/xml/XmlDocument.h"
#include "common/xml/XmlEncoding.h"

using namespace std::string_literals;

namespace cursorial {
namespace {

using testing::Hex;
using testing::ReadBytes;
using testing::TempXmlPath;
using testing::WriteBytes;

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string out;
    for (char16_t c : text) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

std::string Utf32(std::u32string_view text, bool bigEndian) {
    std::string out;
    for (char32_t c : text) {
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<char>(c >> (bigEndian ? 24 - 8 * k : 8 * k)));
    }
    return out;
}

std::string Declared(const char* encoding, const std::string& body) {
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\r\n" + body;
}

TEST(XmlEncoding, LoadFileDecodesEveryWayOfNamingAnEncoding) {
    struct Case {
        const char* label;
        std::string bytes;
        std::u16string expected;  // a part of the decoded text
    } cases[] = {
        {"utf-8 declared", Declared("UTF-8", "<r v=\"\xC3\xA9\xE2\x82\xAC\"/>"), u"v=\"é€\""},
        {"utf-8 mark", "\xEF\xBB\xBF<r v=\"\xC3\xA9\"/>", u"<r v=\"é\"/>"},
        {"utf-8 no declaration", "<r v=\"\xF0\x9F\x96\xB1\"/>", u"\U0001F5B1"},
        {"utf-16le mark", "\xFF\xFE" + Utf16(u"<r v=\"é\U0001F5B1\"/>", false), u"é\U0001F5B1"},
        {"utf-16be mark", "\xFE\xFF" + Utf16(u"<r v=\"é€\"/>", true), u"<r v=\"é€\"/>"},
        {"utf-16le no mark",
         Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r v=\"ж\"/>", false), u"v=\"ж\""},
        {"utf-32le declared",
         Utf32(U"<?xml version=\"1.0\" encoding=\"utf-32\"?><r v=\"\U0001F5B1\"/>", false),
         u"v=\"\U0001F5B1\""},
        {"utf-32be mark", "\x00\x00\xFE\xFF"s + Utf32(U"<r v=\"é\"/>", true), u"<r v=\"é\"/>"},
        // GB2312 converts as GBK: 0x81 0x40 (U+4E02) is outside GB2312 proper.
        {"gb2312", Declared("GB2312", "<r v=\"\xD6\xD0\xCE\xC4\x81\x40\"/>"), u"中文丂"},
        // Shift_JIS as code page 932: 0x87 0x40 (circled one) is a Windows extension.
        {"shift_jis", Declared("Shift_JIS", "<r v=\"\x93\xFA\x96\x7B\x87\x40\"/>"), u"日本①"},
        // EUC-KR as code page 949 (UHC): 0x81 0x41 is U+AC02.
        {"euc-kr", Declared("euc-kr", "<r v=\"\xC7\xD1\x81\x41\"/>"), u"한갂"},
        {"koi8-r", Declared("KOI8-R", "<r v=\"\xF0\xD2\xC9\xD7\xC5\xD4\"/>"), u"Привет"},
        {"windows-1252", Declared("windows-1252", "<r v=\"\x80\xE9\x9F\"/>"), u"€éŸ"},
        {"iso-8859-1", Declared("ISO-8859-1", "<r v=\"\x80\xE9\"/>"), u"\u0080é"},
        {"utf-7", Declared("utf-7", "<r v=\"+AOk-\"/>"), u"v=\"é\""},
        {"meta charset", "<html><head><meta charset=\"koi8-r\"/></head><body v=\"\xF0\"/></html>",
         u"v=\"П\""},
        {"meta http-equiv",
         "<html>\n<head>\n<title>t</title>\n<meta http-equiv=\"Content-Type\" "
         "content=\"text/html; charset=windows-1251\"/>\n</head><body v=\"\xCF\xF0\"/></html>",
         u"v=\"Пр\""},
        {"white space first, valid utf-8", "\r\n  <r v=\"\xC3\xA9\"/>", u"v=\"é\""},
        {"white space first, not utf-8: ansi", "\r\n  <r v=\"\xE9\x80\"/>", u"v=\"é€\""},
        {"unknown name: ansi", Declared("x-no-such", "<r v=\"\xE9\"/>"), u"v=\"é\""},
        {"utf-16 named in a byte file", Declared("UTF-16", "<r v=\"\xC3\xA9\"/>"), u"v=\"é\""},
    };
    const auto path = TempXmlPath("encoding.xml");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        XmlDocument doc;
        const bool loaded = doc.LoadFile(path);
        EXPECT_TRUE(loaded) << c.label << ": " << ToUtf8(doc.GetResult());
        EXPECT_NE(doc.GetText().find(c.expected), std::u16string::npos)
            << c.label << ": " << ToUtf8(doc.GetText()) << " | " << ToUtf8(doc.GetResult());
    }
}

TEST(XmlEncoding, SaveFileWritesTheDeclaredEncodingWithoutAMark) {
    struct Case {
        const char* encoding;
        std::u16string value;
        std::string bytes;  // the value's bytes in the file
    } cases[] = {
        {"UTF-8", u"é\U0001F5B1", "\xC3\xA9\xF0\x9F\x96\xB1"},
        {"windows-1252", u"€é", "\x80\xE9"},
        {"koi8-r", u"Привет", "\xF0\xD2\xC9\xD7\xC5\xD4"},
        {"shift_jis", u"日本", "\x93\xFA\x96\x7B"},
        {"gb2312", u"中文", "\xD6\xD0\xCE\xC4"},
        {"utf-7", u"é+~\U0001F5B1", "v=\"+AOkAKwB+2D3dsQ-\""},
        {"UTF-16", u"é", Utf16(u"é", false)},
        {"UTF-16BE", u"é", Utf16(u"é", true)},
        {"UTF-32", u"\U0001F5B1", Utf32(U"\U0001F5B1", false)},
    };
    const auto path = TempXmlPath("saved.xml");
    for (const Case& c : cases) {
        XmlDocument doc;
        doc.SetText(
            FromUtf8(std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding + "\"?>\r\n"));
        ASSERT_TRUE(doc.AddElement(u"r"));
        ASSERT_TRUE(doc.SetAttribute(u"v", c.value));
        ASSERT_TRUE(doc.SaveFile(path)) << c.encoding;
        const std::string written = ReadBytes(path);
        EXPECT_NE(written.find(c.bytes), std::string::npos) << c.encoding << ": " << Hex(written);
        for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
            EXPECT_NE(written.rfind(mark, 0), 0u)
                << c.encoding << ": " << Hex(written.substr(0, 8));
        }
        EXPECT_EQ(doc.GetResult().find(u"conversion_loss"), std::u16string::npos);

        XmlDocument back;
        ASSERT_TRUE(back.LoadFile(path)) << c.encoding << ": " << ToUtf8(back.GetResult());
        EXPECT_EQ(back.GetText(), doc.GetText()) << c.encoding;
    }
}

TEST(XmlEncoding, SaveFileNotesWhatTheCodePageCannotHold) {
    XmlDocument doc;
    doc.SetText(u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
    doc.AddElement(u"r");
    doc.SetAttribute(u"v", u"a€\U0001F5B1b");
    const auto path = TempXmlPath("lossy.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_NE(ReadBytes(path).find("v=\"a??b\""), std::string::npos) << Hex(ReadBytes(path));
    EXPECT_NE(doc.GetResult().find(u"<conversion_loss encoding=\"ISO-8859-1\" count=\"2\"/>"),
              std::u16string::npos)
        << ToUtf8(doc.GetResult());
}

TEST(XmlEncoding, NamesMapToCodePages) {
    struct Case {
        const char16_t* name;
        int codePage;
    } cases[] = {
        {u"utf-8", 65001},
        {u"UTF8", 65001},
        {u"unicode-2-0-utf-8", 65001},
        {u"utf-16", 1200},
        {u"UTF-16LE", 1200},
        {u"unicode", 1200},
        {u"ucs-2", 1200},
        {u"utf-16be", 1201},
        {u"unicodeFFFE", 1201},
        {u"utf-32", 12000},
        {u"utf-32le", 12000},
        {u"utf-32be", 12001},
        {u"Windows-1252", 1252},
        {u"cp1252", 1252},
        {u"iso-8859-1", 28591},
        {u"Latin1", 28591},
        {u"us-ascii", 20127},
        {u"ASCII", 20127},
        {u"GB2312", 936},
        {u"gbk", 936},
        {u"cp936", 936},
        {u"Shift_JIS", 932},
        {u"sjis", 932},
        {u"windows-31j", 932},
        {u"big5", 950},
        {u"ks_c_5601-1987", 949},
        {u"EUC-KR", 51949},
        {u"koi8-r", 20866},
        {u"utf-7", 65000},
        {u"iso-8859-8 visual", 28598},
        {u"", 0},
        {u"utf-8 ", 0},
        {u"utf", 0},
        {u"utf-88", 0},
        {u"\u00DCTF-8", 0},
        {u"utf\u20118", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(xml::CodePageFromName(c.name), c.codePage) << ToUtf8(c.name);
    }
    EXPECT_GE(xml::CodePageNames().size(), 365u);
}

TEST(XmlEncoding, EveryConvertedCodePageOpensInIconv) {
    int converted = 0;
    for (const xml::CodePageName& entry : xml::CodePageNames()) {
        const char* name = xml::IconvNameOf(entry.codePage);
        if (name == nullptr)
            continue;
        ++converted;
        EXPECT_TRUE(xml::Iconv("UTF-16LE", name).Ok()) << name;
        EXPECT_TRUE(xml::Iconv(name, "UTF-16LE").Ok()) << name;
        // Capitals and digits survive the round trip in every one of them (EBCDIC included).
        const std::u16string text = u"AZ09";
        size_t lost = 0;
        EXPECT_EQ(xml::DecodeBytes(xml::EncodeText(text, entry.codePage, &lost), entry.codePage),
                  text)
            << name;
        EXPECT_EQ(lost, 0u) << name;
    }
    EXPECT_GT(converted, 300);
}

TEST(XmlEncoding, OwnDecodersMatchIconvAndReplaceBadInput) {
    // Windows-1252 is decoded here (it is the fallback that must always work); compare with
    // iconv over every byte iconv defines.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::u16string ours = xml::DecodeBytes(all, xml::kCodePageWindows1252);
    ASSERT_EQ(ours.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            EXPECT_EQ(ours[b], b);  // undefined: the C1 control of the same value
            continue;
        }
        xml::Iconv cd("UTF-16LE", "CP1252");
        char in = static_cast<char>(b);
        char out[4];
        char* pin = &in;
        char* pout = out;
        size_t inLeft = 1, outLeft = sizeof out;
        ASSERT_NE(iconv(cd.Get(), &pin, &inLeft, &pout, &outLeft), static_cast<size_t>(-1));
        EXPECT_EQ(ours[b], static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1])
                                                                    << 8)
            << b;
    }
    EXPECT_EQ(
        xml::DecodeBytes(Utf32(U"a", false) + "\x00\xD8\x00\x00"s + "\x01", xml::kCodePageUtf32LE),
        u"a\uFFFD\uFFFD");
    EXPECT_EQ(xml::DecodeBytes("a\xFF\xFF"
                               "b",
                               932),
              u"a\uFFFD\uFFFDb");
    size_t lost = 0;
    EXPECT_EQ(
        xml::EncodeText(std::u16string(1, char16_t{0xDC00}) + u"x", xml::kCodePageUtf8, &lost),
        "\xEF\xBF\xBDx");
    EXPECT_EQ(lost, 1u);
}

}  // namespace
}  // namespace cursorial
