// The thin SQLite wrappers: results on misuse, the done flag, Close refusing while a statement
// lives, and the scoped transaction that commits on scope exit.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>

#include "StoreTestSupport.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "store/SQLiteWriteTransaction.h"

namespace cursorial {
namespace {

using test::QueryOne;
using test::ScratchFolder;

constexpr int kCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

TEST(SQLiteWrapper, WithoutConnectionOrStatementEverythingFailsQuietly) {
    SQLiteDB db;
    SQLiteStatement st;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_TRUE(db.Close());
    EXPECT_EQ(db.Exec("SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.Prepare(st, "SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.LastInsertRowId(), -1);
    EXPECT_TRUE(st.IsDone());
    EXPECT_EQ(st.BindInt(1, 5), SQLITE_MISUSE);
    EXPECT_EQ(st.BindText(1, "x", 1), SQLITE_MISUSE);
    EXPECT_EQ(st.Step(), SQLITE_MISUSE);
    EXPECT_EQ(st.ColumnInt(0), 0);
    EXPECT_EQ(st.ColumnText(0), nullptr);

    ScratchFolder folder;
    ASSERT_TRUE(db.Open((folder.path() / "a.db").string(), kCreate));
    EXPECT_EQ(db.Exec(nullptr), SQLITE_MISUSE);
    EXPECT_EQ(db.Prepare(st, nullptr), SQLITE_MISUSE);
    // A statement naming a missing table fails at Prepare; every later step says misuse.
    EXPECT_NE(db.Prepare(st, "SELECT * FROM t_missing"), SQLITE_OK);
    EXPECT_FALSE(st.IsPrepared());
    EXPECT_EQ(st.Step(), SQLITE_MISUSE);
}

TEST(SQLiteWrapper, OpenSetsSynchronousAndFailsWithoutFolder) {
    ScratchFolder folder;
    SQLiteDB db;
    EXPECT_FALSE(db.Open((folder.path() / "missing" / "a.db").string(), kCreate));
    EXPECT_FALSE(db.IsOpen());

    ASSERT_TRUE(db.Open((folder.path() / "a.db").string(), kCreate));
    EXPECT_EQ(QueryOne(db, "PRAGMA synchronous"), "0");
    db.SetSyncMode(SyncMode::kFull);
    ASSERT_TRUE(db.Open((folder.path() / "a.db").string(), kCreate));  // reopen replaces
    EXPECT_EQ(QueryOne(db, "PRAGMA synchronous"), "2");
}

// The program and cursorialctl may write the same file: a write that meets the other's
// transaction waits for it instead of failing at once.
TEST(SQLiteWrapper, AWriteWaitsForAnotherConnectionsTransaction) {
    ScratchFolder folder;
    const std::string path = (folder.path() / "a.db").string();
    SQLiteDB first;
    SQLiteDB second;
    ASSERT_TRUE(first.Open(path, kCreate));
    ASSERT_EQ(first.Exec("CREATE TABLE t(a INTEGER)"), SQLITE_OK);
    ASSERT_TRUE(second.Open(path, kCreate));
    ASSERT_EQ(first.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    std::thread other([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        first.Exec("INSERT INTO t VALUES (1); COMMIT");
    });
    EXPECT_EQ(second.Exec("INSERT INTO t VALUES (2)"), SQLITE_OK);
    other.join();
    EXPECT_EQ(QueryOne(second, "SELECT count(*) FROM t"), "2");
}

TEST(SQLiteWrapper, StatementStepsBindsAndFinalizes) {
    ScratchFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder.path() / "a.db").string(), kCreate));
    ASSERT_EQ(db.Exec("CREATE TABLE t(a INTEGER, b TEXT)"), SQLITE_OK);

    SQLiteStatement st;
    // A length of -1 covers the text and its terminator.
    ASSERT_EQ(db.Prepare(st, "INSERT INTO t VALUES (?, ?)", -1), SQLITE_OK);
    EXPECT_TRUE(st.IsDone());
    const std::string text = "h\xC3\xA9";
    std::string scratch = text;
    EXPECT_EQ(st.BindInt(1, -7), SQLITE_OK);
    EXPECT_EQ(st.BindText(2, scratch), SQLITE_OK);
    // The bound bytes are SQLite's own copy: changing or freeing the text before the step
    // changes nothing.
    scratch.assign(64, 'x');
    scratch = std::string();
    EXPECT_EQ(st.Step(), SQLITE_DONE);
    EXPECT_TRUE(st.IsDone());
    EXPECT_EQ(db.LastInsertRowId(), 1);

    ASSERT_EQ(db.Prepare(st, "SELECT a, b FROM t"), SQLITE_OK);
    ASSERT_EQ(st.Step(), SQLITE_ROW);
    EXPECT_EQ(st.ColumnInt(0), -7);
    EXPECT_STREQ(st.ColumnText(1), text.c_str());
    EXPECT_EQ(st.Step(), SQLITE_DONE);

    // While a statement is alive SQLite refuses to close; the handle stays usable.
    ASSERT_EQ(db.Prepare(st, "SELECT a FROM t"), SQLITE_OK);
    EXPECT_FALSE(db.Close());
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(st.Finalize(), SQLITE_OK);
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
}

TEST(SQLiteWrapper, AutoTransactionEndsOnScopeExitAndRollsBackOnRequest) {
    ScratchFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder.path() / "a.db").string(), kCreate));
    ASSERT_EQ(db.Exec("CREATE TABLE t(a INTEGER)"), SQLITE_OK);
    {
        SQLiteAutoTransaction transaction(&db);
        EXPECT_TRUE(transaction.IsActive());
        EXPECT_TRUE(db.InTransaction());
        EXPECT_FALSE(transaction.Begin());  // already active
        db.Exec("INSERT INTO t VALUES (1)");
    }
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t"), "1");
    {
        SQLiteAutoTransaction transaction(&db);
        db.Exec("INSERT INTO t VALUES (2)");
        {
            // An inner scope joins the outer transaction instead of ending it.
            SQLiteAutoTransaction inner(&db);
            db.Exec("INSERT INTO t VALUES (3)");
        }
        EXPECT_TRUE(db.InTransaction());
        EXPECT_TRUE(transaction.Rollback());
    }
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t"), "1");
    {
        SQLiteAutoTransaction transaction(&db);
        db.Exec("INSERT INTO t VALUES (4)");
        EXPECT_TRUE(transaction.Commit());
        EXPECT_FALSE(transaction.IsActive());
        EXPECT_FALSE(transaction.Rollback());
    }
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t"), "2");

    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.IsActive());
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.Commit());

    SQLiteDB closed;
    SQLiteAutoTransaction onClosed(&closed);
    EXPECT_TRUE(onClosed.IsActive());
    EXPECT_FALSE(onClosed.Commit());
    EXPECT_FALSE(onClosed.IsActive());
    EXPECT_FALSE(onClosed.Begin());  // sets the flag, reports false
    EXPECT_TRUE(onClosed.IsActive());
}

TEST(SQLiteWrapper, WriteTransactionIsWholeOrAbsent) {
    ScratchFolder folder;
    const std::string path = (folder.path() / "a.db").string();
    SQLiteDB db;
    ASSERT_TRUE(db.Open(path, kCreate));
    ASSERT_EQ(db.Exec("CREATE TABLE t(a INTEGER)"), SQLITE_OK);
    {
        SQLiteWriteTransaction transaction(db);
        ASSERT_TRUE(transaction.Ok());
        db.Exec("INSERT INTO t VALUES (1)");
        {
            // Joined: its commit leaves the decision to the outer one.
            SQLiteWriteTransaction inner(db);
            EXPECT_TRUE(inner.Ok());
            db.Exec("INSERT INTO t VALUES (2)");
            EXPECT_EQ(inner.Commit(), StoreStatus::kOk);
            EXPECT_TRUE(db.InTransaction());
        }
        EXPECT_TRUE(db.InTransaction());
    }  // left without Commit: undone
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t"), "0");
    {
        SQLiteWriteTransaction transaction(db);
        db.Exec("INSERT INTO t VALUES (3)");
        EXPECT_EQ(transaction.Commit(), StoreStatus::kOk);
    }
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t"), "1");

    // A reader's view stays as it was taken, and while it lasts a writer's commit cannot
    // finish: past the busy timeout the commit is refused and the writer's work undone.
    SQLiteDB other;
    other.SetBusyTimeout(20);
    ASSERT_TRUE(other.Open(path, kCreate));
    SQLiteDB quick;
    quick.SetBusyTimeout(20);
    ASSERT_TRUE(quick.Open(path, kCreate));
    {
        SQLiteReadTransaction view(other);
        ASSERT_TRUE(view.Ok());
        SQLiteWriteTransaction writer(quick);
        ASSERT_TRUE(writer.Ok());
        quick.Exec("INSERT INTO t VALUES (4)");
        EXPECT_EQ(QueryOne(other, "SELECT count(*) FROM t"), "1");
        EXPECT_EQ(writer.Commit(), StoreStatus::kBusy);
        EXPECT_FALSE(quick.InTransaction());
    }
    EXPECT_EQ(QueryOne(db, "SELECT count(*) FROM t"), "1");
    // Another connection's exclusive lock past the busy timeout: neither view can be taken.
    ASSERT_EQ(db.Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    {
        SQLiteWriteTransaction blocked(other);
        EXPECT_EQ(blocked.Status(), StoreStatus::kBusy);
        SQLiteReadTransaction view(other);
        EXPECT_EQ(view.Status(), StoreStatus::kBusy);
    }
    EXPECT_FALSE(other.InTransaction());
    ASSERT_EQ(db.Exec("COMMIT"), SQLITE_OK);

    SQLiteDB closed;
    SQLiteWriteTransaction onClosed(closed);
    EXPECT_EQ(onClosed.Status(), StoreStatus::kFailed);
    EXPECT_EQ(onClosed.Commit(), StoreStatus::kFailed);
}

TEST(SQLiteWrapper, StoreStatusOfResultCodes) {
    const std::pair<int, StoreStatus> cases[] = {
        {SQLITE_OK, StoreStatus::kOk},
        {SQLITE_ROW, StoreStatus::kOk},
        {SQLITE_DONE, StoreStatus::kOk},
        {SQLITE_BUSY, StoreStatus::kBusy},
        {SQLITE_LOCKED, StoreStatus::kBusy},
        {SQLITE_BUSY_SNAPSHOT, StoreStatus::kBusy},
        {SQLITE_FULL, StoreStatus::kFailed},
        {SQLITE_MISUSE, StoreStatus::kFailed},
        {SQLITE_IOERR_WRITE, StoreStatus::kFailed},
    };
    for (const auto& [code, status] : cases)
        EXPECT_EQ(StoreStatusOf(code), status) << code;
}

}  // namespace
}  // namespace cursorial
