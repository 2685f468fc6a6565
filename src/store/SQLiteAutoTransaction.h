// SQLiteAutoTransaction: a transaction that ends with the scope.
#pragma once

namespace cursorial {

class SQLiteDB;

// "BEGIN" on construction, "END" when the scope is left, so work done in the scope is committed
// even when Commit is never called. Rollback is the only way to discard it.
//
// Joining: when the connection is already inside a transaction, the object neither begins nor
// ends one; the outer owner decides. Without this rule the inner "END" would commit the outer
// transaction half-way.
class SQLiteAutoTransaction {
public:
    // Issues "BEGIN" when `db` is given and open. The active flag is set whenever `db` is given
    // (also when it is closed, in which case nothing is issued at the end either).
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    virtual ~SQLiteAutoTransaction();
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    // False without a connection object or while active. On a closed connection the flag is set
    // and the result is false; otherwise "BEGIN" is issued and its success returned.
    bool Begin();
    // False without a connection object. On a closed connection the flag is cleared and the
    // result is false; otherwise "END" is issued, the flag cleared, and its success returned.
    bool Commit();
    // Discards the work of the transaction ("ROLLBACK"); false when there is nothing to discard.
    bool Rollback();

    bool IsActive() const { return active_; }

private:
    SQLiteDB* db_;
    bool active_ = false;
    bool joined_ = false;  // inside a transaction someone else owns
};

}  // namespace cursorial
