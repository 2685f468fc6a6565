// Opening the program's own XML data files (catalogue and model descriptions).
#pragma once

#include <filesystem>
#include <string_view>

namespace cursorial {

class XmlDocument;

// Why a data file gave nothing. Callers that only need "usable or not" compare with kOk; the
// command-line tool and the tests tell the cases apart.
enum class DataFileStatus {
    kOk,
    kMissing,    // no file at the path (or not a regular file)
    kMalformed,  // unreadable or not well-formed XML
    kWrongRoot,  // well-formed, but the expected top-level element is not there
    kNoSection,  // the root is there, but the element the reader needs is not
};

const char* DataFileStatusName(DataFileStatus status);

// Loads `path` into `doc`, finds the top-level element `root` and enters it, so the next
// FindElement searches the root's children from the first. On any status but kOk the document
// is left in no particular state.
DataFileStatus OpenDataFile(XmlDocument& doc, const std::filesystem::path& path,
                            std::u16string_view root);

// The same for a document given as text (tests, tools): kMalformed when it is not well-formed.
DataFileStatus OpenDataText(XmlDocument& doc, std::u16string_view text, std::u16string_view root);

}  // namespace cursorial
