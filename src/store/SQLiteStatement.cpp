#include "store/SQLiteStatement.h"

#include <sqlite3.h>

namespace cursorial {

SQLiteStatement::~SQLiteStatement() {
    Finalize();
}

int SQLiteStatement::BindInt(int index, int value) {
    if (!stmt_)
        return SQLITE_MISUSE;
    return sqlite3_bind_int(stmt_, index, value);
}

int SQLiteStatement::BindText(int index, const char* text, int length) {
    if (!stmt_)
        return SQLITE_MISUSE;
    return sqlite3_bind_text(stmt_, index, text, length, SQLITE_TRANSIENT);
}

int SQLiteStatement::BindText(int index, const std::string& text) {
    return BindText(index, text.c_str(), static_cast<int>(text.size()));
}

int SQLiteStatement::Step() {
    if (!stmt_)
        return SQLITE_MISUSE;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE)
        done_ = true;
    return rc;
}

int SQLiteStatement::ColumnInt(int column) const {
    if (!stmt_)
        return 0;
    return sqlite3_column_int(stmt_, column);
}

const char* SQLiteStatement::ColumnText(int column) const {
    if (!stmt_)
        return nullptr;
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
}

std::string SQLiteStatement::ColumnString(int column) const {
    const char* text = ColumnText(column);
    if (!text)
        return {};
    return std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

int SQLiteStatement::Finalize() {
    int rc = SQLITE_OK;
    if (stmt_) {
        rc = sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    done_ = true;
    return rc;
}

}  // namespace cursorial
