// Outcome of one profile or macro exchange-file operation.
#pragma once

namespace cursorial {

// An import reports every reason it changed nothing; the program's dialogs ignore the result
// as before, while the command-line tool and the tests tell the cases apart.
enum class ExchangeResult {
    kOk,
    kCancelled,       // the user closed the file dialog
    kFileUnreadable,  // missing, not a regular file, or cannot be read
    kNotWellFormed,   // not well-formed XML (or not XML at all)
    kWrongRoot,       // well-formed, but the root element is not the expected one
    kTooLarge,        // larger than the limits in ExchangeLimits (file size, item counts)
    kNotFound,        // export: the macro to write does not exist
    kWriteFailed,     // the store refused a change (import, all undone) or the file could not be
                      // written (export)
    kStoreBusy,       // another program held the database past the busy timeout; nothing changed
    kReadFailed,      // export: the store could not be read (or a profile's lighting rows made)
};

const char* ExchangeResultName(ExchangeResult result);

// Bounds on what an import reads. They sit far above anything the program writes (a model has
// a handful of buttons and lighting modes; the macro editor stops at 200 events per macro) and
// keep a hostile file from turning into millions of rows. The bound on a file's events in all
// also bounds how long an import holds the database's write lock: the largest file takes about
// a second in all (bench/store), inside the two seconds another program waits for the lock.
struct ExchangeLimits {
    static constexpr long long kMaxFileBytes = 16LL * 1024 * 1024;
    static constexpr int kMaxKeyItems = 1000;
    static constexpr int kMaxLightItems = 1000;
    static constexpr int kMaxMacros = 1000;
    static constexpr int kMaxEventsPerMacro = 10000;
    static constexpr int kMaxEventsPerFile = 100000;
};

}  // namespace cursorial
