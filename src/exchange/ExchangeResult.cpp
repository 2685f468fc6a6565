#include "exchange/ExchangeResult.h"

namespace cursorial {

const char* ExchangeResultName(ExchangeResult result) {
    switch (result) {
        case ExchangeResult::kOk:
            return "ok";
        case ExchangeResult::kCancelled:
            return "cancelled";
        case ExchangeResult::kFileUnreadable:
            return "file unreadable";
        case ExchangeResult::kNotWellFormed:
            return "not well-formed XML";
        case ExchangeResult::kWrongRoot:
            return "wrong root element";
        case ExchangeResult::kTooLarge:
            return "too large";
        case ExchangeResult::kNotFound:
            return "not found";
        case ExchangeResult::kWriteFailed:
            return "write failed";
        case ExchangeResult::kStoreBusy:
            return "the database is busy (another program holds it)";
        case ExchangeResult::kReadFailed:
            return "the database could not be read";
    }
    return "unknown";
}

}  // namespace cursorial
