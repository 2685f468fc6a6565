#include "store/SQLiteDB.h"

#include <sqlite3.h>

#include <cstring>

#include "store/SQLiteStatement.h"
#include "store/StoreStatus.h"

namespace cursorial {

SQLiteDB::~SQLiteDB() {
    Release();
}

void SQLiteDB::Release() {
    if (!db_)
        return;
    sqlite3_interrupt(db_);
    if (sqlite3_close(db_) != SQLITE_OK)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool SQLiteDB::Open(const std::string& path, int flags) {
    Release();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        // sqlite3_open_v2 hands out a handle even on most failures; it only carries the error.
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    // The pragma reads the schema, so it meets another connection's exclusive lock too. It is
    // tried without waiting; a caller that then waits for the lock anyway (an open's write
    // transaction) applies it afterwards, so the open does not wait twice.
    sqlite3_busy_timeout(db_, 0);
    syncPending_ = StoreStatusOf(ApplySyncPragma()) == StoreStatus::kBusy;
    // The window program and cursorialctl may write the same file. Without a wait, a write that
    // meets the other process's transaction fails at once with SQLITE_BUSY. Transactions here
    // last milliseconds; the bound keeps a stuck peer from blocking the caller for good.
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    return true;
}

int SQLiteDB::ApplySyncPragma() {
    return Exec(syncMode_ == SyncMode::kFull ? "PRAGMA synchronous = FULL; "
                                             : "PRAGMA synchronous = OFF; ");
}

void SQLiteDB::ApplyPendingSyncMode() {
    if (syncPending_ && ApplySyncPragma() == SQLITE_OK)
        syncPending_ = false;
}

bool SQLiteDB::Close() {
    if (!db_)
        return true;
    if (sqlite3_close(db_) != SQLITE_OK)
        return false;
    db_ = nullptr;
    return true;
}

int SQLiteDB::Exec(const char* sql, int (*callback)(void*, int, char**, char**), void* argument) {
    if (!db_ || !sql)
        return SQLITE_MISUSE;
    return sqlite3_exec(db_, sql, callback, argument, nullptr);
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.Finalize();
    if (!db_ || !sql)
        return SQLITE_MISUSE;
    if (length < 0)
        length = static_cast<int>(std::strlen(sql)) + 1;
    return sqlite3_prepare_v2(db_, sql, length, &statement.stmt_, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const {
    if (!db_)
        return -1;
    return sqlite3_last_insert_rowid(db_);
}

int SQLiteDB::Changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

bool SQLiteDB::InTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

}  // namespace cursorial
