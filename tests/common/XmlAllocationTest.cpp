// How much the document allocates, and what it does when an allocation fails. This program
// replaces the global operator new, so it sees (and can refuse) every allocation.
#include <malloc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "XmlTestFiles.h"
#include "common/xml/XmlDocument.h"

namespace {

std::atomic<long> gFailAfter{-1};  // allocations to let through before one fails; -1: none fails
std::atomic<size_t> gLive{0};
std::atomic<size_t> gPeak{0};

}  // namespace

void* operator new(size_t size) {
    if (gFailAfter.load() >= 0 && gFailAfter.fetch_sub(1) == 0)
        throw std::bad_alloc();
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    const size_t live = gLive += malloc_usable_size(p);
    size_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void operator delete(void* p) noexcept {
    if (p == nullptr)
        return;
    gLive -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace cursorial {
namespace {

using testing::TempXmlPath;
using testing::WriteBytes;

// Bytes allocated at the highest point of `work`, beyond what was live before it.
template <typename Work>
size_t PeakDuring(Work work) {
    const size_t before = gLive.load();
    gPeak = before;
    work();
    return gPeak.load() - before;
}

TEST(XmlAllocation, TheIndexGrowsWithTheElementsFoundNotWithTheLessThanSigns) {
    const size_t count = 1 << 20;
    const std::u16string text = u"<r><!--" + std::u16string(count, u'<') + u"--></r>";
    XmlDocument doc;
    const size_t peak = PeakDuring([&] { EXPECT_TRUE(doc.SetText(text)); });
    // The document's own copy of the text, and little else.
    EXPECT_LT(peak, text.size() * sizeof(char16_t) + 64 * 1024);

    // Real elements still all get their records.
    std::u16string many = u"<r>";
    for (size_t i = 0; i < 100000; ++i)
        many += u"<a/>";
    many += u"</r>";
    ASSERT_TRUE(doc.SetText(many));
    ASSERT_TRUE(doc.FindElement(u"r"));
    ASSERT_TRUE(doc.EnterElement());
    size_t found = 0;
    while (doc.FindElement(u"a"))
        ++found;
    EXPECT_EQ(found, 100000u);
}

// Runs `attempt` with the n-th allocation failing, for n = 0, 1, ... until it runs without a
// failure; `check` looks at each outcome.
template <typename Attempt, typename Check>
void FailEachAllocationInTurn(Attempt attempt, Check check) {
    for (long n = 0;; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        gFailAfter = n;
        const bool result = attempt();
        const bool failed = gFailAfter.exchange(-1) < 0;
        check(result, failed);
        if (!failed || n > 100000)
            return;
    }
}

TEST(XmlAllocation, RunningOutOfMemoryFailsTheLoadAndLeavesAnEmptyDocument) {
    const auto path = TempXmlPath("allocation.xml");
    WriteBytes(path,
               "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<profile name=\"&#x41;\">\r\n"
               "<item a=\"1\"/>\r\n<item a=\"\xc4\xe3\"/>\r\n</profile>\r\n");
    XmlDocument doc;
    FailEachAllocationInTurn([&] { return doc.LoadFile(path); },
                             [&](bool loaded, bool failed) {
                                 EXPECT_EQ(loaded, !failed);
                                 if (!failed)
                                     return;
                                 EXPECT_TRUE(doc.GetText().empty());
                                 EXPECT_FALSE(doc.FindElement(u"profile"));
                                 EXPECT_NE(doc.GetResult().find(u"out_of_memory"),
                                           std::u16string::npos);
                             });
    ASSERT_TRUE(doc.FindElement(u"profile"));
    EXPECT_EQ(doc.GetAttribute(u"name"), u"A");

    FailEachAllocationInTurn([&] { return doc.SetText(u"<r><a b='&amp;'/></r>"); },
                             [&](bool set, bool failed) {
                                 EXPECT_EQ(set, !failed);
                                 if (failed) {
                                     EXPECT_TRUE(doc.GetText().empty());
                                 }
                             });
}

TEST(XmlAllocation, AnEditThatRunsOutOfMemoryLeavesTheTextAsItWas) {
    XmlDocument doc;
    doc.SetText(u"<?xml version=\"1.0\"?>\r\n");
    ASSERT_TRUE(doc.AddElement(u"profile"));
    const auto unchanged = [&](bool done, bool failed, const std::u16string& before) {
        EXPECT_EQ(done, !failed);
        if (failed) {
            EXPECT_EQ(doc.GetText(), before);
        }
    };
    for (int i = 0; i < 3; ++i) {
        std::u16string before = doc.GetText();
        FailEachAllocationInTurn([&] { return doc.SetAttribute(u"name", u"a<b>&c"); },
                                 [&](bool done, bool failed) { unchanged(done, failed, before); });
        ASSERT_TRUE(doc.EnterElement());
        before = doc.GetText();
        FailEachAllocationInTurn([&] { return doc.AddElement(u"item"); },
                                 [&](bool done, bool failed) { unchanged(done, failed, before); });
    }
    EXPECT_EQ(doc.GetText(),
              u"<?xml version=\"1.0\"?>\r\n"
              u"<profile name=\"a&lt;b&gt;&amp;c\">\r\n"
              u"<item name=\"a&lt;b&gt;&amp;c\">\r\n"
              u"<item name=\"a&lt;b&gt;&amp;c\">\r\n"
              u"<item/>\r\n"
              u"</item>\r\n"
              u"</item>\r\n"
              u"</profile>\r\n");
    // The text and the index still agree: the document reads back as it was built.
    XmlDocument reread;
    ASSERT_TRUE(reread.SetText(doc.GetText()));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetAttribute(u"name"), u"a<b>&c");
}

}  // namespace
}  // namespace cursorial
