#include "exchange/ExchangeFile.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "common/xml/XmlDocument.h"

namespace cursorial {

ExchangeResult OpenExchangeFile(XmlDocument& doc, const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return ExchangeResult::kFileUnreadable;
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return ExchangeResult::kFileUnreadable;
    if (size > static_cast<uintmax_t>(ExchangeLimits::kMaxFileBytes)) {
        return ExchangeResult::kTooLarge;
    }
    // Tell "cannot read" apart from "not XML": LoadFile gives one false for both.
    {
        std::unique_ptr<FILE, int (*)(FILE*)> probe(std::fopen(file.c_str(), "rb"), &std::fclose);
        if (!probe)
            return ExchangeResult::kFileUnreadable;
    }
    return doc.LoadFile(file) ? ExchangeResult::kOk : ExchangeResult::kNotWellFormed;
}

}  // namespace cursorial
