#include "store/SQLiteAutoTransaction.h"

#include <sqlite3.h>

#include "store/SQLiteDB.h"

namespace cursorial {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : db_(db) {
    if (!db_)
        return;
    if (db_->InTransaction()) {
        joined_ = true;
    } else if (db_->IsOpen()) {
        db_->Exec("BEGIN");
    }
    active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (active_ && !joined_ && db_->IsOpen())
        db_->Exec("END");
}

bool SQLiteAutoTransaction::Begin() {
    if (!db_ || active_)
        return false;
    active_ = true;
    if (!db_->IsOpen())
        return false;
    if (db_->InTransaction()) {
        joined_ = true;
        return true;
    }
    joined_ = false;
    return db_->Exec("BEGIN") == SQLITE_OK;
}

bool SQLiteAutoTransaction::Commit() {
    if (!db_)
        return false;
    const bool wasActive = active_;
    active_ = false;
    if (!db_->IsOpen())
        return false;
    if (joined_) {
        joined_ = false;
        return wasActive;
    }
    return db_->Exec("END") == SQLITE_OK;
}

bool SQLiteAutoTransaction::Rollback() {
    if (!db_ || !active_ || joined_ || !db_->IsOpen())
        return false;
    active_ = false;
    return db_->Exec("ROLLBACK") == SQLITE_OK;
}

}  // namespace cursorial
