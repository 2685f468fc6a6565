#include "common/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

#include "XmlTestFiles.h"
#include "common/text/WideText.h"

namespace cursorial {
namespace {

using testing::Hex;
using testing::ReadBytes;
using testing::TempXmlPath;
using testing::WriteBytes;

constexpr char16_t kDeclaration[] = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

bool Contains(const std::u16string& text, std::u16string_view part) {
    return text.find(part) != std::u16string::npos;
}

TEST(XmlDocument, WritesTheExactFourLineFile) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(kDeclaration));  // no root element yet
    ASSERT_TRUE(doc.AddElement(u"profile"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"item"));
    ASSERT_TRUE(doc.SetAttribute(u"name", u"Profile 1"));
    ASSERT_TRUE(doc.SetAttribute(u"index", 3));
    EXPECT_TRUE(doc.IsWellFormed());

    const auto path = TempXmlPath("four_lines.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<profile>\r\n"
        "<item name=\"Profile 1\" index=\"3\"/>\r\n"
        "</profile>\r\n";
    const std::string written = ReadBytes(path);
    EXPECT_EQ(written, expected) << Hex(written);
}

TEST(XmlDocument, BuildsNestedElementsLineByLine) {
    XmlDocument doc;
    doc.SetText(kDeclaration);
    ASSERT_TRUE(doc.AddElement(u"root"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"a"));
    ASSERT_TRUE(doc.SetAttribute(u"v", u"x"));
    ASSERT_TRUE(doc.SetAttribute(u"v", u"second"));  // replaced, not added
    ASSERT_TRUE(doc.AddElement(u"c"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"d"));
    ASSERT_TRUE(doc.SetAttribute(u"n", -4));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.AddElement(u"e"));  // after c's end tag
    EXPECT_EQ(ToUtf8(doc.GetText()),
              ToUtf8(std::u16string(kDeclaration) +
                     u"<root>\r\n<a v=\"second\"/>\r\n<c>\r\n<d n=\"-4\"/>\r\n</c>\r\n<e/>\r\n"
                     u"</root>\r\n"));
    EXPECT_TRUE(doc.IsWellFormed());
}

TEST(XmlDocument, AddsElementsToLoadedElementsOfEveryShape) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.SetText(u"<r>\r\n<a/>\r\n<c>\r\n<d n=\"1\"/>\r\n</c>\r\n<e a=\"1\" /><p></p></r>"));
    ASSERT_TRUE(doc.FindElement(u"r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"a"));
    ASSERT_TRUE(doc.AddElement(u"b"));  // after the main position: between a and c
    ASSERT_TRUE(doc.SetAttribute(u"v", u"x"));
    ASSERT_TRUE(doc.FindElement(u"e"));
    ASSERT_TRUE(doc.SetAttribute(u"b", u"2"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"x"));  // "<e .../>" becomes a start tag and an end tag
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetAttribute(u"a"), u"1");
    EXPECT_EQ(doc.GetAttribute(u"b"), u"2");
    ASSERT_TRUE(doc.FindElement(u"p"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"y"));  // into "<p></p>"
    ASSERT_TRUE(doc.SetAttribute(u"k", u"v"));
    EXPECT_EQ(ToUtf8(doc.GetText()),
              "<r>\r\n<a/>\r\n<b v=\"x\"/>\r\n<c>\r\n<d n=\"1\"/>\r\n</c>\r\n"
              "<e a=\"1\" b=\"2\" >\r\n<x/>\r\n</e><p>\r\n<y k=\"v\"/>\r\n</p></r>");
    EXPECT_TRUE(doc.IsWellFormed());

    // The live index, shifted by every edit above, agrees with a fresh parse of the text.
    XmlDocument fresh;
    ASSERT_TRUE(fresh.SetText(doc.GetText()));
    ASSERT_TRUE(fresh.FindElement(u"r"));
    ASSERT_TRUE(fresh.EnterElement());
    ASSERT_TRUE(fresh.FindElement(u"b"));
    EXPECT_EQ(fresh.GetAttribute(u"v"), u"x");
    ASSERT_TRUE(fresh.FindElement(u"p"));
    ASSERT_TRUE(fresh.EnterElement());
    ASSERT_TRUE(fresh.FindElement(u"y"));
    for (XmlDocument* x : {&doc, &fresh}) {
        EXPECT_EQ(x->GetAttribute(u"k"), u"v");
        ASSERT_TRUE(x->LeaveElement());
        ASSERT_TRUE(x->LeaveElement());  // on r
        EXPECT_FALSE(x->LeaveElement());
    }
}

TEST(XmlDocument, FirstChildOfATagWithAStraySlashKeepsItAStartTag) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(u"<r a//>"));
    ASSERT_TRUE(doc.FindElement(u"r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"c"));
    EXPECT_EQ(ToUtf8(doc.GetText()), "<r a/ >\r\n<c/>\r\n</r>");
    XmlDocument again;
    EXPECT_TRUE(again.SetText(doc.GetText()));
}

TEST(XmlDocument, SetsAttributesBesideOddlyWrittenOnes) {
    // Files from elsewhere may hold attributes without quotes or values; a new or replaced
    // attribute must still read back, and the old ones keep theirs.
    struct Case {
        const char16_t* tag;
        const char16_t* oldValue;
    } cases[] = {
        {u"<r a=>", u""},           {u"<r a= >", u""},    {u"<r a>", u""},
        {u"<r a=b>", u"b"},         {u"<r a=b/>", u"b/"}, {u"<r a = \"1\" />", u"1"},
        {u"<r a='x\"y'>", u"x\"y"},
    };
    for (const Case& c : cases) {
        const bool empty = std::u16string_view(c.tag).ends_with(u" />");
        XmlDocument doc;
        ASSERT_TRUE(doc.SetText(std::u16string(c.tag) + (empty ? u"" : u"</r>"))) << ToUtf8(c.tag);
        ASSERT_TRUE(doc.FindElement(u"r"));
        ASSERT_TRUE(doc.SetAttribute(u"n", u"new"));
        EXPECT_EQ(doc.GetAttribute(u"n"), u"new") << ToUtf8(doc.GetText());
        EXPECT_EQ(doc.GetAttribute(u"a"), c.oldValue) << ToUtf8(doc.GetText());
        ASSERT_TRUE(doc.SetAttribute(u"a", u"x"));
        EXPECT_EQ(doc.GetAttribute(u"a"), u"x") << ToUtf8(doc.GetText());
        EXPECT_EQ(doc.GetAttribute(u"n"), u"new") << ToUtf8(doc.GetText());
        XmlDocument again;
        EXPECT_TRUE(again.SetText(doc.GetText())) << ToUtf8(doc.GetText());
    }
}

TEST(XmlDocument, RefusesNamesThatWouldBreakTheText) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(u"<r/>"));
    EXPECT_FALSE(doc.SetAttribute(u"a", u"1"));  // no main position
    ASSERT_TRUE(doc.FindElement(u"r"));
    EXPECT_FALSE(doc.SetAttribute(u"a b", u"1"));
    EXPECT_FALSE(doc.SetAttribute(u"", u"1"));
    EXPECT_FALSE(doc.AddElement(u"1x"));
    EXPECT_FALSE(doc.AddElement(u"a/>"));
    EXPECT_EQ(doc.GetText(), u"<r/>");
}

TEST(XmlDocument, EscapesAttributeValuesAndReadsThemBack) {
    XmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement(u"m");
    const std::u16string value = u"a<b & 'c'>\"d\"";
    ASSERT_TRUE(doc.SetAttribute(u"v", value));
    EXPECT_TRUE(Contains(doc.GetText(), u"v=\"a&lt;b &amp; &apos;c&apos;&gt;&quot;d&quot;\""));

    const auto path = TempXmlPath("escaped.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    XmlDocument back;
    ASSERT_TRUE(back.LoadFile(path));
    ASSERT_TRUE(back.FindElement(u"m"));
    EXPECT_EQ(back.GetAttribute(u"v"), value);
}

TEST(XmlDocument, DecodesCharacterReferences) {
    struct Case {
        const char16_t* raw;
        const char16_t* decoded;
    } cases[] = {
        {u"&#x41;", u"A"},
        {u"&#65;", u"A"},
        {u"&#X41;&#x6a;", u"Aj"},
        {u"&amp;", u"&"},
        {u"&lt;&gt;&quot;&apos;", u"<>\"'"},
        {u"&nosuch;", u"&nosuch;"},
        {u"&#0;", u"&#0;"},
        {u"&#x1F5B1;", u"\U0001F5B1"},
        {u"&#xD800;", u"&#xD800;"},      // would be a lone surrogate
        {u"&#x110000;", u"&#x110000;"},  // beyond Unicode
        {u"&#99999999999999;", u"&#99999999999999;"},
        {u"&#;&#x;&;", u"&#;&#x;&;"},
        {u"a & b &amp c", u"a & b &amp c"},
        {u"&eacute;&Eacute;&euro;&thetasym;", u"éÉ€ϑ"},
        {u"&dagger;&Dagger;&larr;&lArr;", u"†‡←⇐"},
        {u"&AMP;&NBSP;", u"&\u00A0"},  // case-folded fallback, unambiguous names only
        {u"&EACUTE;", u"&EACUTE;"},    // could be either É or é
        {u"&abcdefghij;", u"&abcdefghij;"},
        // Leading zeros do not count towards a reference's length.
        {u"&#0000000000000000000065;&#x00000000000000000041;", u"AA"},
        {u"&#x00000010FFFF;", u"\U0010FFFF"},
        {u"&#00000000000000;", u"&#00000000000000;"},
        {u"&#000000000001114112;", u"&#000000000001114112;"},  // still beyond Unicode
        {u"&#x0000000123456789;", u"&#x0000000123456789;"},    // too long and beyond Unicode
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.SetText(u"<r v=\"" + std::u16string(c.raw) + u"\"/>"));
        ASSERT_TRUE(doc.FindElement(u"r"));
        EXPECT_EQ(ToUtf8(doc.GetAttribute(u"v")), ToUtf8(c.decoded)) << ToUtf8(c.raw);
    }
}

TEST(XmlDocument, FindElementWalksSiblingsFromTheMainPosition) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.SetText(u"<?xml version=\"1.0\"?>\r\n<!-- lead -->\r\n<r>\r\n<i "
                    u"n=\"1\"/><j/><![CDATA[<i n=\"x\"/>]]>"
                    u"<!-- <i n=\"y\"/> --><?pi <i?><i n=\"2\"><k/></i><i n='3'/></r>"));
    EXPECT_FALSE(doc.EnterElement());  // no main position yet
    EXPECT_FALSE(doc.LeaveElement());  // already at the top
    EXPECT_EQ(doc.GetAttribute(u"n"), u"");
    ASSERT_TRUE(doc.FindElement(u"r"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindElement(u"k"));  // only siblings, not grandchildren
    ASSERT_TRUE(doc.FindElement(u"i"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"1");
    ASSERT_TRUE(doc.FindElement(u"i"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"2");
    ASSERT_TRUE(doc.FindElement(u"i"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"3");
    EXPECT_FALSE(doc.FindElement(u"i"));
    EXPECT_FALSE(doc.FindElement(u"j"));  // only after the main position
    EXPECT_FALSE(doc.FindElement(u"I"));  // case-sensitive
    EXPECT_EQ(doc.GetAttribute(u"n"), u"3");
    EXPECT_EQ(doc.GetAttribute(u"m"), u"");
    ASSERT_TRUE(doc.EnterElement());  // no children: nothing to find, but entering works
    EXPECT_FALSE(doc.FindElement(u"k"));
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetAttribute(u"n"), u"3");
    ASSERT_TRUE(doc.LeaveElement());  // back on r
    ASSERT_TRUE(doc.EnterElement());  // resumes at the child that was current: i n=3
    EXPECT_EQ(doc.GetAttribute(u"n"), u"3");
    EXPECT_FALSE(doc.FindElement(u"i"));
}

TEST(XmlDocument, ReportsIllFormedInput) {
    struct Case {
        const char16_t* text;
        const char16_t* note;
    } cases[] = {
        {u"", u"<no_root_element/>"},
        {u"<?xml version=\"1.0\"?>\r\n", u"<no_root_element/>"},
        {u"<a/><b/>", u"<root_has_sibling tagname=\"b\""},
        {u"<a></b></a>", u"<lone_end_tag tagname=\"b\""},
        {u"<a></a></a>", u"<lone_end_tag tagname=\"a\""},
        {u"<a><b></a>", u"<unended_start_tag tagname=\"b\""},
        {u"<a><b>", u"<unended_start_tag tagname=\"b\""},
        {u"<a>< b/></a>", u"<first_tag_syntax"},
        {u"<a></ a></a>", u"<first_tag_syntax"},
        {u"<a", u"type=\"start_tag\""},
        {u"<a b=\"x/>", u"type=\"start_tag\""},
        {u"<a></a", u"type=\"end_tag\""},
        {u"<a></a x>", u"type=\"end_tag\""},
        {u"<a/><", u"type=\"tag\""},
        {u"<a/><!-- x", u"type=\"comment\""},
        {u"<a><![CDATA[x", u"type=\"cdata_section\""},
        {u"<a/><?pi", u"type=\"processing_instruction\""},
        {u"<!DOCTYPE a [ <!ENTITY e \">\"> <a/>", u"type=\"document_type\""},
        {u"<a><!-x--></a>", u"<comment_tag_syntax"},
        {u"<a><![CDAT[x]]></a>", u"<cdata_section_syntax"},
        {u"<![CDATA[x]]><a/>", u"<cdata_section_syntax"},
        {u"<a/><!DOCTYPE a>", u"<doctype_tag_syntax"},
        {u"<!DOCTYP a><a/>", u"<doctype_tag_syntax"},
        {u"<a><!foo></a>", u"<exclamation_tag_syntax"},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        EXPECT_FALSE(doc.SetText(c.text)) << ToUtf8(c.text);
        EXPECT_FALSE(doc.IsWellFormed());
        EXPECT_TRUE(Contains(doc.GetResult(), c.note))
            << ToUtf8(c.text) << " -> " << ToUtf8(doc.GetResult());
    }
}

TEST(XmlDocument, AcceptsTheConstructsNavigationSkips) {
    XmlDocument doc;
    EXPECT_TRUE(doc.SetText(
        u"\uFEFF<?xml version=\"1.0\"?>\n<!DOCTYPE r [ <!ENTITY e \"a>b\"> <!-- ]> --> ]>\n"
        u"<r t=\"x>y\" u='\"' w = \"1\"><![CDATA[</r>]]><!-- </r> --><s/></r>\n<!-- end -->\n"));
    EXPECT_EQ(doc.GetResult(), u"");
    ASSERT_TRUE(doc.FindElement(u"r"));
    EXPECT_EQ(doc.GetAttribute(u"t"), u"x>y");
    EXPECT_EQ(doc.GetAttribute(u"u"), u"\"");
    EXPECT_EQ(doc.GetAttribute(u"w"), u"1");
}

TEST(XmlDocument, LoadFileReadsAndRejects) {
    XmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(TempXmlPath("does_not_exist.xml")));
    EXPECT_TRUE(Contains(doc.GetResult(), u"<file_error"));
    EXPECT_EQ(doc.GetText(), u"");
    EXPECT_FALSE(doc.LoadFile(std::filesystem::path(::testing::TempDir())));  // a folder

    const auto path = TempXmlPath("roots.xml");
    WriteBytes(path, "<a/><b/>");
    EXPECT_FALSE(doc.LoadFile(path));
    ASSERT_TRUE(doc.FindElement(u"b"));  // what was indexed can still be read
    WriteBytes(path, "<a></x></a>");
    EXPECT_FALSE(doc.LoadFile(path));
    WriteBytes(path, "<a x=\"1\"></a>");
    EXPECT_TRUE(doc.LoadFile(path));
}

TEST(XmlDocument, SaveFileReportsFailures) {
    XmlDocument doc;
    doc.SetText(u"<r/>");
    EXPECT_FALSE(doc.SaveFile(TempXmlPath("no_such_folder") / "x.xml"));
    EXPECT_TRUE(Contains(doc.GetResult(), u"<file_error"));
    if (std::filesystem::exists("/dev/full")) {
        // The write lands in the stdio buffer; the failure shows when the file is closed.
        EXPECT_FALSE(doc.SaveFile("/dev/full"));
    }
}

TEST(XmlDocument, NotesStopGrowingPastTheCap) {
    std::u16string text = u"<r>";
    for (int i = 0; i < 2000; ++i)
        text += u"</stray>";
    text += u"</r>";
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    EXPECT_GT(doc.GetResult().size(), 999u);
    EXPECT_LT(doc.GetResult().size(), 999u + 200u);
}

TEST(XmlDocument, SurvivesHostileShapes) {
    // Deep nesting, never closed: no recursion, every element indexed.
    std::u16string deep;
    for (int i = 0; i < 200000; ++i)
        deep += u"<a>";
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(deep));
    int depth = 0;
    while (doc.FindElement(u"a") && doc.EnterElement())
        ++depth;
    EXPECT_EQ(depth, 200000);

    // Many attributes and end tags that close nothing.
    std::u16string wide = u"<r";
    for (int i = 0; i < 50000; ++i)
        wide += u" a" + IntToText(i) + u"=\"" + IntToText(i) + u"\"";
    wide += u">";
    for (int i = 0; i < 50000; ++i)
        wide += u"<b></c>";
    EXPECT_FALSE(doc.SetText(wide));
    ASSERT_TRUE(doc.FindElement(u"r"));
    EXPECT_EQ(doc.GetAttribute(u"a49999"), u"49999");
}

}  // namespace
}  // namespace cursorial
