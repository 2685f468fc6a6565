// Scoped transactions that are either whole or absent.
#pragma once

#include "store/StoreStatus.h"

namespace cursorial {

class SQLiteDB;

// "BEGIN IMMEDIATE": the file's write lock is taken at the start (waiting up to the busy
// timeout), so what is read inside is what the writes build on, and no other connection can
// write in between: a check-then-insert cannot duplicate rows. Rolled back when the scope is
// left without a successful Commit, so a failure part-way leaves nothing.
//
// Inside a transaction that is already open the object joins it: it neither begins, commits
// nor rolls back; the outer owner decides (a failure must be passed up to it).
class SQLiteWriteTransaction {
public:
    explicit SQLiteWriteTransaction(SQLiteDB& db);
    ~SQLiteWriteTransaction();
    SQLiteWriteTransaction(const SQLiteWriteTransaction&) = delete;
    SQLiteWriteTransaction& operator=(const SQLiteWriteTransaction&) = delete;

    // Whether the transaction could be begun (or joined); kFailed on a closed connection.
    StoreStatus Status() const { return status_; }
    bool Ok() const { return status_ == StoreStatus::kOk; }

    // "COMMIT"; when it fails (a reader kept its lock past the busy timeout, a full disk) the
    // transaction is rolled back and the failure returned. A joined transaction returns kOk.
    StoreStatus Commit();
    // Discards the work now (a joined transaction cannot; its owner must).
    void Rollback();

private:
    SQLiteDB& db_;
    StoreStatus status_ = StoreStatus::kFailed;
    bool owned_ = false;  // began the transaction and has not ended it yet
};

// A consistent view for several reads: "BEGIN" and a first read that takes the file's shared
// lock. Once begun, reads inside cannot meet another connection's lock, so the one place a busy
// file shows is Status(). Ends (without changes) with the scope; joins an open transaction.
class SQLiteReadTransaction {
public:
    explicit SQLiteReadTransaction(SQLiteDB& db);
    ~SQLiteReadTransaction();
    SQLiteReadTransaction(const SQLiteReadTransaction&) = delete;
    SQLiteReadTransaction& operator=(const SQLiteReadTransaction&) = delete;

    StoreStatus Status() const { return status_; }
    bool Ok() const { return status_ == StoreStatus::kOk; }

private:
    SQLiteDB& db_;
    StoreStatus status_ = StoreStatus::kFailed;
    bool owned_ = false;
};

}  // namespace cursorial
