#include <gtest/gtest.h>

#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"

namespace cursorial {
namespace {

TEST(XmlDocument, ReadsNestedElements) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(
        u"<?xml version=\"1.0\"?>\r\n<a><b n=\"1\"/><c n='2'><d n=\"x&#x41;\"/></c></a>"));
    ASSERT_TRUE(doc.FindElement(u"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"c"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"2");
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"d"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"xA");
}

}  // namespace
}  // namespace cursorial
