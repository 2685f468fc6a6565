// SQLiteStatement: one prepared statement, finalized when the object goes away.
#pragma once

#include <string>

struct sqlite3_stmt;

namespace cursorial {

class SQLiteDB;

// Every bind and column call on a statement that holds nothing returns SQLITE_MISUSE (21), 0 or
// null, so after a failed Prepare the rest of a record operation fails quietly instead of
// reaching SQLite with a null handle.
class SQLiteStatement {
public:
    SQLiteStatement() = default;
    virtual ~SQLiteStatement();
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;

    // Parameter indexes count from 1.
    int BindInt(int index, int value);
    // SQLite copies the bytes (SQLITE_TRANSIENT), so the text may go away before the statement
    // is stepped or finalized. The texts bound here are short.
    int BindText(int index, const char* text, int length);
    int BindText(int index, const std::string& text);

    // SQLITE_DONE (101) also sets the done flag.
    int Step();

    // Column indexes count from 0. ColumnText is null for SQL NULL and without a statement.
    int ColumnInt(int column) const;
    const char* ColumnText(int column) const;
    // The column as text, empty for NULL.
    std::string ColumnString(int column) const;

    // Releases the statement; the result of sqlite3_finalize, SQLITE_OK when nothing was held.
    int Finalize();

    bool IsPrepared() const { return stmt_ != nullptr; }
    bool IsDone() const { return done_; }

private:
    friend class SQLiteDB;

    sqlite3_stmt* stmt_ = nullptr;
    bool done_ = true;
};

}  // namespace cursorial
