// What every exchange-file import and export shares: opening a file from outside, the
// declaration line, and applying an import's changes all or nothing.
#pragma once

#include <filesystem>
#include <string_view>

#include "exchange/ExchangeResult.h"
#include "store/ConfigDatabase.h"
#include "store/SQLiteAutoTransaction.h"

namespace cursorial {

class XmlDocument;

// Loads `file` into `doc` (navigation at the top). kFileUnreadable for a missing or unreadable
// file or one that is not a regular file, kTooLarge beyond ExchangeLimits::kMaxFileBytes,
// kNotWellFormed when it is not well-formed XML. The root is the parser's to check.
ExchangeResult OpenExchangeFile(XmlDocument& doc, const std::filesystem::path& file);

// The declaration line every written exchange file starts with.
inline constexpr std::u16string_view kXmlDeclaration =
    u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Runs `changes` (returning false at the first refused store change) in one transaction under
// the store's lock: other threads' statements cannot slip into it, and a failure part-way
// leaves the store as it was. kWriteFailed when the transaction cannot start, a change fails or
// the commit fails.
template <class Changes>
ExchangeResult ApplyAtomically(ConfigDatabase& db, Changes&& changes) {
    auto hold = db.Hold();
    SQLiteAutoTransaction transaction(&db);
    if (!db.InTransaction())
        return ExchangeResult::kWriteFailed;
    if (!changes()) {
        transaction.Rollback();
        return ExchangeResult::kWriteFailed;
    }
    if (!transaction.Commit()) {
        // A refused END leaves the transaction open.
        if (db.InTransaction())
            db.Exec("ROLLBACK");
        return ExchangeResult::kWriteFailed;
    }
    return ExchangeResult::kOk;
}

}  // namespace cursorial
