#include "store/SQLiteWriteTransaction.h"

#include <sqlite3.h>

#include "store/SQLiteDB.h"

namespace cursorial {

StoreStatus StoreStatusOf(int sqliteCode) {
    switch (sqliteCode & 0xFF) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            return StoreStatus::kOk;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return StoreStatus::kBusy;
        default:
            return StoreStatus::kFailed;
    }
}

const char* StoreStatusName(StoreStatus status) {
    switch (status) {
        case StoreStatus::kOk:
            return "ok";
        case StoreStatus::kBusy:
            return "busy (another program holds the database)";
        case StoreStatus::kFailed:
            return "failed";
    }
    return "unknown";
}

SQLiteWriteTransaction::SQLiteWriteTransaction(SQLiteDB& db) : db_(db) {
    if (!db_.IsOpen())
        return;
    if (db_.InTransaction()) {
        status_ = StoreStatus::kOk;
        return;
    }
    status_ = StoreStatusOf(db_.Exec("BEGIN IMMEDIATE"));
    owned_ = status_ == StoreStatus::kOk;
}

SQLiteWriteTransaction::~SQLiteWriteTransaction() {
    Rollback();
}

StoreStatus SQLiteWriteTransaction::Commit() {
    if (status_ != StoreStatus::kOk)
        return status_;
    if (!owned_)
        return StoreStatus::kOk;
    const StoreStatus committed = StoreStatusOf(db_.Exec("COMMIT"));
    if (committed != StoreStatus::kOk) {
        // A refused COMMIT leaves the transaction open.
        Rollback();
        return committed;
    }
    owned_ = false;
    return StoreStatus::kOk;
}

void SQLiteWriteTransaction::Rollback() {
    if (!owned_)
        return;
    owned_ = false;
    if (db_.InTransaction())
        db_.Exec("ROLLBACK");
}

SQLiteReadTransaction::SQLiteReadTransaction(SQLiteDB& db) : db_(db) {
    if (!db_.IsOpen())
        return;
    if (db_.InTransaction()) {
        status_ = StoreStatus::kOk;
        return;
    }
    status_ = StoreStatusOf(db_.Exec("BEGIN"));
    if (status_ != StoreStatus::kOk)
        return;
    owned_ = true;
    // A deferred transaction takes its shared lock at the first read.
    status_ = StoreStatusOf(db_.Exec("SELECT count(*) FROM sqlite_master"));
}

SQLiteReadTransaction::~SQLiteReadTransaction() {
    if (owned_ && db_.InTransaction())
        db_.Exec("ROLLBACK");
}

}  // namespace cursorial
