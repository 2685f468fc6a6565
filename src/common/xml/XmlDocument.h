// XmlDocument: the one reader and writer for every XML file the programs touch.
//
// The document is its full text (UTF-16) plus an index of element positions over that text.
// Readers navigate with a current position (FindElement / EnterElement / LeaveElement) and read
// attributes; writers append elements and attributes, each edit being a splice of the text.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace cursorial {

class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Reads a file with encoding detection and parses it. True only when the file was read and
    // the document is well-formed (exactly one top-level element, no syntax faults).
    //
    // Running out of memory is a failure like any other: a load gives false and an empty
    // document (note "out_of_memory"), an edit gives false and leaves the text unchanged.
    bool LoadFile(const std::filesystem::path& path);
    // Replaces the text and parses it; returns its well-formedness.
    bool SetText(std::u16string_view text);
    // Writes the text in its declared encoding (UTF-8 when none), without a byte-order mark.
    bool SaveFile(const std::filesystem::path& path);

    bool FindElement(std::u16string_view name);
    bool EnterElement();
    bool LeaveElement();
    // Attribute of the current element with character references decoded; empty when absent.
    std::u16string GetAttribute(std::u16string_view name) const;

    bool AddElement(std::u16string_view name);
    bool SetAttribute(std::u16string_view name, std::u16string_view value);
    bool SetAttribute(std::u16string_view name, int value);

    const std::u16string& GetText() const;
    // Diagnostic notes of the last load, parse or save (capped; never shown to the user).
    const std::u16string& GetResult() const;
    bool IsWellFormed() const;

private:
    // The work of the operations above; std::bad_alloc passes through to them.
    bool LoadFileOrThrow(const std::filesystem::path& path);
    bool AddElementOrThrow(std::u16string_view name);
    bool SetAttributeOrThrow(std::u16string_view name, std::u16string_view value);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace cursorial
