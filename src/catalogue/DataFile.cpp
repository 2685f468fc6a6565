#include "catalogue/DataFile.h"

#include <system_error>

#include "common/xml/XmlDocument.h"

namespace cursorial {

const char* DataFileStatusName(DataFileStatus status) {
    switch (status) {
        case DataFileStatus::kOk:
            return "ok";
        case DataFileStatus::kMissing:
            return "file missing";
        case DataFileStatus::kMalformed:
            return "not well-formed";
        case DataFileStatus::kWrongRoot:
            return "wrong root element";
        case DataFileStatus::kNoSection:
            return "required element missing";
    }
    return "unknown";
}

namespace {

DataFileStatus EnterRoot(XmlDocument& doc, std::u16string_view root) {
    if (!doc.FindElement(root) || !doc.EnterElement())
        return DataFileStatus::kWrongRoot;
    return DataFileStatus::kOk;
}

}  // namespace

DataFileStatus OpenDataFile(XmlDocument& doc, const std::filesystem::path& path,
                            std::u16string_view root) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return DataFileStatus::kMissing;
    if (!doc.LoadFile(path))
        return DataFileStatus::kMalformed;
    return EnterRoot(doc, root);
}

DataFileStatus OpenDataText(XmlDocument& doc, std::u16string_view text, std::u16string_view root) {
    if (!doc.SetText(text))
        return DataFileStatus::kMalformed;
    return EnterRoot(doc, root);
}

}  // namespace cursorial
