// What every exchange-file import and export shares: opening a file from outside, the
// declaration line, and applying an import's changes all or nothing.
#pragma once

#include <filesystem>
#include <string_view>

#include "exchange/ExchangeResult.h"
#include "store/ConfigDatabase.h"
#include "store/SQLiteWriteTransaction.h"

namespace cursorial {

class XmlDocument;

// Loads `file` into `doc` (navigation at the top). kFileUnreadable for a missing or unreadable
// file or one that is not a regular file, kTooLarge beyond ExchangeLimits::kMaxFileBytes,
// kNotWellFormed when it is not well-formed XML. The root is the parser's to check.
ExchangeResult OpenExchangeFile(XmlDocument& doc, const std::filesystem::path& file);

// The declaration line every written exchange file starts with.
inline constexpr std::u16string_view kXmlDeclaration =
    u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// The exchange result of a store status that is not kOk.
inline ExchangeResult StoreFailure(StoreStatus status, ExchangeResult otherwise) {
    return status == StoreStatus::kBusy ? ExchangeResult::kStoreBusy : otherwise;
}

// Runs `changes` (returning false at the first refused store change) in one write transaction
// under the store's lock: other threads' statements cannot slip into it, another process cannot
// write in between, and a failure part-way leaves the store as it was. kStoreBusy when another
// program holds the database; kWriteFailed when the transaction cannot start, a change fails or
// the commit fails.
template <class Changes>
ExchangeResult ApplyAtomically(ConfigDatabase& db, Changes&& changes) {
    auto hold = db.Hold();
    SQLiteWriteTransaction transaction(db);
    if (!transaction.Ok())
        return StoreFailure(transaction.Status(), ExchangeResult::kWriteFailed);
    if (!changes())
        return ExchangeResult::kWriteFailed;  // rolled back by the transaction
    const StoreStatus committed = transaction.Commit();
    if (committed != StoreStatus::kOk)
        return StoreFailure(committed, ExchangeResult::kWriteFailed);
    return ExchangeResult::kOk;
}

}  // namespace cursorial
