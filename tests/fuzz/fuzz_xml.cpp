// Fuzz target for XmlDocument, the reader of exchange files that come from other people.
// Decodes the input as a file would be, parses it, walks it, and on well-formed input edits it
// and checks that the edits read back and leave the document well-formed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/xml/XmlDocument.h"
#include "common/xml/XmlEncoding.h"
#include "common/xml/XmlNotes.h"
#include "common/xml/XmlScan.h"

namespace {

using cursorial::XmlDocument;

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Distinct names that appear after '<' (tag names) or before '=' (attribute names).
std::vector<std::u16string> Names(std::u16string_view text, bool tags, size_t max) {
    std::vector<std::u16string> names;
    for (size_t i = 0; i < text.size() && names.size() < max; ++i) {
        if (tags ? text[i] != '<' : !cursorial::xml::IsNameStart(text[i]))
            continue;
        const size_t begin = tags ? i + 1 : i;
        const size_t end = cursorial::xml::ScanName(text, begin);
        if (end == begin || (!tags && (end >= text.size() || text[end] != '=')))
            continue;
        std::u16string name(text.substr(begin, end - begin));
        bool seen = false;
        for (const auto& n : names)
            seen = seen || n == name;
        if (!seen)
            names.push_back(std::move(name));
        i = end - 1;
    }
    return names;
}

void Walk(XmlDocument& doc, const std::vector<std::u16string>& tags,
          const std::vector<std::u16string>& attrs) {
    for (int steps = 0; steps < 2000; ++steps) {
        bool found = false;
        for (const auto& tag : tags) {
            if (doc.FindElement(tag)) {
                found = true;
                for (const auto& attr : attrs)
                    doc.GetAttribute(attr);
                break;
            }
        }
        if (found) {
            Check(doc.EnterElement());
        } else if (!doc.LeaveElement()) {
            break;
        }
    }
}

void Edit(const std::u16string& text, const std::vector<std::u16string>& tags,
          const std::vector<std::u16string>& attrs) {
    XmlDocument doc;
    Check(doc.SetText(text));
    bool root = false;
    for (const auto& tag : tags)
        root = root || doc.FindElement(tag);
    if (!root)
        return;
    // Rewrite an attribute the root may have, in whatever form it was written.
    if (!attrs.empty() && cursorial::xml::IsValidName(attrs[0])) {
        Check(doc.SetAttribute(attrs[0], u"q<&'\""));
        Check(doc.GetAttribute(attrs[0]) == u"q<&'\"");
    }
    Check(doc.EnterElement());
    Check(doc.AddElement(u"fz"));
    const std::u16string value = text.substr(0, 40);
    Check(doc.SetAttribute(u"v", value));
    Check(doc.GetAttribute(u"v") == value);
    Check(doc.SetAttribute(u"v", 12));
    Check(doc.GetAttribute(u"v") == u"12");
    Check(doc.AddElement(u"fy"));
    Check(doc.EnterElement());
    Check(doc.AddElement(u"fx"));
    Check(doc.IsWellFormed());
    XmlDocument again;
    Check(again.SetText(doc.GetText()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    cursorial::xml::ResultNotes notes;
    const std::u16string text = cursorial::xml::DecodeDocument(bytes, notes);

    XmlDocument doc;
    const bool wellFormed = doc.SetText(text);
    Check(doc.GetResult().size() < 2000);
    const auto tags = Names(text, true, 8);
    const auto attrs = Names(text, false, 8);
    Walk(doc, tags, attrs);
    if (wellFormed)
        Edit(text, tags, attrs);

    // The file path reads the same text.
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fuzz_xml_" + std::to_string(getpid()) + ".xml");
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        const bool written = std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) == 0 && written) {
            XmlDocument loaded;
            Check(loaded.LoadFile(path) == wellFormed);
            Check(loaded.GetText() == text);
            Check(loaded.SaveFile(path));
        }
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    return 0;
}
