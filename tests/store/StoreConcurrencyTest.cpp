// The store shared by the window thread and the worker: both hammer it at once, one of them also
// reopening the file, and afterwards every row written is there. Built and run under
// ThreadSanitizer as well (label "tsan"), which must report no race.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "StoreTestSupport.h"
#include "common/text/WideText.h"
#include "store/ConfigDatabase.h"

namespace cursorial {
namespace {

using test::QueryOne;
using test::ScratchFolder;

constexpr int kRounds = 150;
constexpr int kEventsPerMacro = 8;

std::vector<MacroEvent> EventsFor(int macroId, int round) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < kEventsPerMacro; ++i) {
        events.push_back(MacroEvent{0, macroId, kMacroEventKeyDown, i, round, i, u"↓  A"});
    }
    return events;
}

// One thread's share: its own profile's settings and buttons, its own macros, and reads of what
// the other thread writes. `failures` counts reads that found nothing where a row must exist.
void Hammer(ConfigDatabase& db, const std::filesystem::path& folder, int profile, bool reopen,
            std::atomic<int>& failures, std::vector<int>& macroIds) {
    const int otherProfile = profile == 1 ? 2 : 1;
    std::u16string value;
    std::vector<KeyAssignment> keys;
    std::vector<MacroEvent> events;
    for (int round = 0; round < kRounds; ++round) {
        if (!db.SetConfigValue(profile, u"dpi_group0_value", IntToText(round)))
            ++failures;
        if (!db.GetConfigValue(otherProfile, u"dpi_group0_value", value))
            ++failures;

        KeyAssignment key;
        key.profile = profile;
        key.keyCode = round % 8;
        key.type = 1;
        key.value = round + 1;
        if (db.SaveKeyAssignment(key) == 0)
            ++failures;
        db.ListKeyAssignments(otherProfile, keys);

        const int macroId = db.AddMacro(u"Custom " + IntToText(round));
        if (macroId == 0)
            ++failures;
        macroIds.push_back(macroId);
        db.AddMacroEvents(EventsFor(macroId, round));
        // Saving an edited macro: all its events are replaced.
        if (round % 3 == 0) {
            db.DeleteMacroEvents(macroId);
            db.AddMacroEvents(EventsFor(macroId, round));
        }
        const int listed = db.ListMacroEvents(macroId, events);
        if (listed != kEventsPerMacro)
            ++failures;

        // Re-applying the device selection reopens the file under the same lock, so the other
        // thread never meets a closed connection.
        if (reopen && round % 10 == 0 && !db.OpenForDevice(folder, u"AERO"))
            ++failures;
    }
}

TEST(StoreConcurrency, TwoThreadsLoseNothing) {
    ScratchFolder folder;
    ConfigDatabase db;
    ASSERT_TRUE(db.OpenForDevice(folder.path(), u"AERO"));
    ASSERT_EQ(db.AddProfile({}), 1);
    ASSERT_EQ(db.AddProfile({}), 2);

    std::atomic<int> failures{0};
    std::vector<int> windowMacros;
    std::vector<int> workerMacros;
    std::thread worker([&] { Hammer(db, folder.path(), 2, false, failures, workerMacros); });
    Hammer(db, folder.path(), 1, true, failures, windowMacros);
    worker.join();

    EXPECT_EQ(failures.load(), 0);
    std::u16string value;
    for (int profile : {1, 2}) {
        ASSERT_TRUE(db.GetConfigValue(profile, u"dpi_group0_value", value));
        EXPECT_EQ(value, IntToText(kRounds - 1));
    }
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t_configdata"), "80");
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t_key_macro_data"), "16");
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t_macro_data"), std::to_string(2 * kRounds));
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t_macrorecord"),
              std::to_string(2 * kRounds * kEventsPerMacro));
    EXPECT_EQ(QueryOne(db, "SELECT count(DISTINCT macro_id) FROM t_macrorecord"),
              std::to_string(2 * kRounds));
}

}  // namespace
}  // namespace cursorial
