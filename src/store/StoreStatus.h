// Outcome of a store operation that must not be mistaken: "found nothing" is kOk with an empty
// result, never a busy or failed read.
#pragma once

namespace cursorial {

enum class StoreStatus {
    kOk,
    kBusy,    // another connection held the file's lock past the busy timeout
    kFailed,  // closed store, missing table, full disk, damaged file, ...
};

// kOk for SQLITE_OK, SQLITE_ROW and SQLITE_DONE; kBusy for SQLITE_BUSY and SQLITE_LOCKED
// (also in their extended forms); kFailed for everything else.
StoreStatus StoreStatusOf(int sqliteCode);

const char* StoreStatusName(StoreStatus status);

}  // namespace cursorial
