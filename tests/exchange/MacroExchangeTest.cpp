// The macro exchange files: exact bytes of both layouts, imports as new macros with their
// events in index order, and refused files that change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExchangeTestSupport.h"
#include "exchange/MacroExchange.h"

namespace cursorial {
namespace {

using test::CrLf;
using test::DumpDatabase;
using test::Query;
using test::QueryOne;
using test::ReadFile;
using test::Rows;
using test::Visible;
using test::WriteFile;

const std::string kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

class MacroExchangeTest : public test::StoreFixture {
protected:
    // A key press with delays: down, 10 ms, up, 10 ms.
    int AddPressMacro(const std::u16string& name) {
        const int id = db_.AddMacro(name);
        db_.AddMacroEvents({
            {0, id, kMacroEventKeyDown, 0, 65, 1000, u"↓  A"},
            {0, id, kMacroEventDelay, 1, 10, 1001, u"10 ms"},
            {0, id, kMacroEventKeyUp, 2, 65, 1000, u"↑  A"},
        });
        return id;
    }

    Rows Events(int macroId) {
        return Query(db_,
                     "SELECT type, record_index, desc, value, delay_time FROM t_macrorecord "
                     "WHERE macro_id = " +
                         std::to_string(macroId) + " ORDER BY record_index");
    }
};

const std::string kPressItems = CrLf({
    R"(<item desc="↓  A" index="0" type="2" value="65" timestamp="1000"/>)",
    R"(<item desc="10 ms" index="1" type="1" value="10" timestamp="1001"/>)",
    R"(<item desc="↑  A" index="2" type="3" value="65" timestamp="1000"/>)",
});

TEST_F(MacroExchangeTest, SingleMacroExportWritesTheShownNameAndTheEvents) {
    const int id = AddPressMacro(u"Custom 1");
    db_.UpdateMacro(id, Macro{0, u"Custom 1", 2, 3, 2, 40});
    const auto file = File("one.xml");
    ASSERT_EQ(ExportMacro(db_, id, u"Macro 1 & <2>", file), ExchangeResult::kOk);
    const std::string expected =
        CrLf(
            {kDeclaration, "<macro>",
             R"(<macroinfo macro_name="Macro 1 &amp; &lt;2&gt;" macro_type="2" play_times="3" delay_type="2" delay_time="40"/>)",
             "<macroitems>"}) +
        kPressItems + CrLf({"</macroitems>", "</macro>"});
    std::string written = ReadFile(file);
    EXPECT_EQ(written, expected) << Visible(written);

    const int empty = db_.AddMacro(u"Empty");
    ASSERT_EQ(ExportMacro(db_, empty, u"Empty", file), ExchangeResult::kOk);
    written = ReadFile(file);
    EXPECT_EQ(
        written,
        CrLf(
            {kDeclaration, "<macro>",
             R"(<macroinfo macro_name="Empty" macro_type="0" play_times="1" delay_type="1" delay_time="0"/>)",
             "<macroitems/>", "</macro>"}))
        << Visible(written);
    EXPECT_EQ(ExportMacro(db_, 999, u"x", file), ExchangeResult::kNotFound);
}

TEST_F(MacroExchangeTest, SetExportWritesEveryMacroAndEmptyOnesWithoutChildren) {
    AddPressMacro(u"First");
    db_.AddMacro(u"Second");
    const auto file = File("all.xml");
    ASSERT_EQ(ExportAllMacros(db_, file), ExchangeResult::kOk);
    const std::string expected =
        CrLf(
            {kDeclaration, "<macro>",
             R"(<macro_item macro_name="First" macro_type="0" play_times="1" delay_type="1" delay_time="0">)",
             "<record_item>"}) +
        kPressItems +
        CrLf(
            {"</record_item>", "</macro_item>",
             R"(<macro_item macro_name="Second" macro_type="0" play_times="1" delay_type="1" delay_time="0"/>)",
             "</macro>"});
    const std::string written = ReadFile(file);
    EXPECT_EQ(written, expected) << Visible(written);
}

TEST_F(MacroExchangeTest, ImportsAddNewMacrosWithEventsInIndexOrder) {
    const int id = AddPressMacro(u"Press");
    const auto single = File("single.xml");
    ASSERT_EQ(ExportMacro(db_, id, u"Press", single), ExchangeResult::kOk);

    std::vector<Macro> added;
    ASSERT_EQ(ImportMacro(db_, single, &added), ExchangeResult::kOk);
    ASSERT_EQ(ImportMacro(db_, single, &added), ExchangeResult::kOk);  // twice: two macros
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].name, u"Press");
    EXPECT_EQ(Query(db_, "SELECT name FROM t_macro_data ORDER BY macro_id"),
              (Rows{{"Press"}, {"Press"}, {"Press"}}));
    EXPECT_EQ(Events(added[0].id), Events(id));

    // Items out of order are stored by index; a file without macroinfo gives an unnamed macro.
    const auto shuffled = File("shuffled.xml");
    WriteFile(shuffled, kDeclaration +
                            R"(<macro><macroitems>)"
                            R"(<item desc="b" index="1" type="5" value="1" timestamp="7"/>)"
                            R"(<item desc="a" index="0" type="4" value="1" timestamp="7"/>)"
                            R"(<item index="2"/>)"
                            R"(</macroitems></macro>)");
    ASSERT_EQ(ImportMacro(db_, shuffled, &added), ExchangeResult::kOk);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0], (Macro{added[0].id, u"", 0, 0, 0, 0}));
    EXPECT_EQ(
        Events(added[0].id),
        (Rows{{"4", "0", "a", "1", "7"}, {"5", "1", "b", "1", "7"}, {"0", "2", "", "0", "0"}}));
}

TEST_F(MacroExchangeTest, SetImportCreatesEachMacroWithItsOwnEventsInFileOrder) {
    const auto file = File("set.xml");
    WriteFile(
        file,
        kDeclaration +
            R"(<macro>)"
            R"(<macro_item macro_name="One" macro_type="1" play_times="2" delay_type="0" delay_time="0">)"
            R"(<record_item><item desc="10 ms" index="0" type="1" value="10" timestamp="3"/></record_item></macro_item>)"
            R"(<macro_item macro_name="Two"/>)"
            R"(<other/>)"
            R"(<macro_item macro_name="Three"><record_item>)"
            R"(<item desc="y" index="1" type="3" value="66" timestamp="9"/>)"
            R"(<item desc="x" index="0" type="2" value="66" timestamp="9"/>)"
            R"(</record_item></macro_item>)"
            R"(</macro>)");
    std::vector<Macro> added;
    ASSERT_EQ(ImportMacroSet(db_, file, &added), ExchangeResult::kOk);
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[0], (Macro{added[0].id, u"One", 1, 2, 0, 0}));
    EXPECT_EQ(added[1].name, u"Two");
    EXPECT_EQ(added[2].name, u"Three");
    EXPECT_LT(added[0].id, added[1].id);
    EXPECT_LT(added[1].id, added[2].id);
    EXPECT_EQ(Events(added[0].id), (Rows{{"1", "0", "10 ms", "10", "3"}}));
    EXPECT_TRUE(Events(added[1].id).empty());
    EXPECT_EQ(Events(added[2].id), (Rows{{"2", "0", "x", "66", "9"}, {"3", "1", "y", "66", "9"}}));
}

TEST_F(MacroExchangeTest, RefusedFilesChangeNothing) {
    AddPressMacro(u"Kept");
    std::string manyMacros = "<macro>";
    for (int i = 0; i <= ExchangeLimits::kMaxMacros; ++i)
        manyMacros += "<macro_item/>";
    manyMacros += "</macro>";
    std::string manyEvents = "<macro><macroinfo/><macroitems>";
    for (int i = 0; i <= ExchangeLimits::kMaxEventsPerMacro; ++i)
        manyEvents += "<item/>";
    manyEvents += "</macroitems></macro>";
    // Every macro within its own bound, the file past the bound on all its events together.
    std::string manyInAll = "<macro>";
    const int perMacro = ExchangeLimits::kMaxEventsPerMacro / 2;
    for (int m = 0; m * perMacro <= ExchangeLimits::kMaxEventsPerFile; ++m) {
        manyInAll += "<macro_item><record_item>";
        for (int i = 0; i < perMacro; ++i)
            manyInAll += "<item/>";
        manyInAll += "</record_item></macro_item>";
    }
    manyInAll += "</macro>";
    const struct {
        const char* name;
        std::string bytes;
        bool set;
        ExchangeResult expected;
    } cases[] = {
        {"missing.xml", "", false, ExchangeResult::kFileUnreadable},
        {"bad.xml", "<macro><macroinfo></macro>", false, ExchangeResult::kNotWellFormed},
        {"bad-set.xml", "<macro>", true, ExchangeResult::kNotWellFormed},
        {"profile.xml", "<profile/>", false, ExchangeResult::kWrongRoot},
        {"profile-set.xml", "<profile/>", true, ExchangeResult::kWrongRoot},
        {"many-macros.xml", manyMacros, true, ExchangeResult::kTooLarge},
        {"many-events.xml", manyEvents, false, ExchangeResult::kTooLarge},
        {"many-in-all.xml", manyInAll, true, ExchangeResult::kTooLarge},
    };
    const std::string before = DumpDatabase(db_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty())
            WriteFile(File(c.name), c.bytes);
        std::vector<Macro> added(1);
        const ExchangeResult result = c.set ? ImportMacroSet(db_, File(c.name), &added)
                                            : ImportMacro(db_, File(c.name), &added);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(added.size(), 1u);
        EXPECT_EQ(DumpDatabase(db_), before);
    }

    // A store that refuses the events undoes the macros already added.
    db_.Exec("DROP TABLE t_macrorecord");
    const std::string withoutEvents = DumpDatabase(db_);
    const auto file = File("set.xml");
    WriteFile(file,
              "<macro><macro_item macro_name=\"A\"/><macro_item macro_name=\"B\">"
              "<record_item><item/></record_item></macro_item></macro>");
    EXPECT_EQ(ImportMacroSet(db_, file), ExchangeResult::kWriteFailed);
    EXPECT_EQ(DumpDatabase(db_), withoutEvents);
}

TEST(MacroDisplayName, LocalisesCustomAndCopy) {
    const struct {
        std::u16string stored;
        std::u16string shown;
    } cases[] = {
        {u"Custom 4", u"Word 4"},
        {u"自定义4", u"Word4"},
        {u"Custom 4 Copy", u"Word 4  Dup"},  // the part before "Copy" keeps its space
        {u"Macro复制", u"Macro Dup"},
        {u"My custom", u"My custom"},
        {u"Copy", u" Dup"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MacroDisplayName(c.stored, u"Word", u"Dup"), c.shown);
}

}  // namespace
}  // namespace cursorial
