#include "common/xml/XmlDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "common/text/WideText.h"
#include "common/xml/XmlEncoding.h"
#include "common/xml/XmlEntities.h"
#include "common/xml/XmlNotes.h"
#include "common/xml/XmlParser.h"
#include "common/xml/XmlScan.h"

namespace cursorial {

using xml::ElementIndex;
using xml::ElementRecord;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::u16string_view kNewLine = u"\r\n";

}  // namespace

struct XmlDocument::Impl {
    std::u16string text;
    ElementIndex index;
    // Navigation: the current element (main), the element whose children are being walked
    // (parent) and, after LeaveElement, the child that was current (child). 0 is none; a main
    // position of 0 means "before the parent's first child".
    int parent = 0;
    int main = 0;
    int child = 0;
    bool readFileMode = false;
    bool writeFileMode = false;
    xml::ResultNotes notes;

    bool FileMode() const { return readFileMode || writeFileMode; }
    // After an allocation failed: an empty document (memory given back) that says why.
    void OutOfMemory() {
        std::u16string().swap(text);
        index.Clear();
        parent = main = child = 0;
        readFileMode = writeFileMode = false;
        notes.Clear();
        NoteOutOfMemory();
    }
    void NoteOutOfMemory() {
        try {
            notes.Add("out_of_memory");
        } catch (const std::bad_alloc&) {
        }
    }
    void ParseText() {
        xml::Parse(text, index, notes);
        parent = main = child = 0;
    }
    std::u16string_view NameOf(int pos) const {
        return std::u16string_view(text).substr(index[pos].start + 1, index[pos].nameLength);
    }
    // Inserts `insert` at `pos`, replacing `remove` characters, inside `container`.
    void Splice(size_t pos, size_t remove, std::u16string_view insert, int container) {
        text.replace(pos, remove, insert);
        const auto delta =
            static_cast<std::ptrdiff_t>(insert.size()) - static_cast<std::ptrdiff_t>(remove);
        index.Shift(pos, delta, container);
    }
    // The insertion point after element `pos`: past the line break that follows it.
    size_t After(int pos) const {
        size_t at = index[pos].End();
        if (std::u16string_view(text).substr(at, 2) == kNewLine)
            at += 2;
        return at;
    }
};

XmlDocument::XmlDocument() : impl_(std::make_unique<Impl>()) {}
XmlDocument::~XmlDocument() = default;

bool XmlDocument::LoadFile(const std::filesystem::path& path) {
    Impl& d = *impl_;
    if (d.FileMode())
        return false;
    try {
        return LoadFileOrThrow(path);
    } catch (const std::bad_alloc&) {
        d.OutOfMemory();
        return false;
    }
}

bool XmlDocument::LoadFileOrThrow(const std::filesystem::path& path) {
    Impl& d = *impl_;
    d.notes.Clear();
    d.text.clear();
    d.index.Clear();
    d.parent = d.main = d.child = 0;

    // Read to the end rather than trusting a size found by seeking: that also covers pipes,
    // and a directory fails here instead of reporting an absurd length.
    d.readFileMode = true;
    std::string bytes;
    int error = 0;
    bool read = false;
    if (FilePtr file{std::fopen(path.c_str(), "rb")}) {
        std::error_code ignored;
        const auto size = std::filesystem::file_size(path, ignored);
        if (!ignored && size < (size_t{1} << 30))
            bytes.reserve(size);
        char chunk[1 << 16];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
            bytes.append(chunk, got);
        read = std::ferror(file.get()) == 0;
        if (!read)
            error = errno;
    } else {
        error = errno;
    }
    d.readFileMode = false;
    if (!read) {
        d.notes.Add("file_error", {{"msg", std::strerror(error)}});
        return false;
    }
    d.text = xml::DecodeDocument(bytes, d.notes);
    d.ParseText();
    return d.index.WellFormed();
}

bool XmlDocument::SetText(std::u16string_view text) {
    Impl& d = *impl_;
    if (d.FileMode())
        return false;
    try {
        d.notes.Clear();
        d.text.assign(text);
        d.ParseText();
        return d.index.WellFormed();
    } catch (const std::bad_alloc&) {
        d.OutOfMemory();
        return false;
    }
}

bool XmlDocument::SaveFile(const std::filesystem::path& path) {
    Impl& d = *impl_;
    if (d.FileMode())
        return false;
    d.notes.Clear();
    std::string bytes;
    try {
        bytes = xml::EncodeDocument(d.text, d.notes);
    } catch (const std::bad_alloc&) {
        d.notes.Clear();
        d.NoteOutOfMemory();
        return false;
    }
    d.writeFileMode = true;
    bool ok = false;
    int error = 0;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (!ok)
            error = errno;
        // The data reaches the disk (or fails to) when the file is closed.
        if (std::fclose(file) != 0 && ok) {
            ok = false;
            error = errno;
        }
    } else {
        error = errno;
    }
    d.writeFileMode = false;
    if (!ok)
        d.notes.Add("file_error", {{"msg", std::strerror(error)}});
    return ok;
}

bool XmlDocument::FindElement(std::u16string_view name) {
    Impl& d = *impl_;
    int pos = d.main != 0 ? d.index[d.main].next : d.index[d.parent].firstChild;
    for (; pos != 0; pos = d.index[pos].next) {
        if (d.NameOf(pos) == name) {
            d.main = pos;
            d.child = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement() {
    Impl& d = *impl_;
    if (d.main == 0)
        return false;
    d.parent = d.main;
    d.main = d.child;
    d.child = 0;
    return true;
}

bool XmlDocument::LeaveElement() {
    Impl& d = *impl_;
    if (d.parent == 0)
        return false;
    d.child = d.main;
    d.main = d.parent;
    d.parent = d.index[d.parent].parent;
    return true;
}

std::u16string XmlDocument::GetAttribute(std::u16string_view name) const {
    const Impl& d = *impl_;
    if (d.main == 0)
        return {};
    const ElementRecord& rec = d.index[d.main];
    const std::u16string_view tag =
        std::u16string_view(d.text).substr(rec.start, rec.startTagLength);
    std::u16string value;
    try {
        xml::ScanAttributes(tag, 1 + rec.nameLength, [&](const xml::AttrSpan& a) {
            if (tag.substr(a.begin, a.nameEnd - a.begin) != name)
                return true;
            value = xml::DecodeReferences(tag.substr(a.valueBegin, a.valueEnd - a.valueBegin));
            return false;
        });
    } catch (const std::bad_alloc&) {
        return {};
    }
    return value;
}

bool XmlDocument::AddElement(std::u16string_view name) {
    Impl& d = *impl_;
    if (d.FileMode() || !xml::IsValidName(name))
        return false;
    // Every allocation comes before the text changes (the splice itself either happens or
    // not), so a failed one leaves the document as it was.
    try {
        return AddElementOrThrow(name);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool XmlDocument::AddElementOrThrow(std::u16string_view name) {
    Impl& d = *impl_;
    d.index.ReserveOneMore();
    std::u16string piece;
    piece.reserve(name.size() + 5);
    piece += u'<';
    piece += name;
    piece += u"/>";
    piece += kNewLine;

    const int parent = d.parent;
    const int prev = d.main != 0 ? d.main : d.index[parent].lastChild;
    size_t at;
    size_t startInPiece = 0;
    if (prev != 0) {
        at = d.After(prev);
        d.Splice(at, 0, piece, parent);
    } else if (parent == 0) {
        at = d.text.size();
        d.Splice(at, 0, piece, 0);
    } else if (d.index[parent].empty) {
        // "<parent .../>" becomes "<parent ...>" CR LF child "</parent>".
        ElementRecord& up = d.index[parent];
        const size_t close = up.start + up.startTagLength - 2;
        // After a stray '/' ("<a b//>") a bare '>' would make "/>" again.
        std::u16string replacement = d.text[close - 1] == '/' ? u" >" : u">";
        const size_t startTagLength = close - up.start + replacement.size();
        replacement += kNewLine;
        startInPiece = replacement.size();
        replacement += piece;
        const size_t endTagStart = replacement.size();
        replacement += u"</";
        replacement += d.NameOf(parent);
        replacement += u'>';
        at = close;
        d.Splice(at, 2, replacement, parent);
        ElementRecord& rewritten = d.index[parent];
        rewritten.empty = false;
        rewritten.startTagLength = startTagLength;
        rewritten.endTagLength = replacement.size() - endTagStart;
    } else {
        // A parent with an end tag (or none, when it was never closed) but no child elements:
        // the child goes on its own line just before the end tag.
        const ElementRecord& up = d.index[parent];
        at = up.End() - up.endTagLength;
        if (at == 0 || d.text[at - 1] != '\n') {
            piece.insert(0, kNewLine);
            startInPiece = kNewLine.size();
        }
        d.Splice(at, 0, piece, parent);
    }
    const int pos = d.index.Insert(parent, prev);
    ElementRecord& rec = d.index[pos];
    rec.start = at + startInPiece;
    rec.nameLength = static_cast<uint32_t>(name.size());
    rec.startTagLength = name.size() + 3;
    rec.length = rec.startTagLength;
    rec.empty = true;
    d.main = pos;
    d.child = 0;
    return true;
}

bool XmlDocument::SetAttribute(std::u16string_view name, std::u16string_view value) {
    Impl& d = *impl_;
    if (d.FileMode() || d.main == 0 || !xml::IsValidName(name))
        return false;
    // As in AddElement: the text changes only after the last allocation.
    try {
        return SetAttributeOrThrow(name, value);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool XmlDocument::SetAttributeOrThrow(std::u16string_view name, std::u16string_view value) {
    Impl& d = *impl_;
    const ElementRecord& rec = d.index[d.main];
    const std::u16string_view tag =
        std::u16string_view(d.text).substr(rec.start, rec.startTagLength);
    const std::u16string escaped = xml::EscapeAttribute(value);
    bool found = false;
    xml::AttrSpan hit;
    const xml::TagEnd end =
        xml::ScanAttributes(tag, 1 + rec.nameLength, [&](const xml::AttrSpan& a) {
            if (tag.substr(a.begin, a.nameEnd - a.begin) != name)
                return true;
            found = true;
            hit = a;
            return false;
        });
    size_t at;
    size_t remove;
    std::u16string insert;
    if (found && hit.quoted) {
        at = rec.start + hit.valueBegin;
        remove = hit.valueEnd - hit.valueBegin;
        insert = escaped;
    } else {
        insert = name;
        insert += u"=\"";
        insert += escaped;
        insert += u'"';
        if (found) {  // unquoted or without a value: rewrite the whole attribute
            at = rec.start + hit.begin;
            remove = hit.end - hit.begin;
        } else {
            if (!end.found)
                return false;
            // Before "/>" or ">", after any white space already there.
            size_t close = end.close;
            while (close > 1 + rec.nameLength && xml::IsSpace(tag[close - 1]))
                --close;
            at = rec.start + close;
            remove = 0;
            insert.insert(0, 1, u' ');
        }
    }
    const int main = d.main;
    d.Splice(at, remove, insert, main);
    d.index[main].startTagLength += insert.size();
    d.index[main].startTagLength -= remove;
    return true;
}

bool XmlDocument::SetAttribute(std::u16string_view name, int value) {
    return SetAttribute(name, FormatW("%d", value));
}

const std::u16string& XmlDocument::GetText() const {
    return impl_->text;
}
const std::u16string& XmlDocument::GetResult() const {
    return impl_->notes.Text();
}
bool XmlDocument::IsWellFormed() const {
    return impl_->index.WellFormed();
}

}  // namespace cursorial
