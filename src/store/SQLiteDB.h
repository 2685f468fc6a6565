// SQLiteDB: one SQLite connection, closed when the object goes away.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace cursorial {

class SQLiteStatement;

// How Open sets `PRAGMA synchronous`. The store runs with OFF: a commit is not flushed to disk,
// which keeps the dozens of one-row inserts of a new profile fast. FULL exists so benchmarks and
// tests can measure what that choice buys.
enum class SyncMode { kOff, kFull };

class SQLiteDB {
public:
    SQLiteDB() = default;
    virtual ~SQLiteDB();
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;

    // Opens `path` (UTF-8) with sqlite3_open_v2 and the default VFS. A connection already held is
    // interrupted and closed first. On failure the half-opened handle is released and false is
    // returned; on success a statement waits up to the busy timeout for another connection's
    // lock, and the synchronous pragma is issued (its result ignored; when the file is locked it
    // is left for ApplyPendingSyncMode).
    bool Open(const std::string& path, int flags);

    // True when nothing is open or sqlite3_close succeeded. When SQLite refuses (statements still
    // alive), the handle stays and the result is false.
    bool Close();

    bool IsOpen() const { return db_ != nullptr; }

    // sqlite3_exec; SQLITE_MISUSE (21) without a connection or without text.
    int Exec(const char* sql, int (*callback)(void*, int, char**, char**) = nullptr,
             void* argument = nullptr);

    // Finalizes whatever `statement` held, then compiles `sql` into it. A negative length means
    // the text's length plus its terminating zero byte. SQLITE_MISUSE (21) without a connection
    // or without text; SQLite is not called then.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);

    // sqlite3_last_insert_rowid, or -1 without a connection.
    int64_t LastInsertRowId() const;

    // Rows changed by the last INSERT, UPDATE or DELETE (sqlite3_changes), 0 without a
    // connection.
    int Changes() const;

    // True while an explicit transaction is open on the connection.
    bool InTransaction() const;

    // Takes effect at the next Open.
    void SetSyncMode(SyncMode mode) { syncMode_ = mode; }
    // How long a statement waits for another connection's lock (2000 ms unless set). Takes
    // effect at the next Open.
    void SetBusyTimeout(int ms) { busyTimeoutMs_ = ms; }

protected:
    // The synchronous pragma, when Open found the file locked and could not issue it.
    void ApplyPendingSyncMode();

    // Interrupts and closes the connection. When SQLite refuses to close it now, the close is
    // deferred (sqlite3_close_v2) to the finalization of the last statement, so that replacing
    // or destroying the connection never leaks it.
    void Release();

private:
    sqlite3* db_ = nullptr;
    int ApplySyncPragma();

    SyncMode syncMode_ = SyncMode::kOff;
    bool syncPending_ = false;
    int busyTimeoutMs_ = 2000;
};

}  // namespace cursorial
