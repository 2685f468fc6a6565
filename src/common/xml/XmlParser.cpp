#include "common/xml/XmlParser.h"

#include <unordered_map>

#include "common/xml/XmlScan.h"

namespace cursorial::xml {

namespace {

constexpr auto npos = std::u16string_view::npos;

bool StartsAt(std::u16string_view text, size_t pos, std::u16string_view what) {
    return text.size() - pos >= what.size() && text.compare(pos, what.size(), what) == 0;
}

bool StartsAtIgnoreCase(std::u16string_view text, size_t pos, std::u16string_view what) {
    if (text.size() - pos < what.size())
        return false;
    for (size_t i = 0; i < what.size(); ++i) {
        char16_t c = text[pos + i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char16_t>(c - 'a' + 'A');
        if (c != what[i])
            return false;
    }
    return true;
}

// End of a document type declaration that starts at `pos` ("<!DOCTYPE"), or npos when the text
// ends first. The internal subset in brackets may hold quoted strings, comments and markup
// declarations, all of which may contain '>'.
size_t ScanDoctype(std::u16string_view text, size_t pos) {
    const size_t n = text.size();
    int depth = 0;
    for (pos += 9; pos < n; ++pos) {
        const char16_t c = text[pos];
        if (c == '"' || c == '\'') {
            pos = text.find(c, pos + 1);
            if (pos == npos)
                return npos;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            if (depth > 0)
                --depth;
        } else if (c == '<' && depth > 0 && StartsAt(text, pos, u"<!--")) {
            pos = text.find(u"-->", pos + 4);
            if (pos == npos)
                return npos;
            pos += 2;
        } else if (c == '>' && depth == 0) {
            return pos + 1;
        }
    }
    return npos;
}

class Parser {
public:
    Parser(std::u16string_view text, ElementIndex& index, ResultNotes& notes)
        : text_(text), index_(index), notes_(notes) {}

    void Run();

private:
    void Fault(const char* note, size_t offset) {
        index_[0].illFormed = true;
        notes_.Add(note, {{"offset", offset}});
    }
    void Unterminated(const char* kind, size_t offset) {
        index_[0].illFormed = true;
        notes_.Add("unterminated_tag_syntax", {{"type", kind}, {"offset", offset}});
    }
    int Current() const { return open_.empty() ? 0 : open_.back(); }
    std::u16string_view NameOf(int pos) const {
        return text_.substr(index_[pos].start + 1, index_[pos].nameLength);
    }
    // Returns the offset to go on from, or npos to stop (the text ended inside a construct).
    size_t StartTag(size_t lt);
    size_t EndTag(size_t lt);
    size_t Exclamation(size_t lt);
    // Closes the innermost open element, ending it at `end`; a still-open element that has no
    // end tag of its own is noted as unended.
    void Close(size_t end, size_t endTagLength);

    std::u16string_view text_;
    ElementIndex& index_;
    ResultNotes& notes_;
    std::vector<int> open_;
    // How many elements of each name are open: an end tag whose name has none is a stray one,
    // found without walking the open elements (which would be quadratic on hostile input).
    std::unordered_map<std::u16string_view, int> openNames_;
    bool seenElement_ = false;
    bool seenDoctype_ = false;
};

void Parser::Run() {
    const size_t n = text_.size();
    size_t pos = 0;
    while (pos < n) {
        const size_t lt = text_.find('<', pos);
        if (lt == npos)
            break;
        if (lt + 1 >= n) {
            Unterminated("tag", lt);
            break;
        }
        const char16_t c = text_[lt + 1];
        if (c == '/') {
            pos = EndTag(lt);
        } else if (c == '!') {
            pos = Exclamation(lt);
        } else if (c == '?') {
            const size_t close = text_.find(u"?>", lt + 2);
            if (close == npos) {
                Unterminated("processing_instruction", lt);
                break;
            }
            pos = close + 2;
        } else if (IsNameStart(c)) {
            pos = StartTag(lt);
        } else {
            Fault("first_tag_syntax", lt);
            pos = lt + 1;
        }
        if (pos == npos)
            break;
    }
    // Whatever is still open ends with the text.
    while (!open_.empty())
        Close(n, 0);
    // Not a syntax fault: a writer's new document has no element yet, and the count of
    // top-level elements decides well-formedness anyway.
    if (index_.TopLevelCount() == 0)
        notes_.Add("no_root_element");
}

size_t Parser::StartTag(size_t lt) {
    const size_t nameEnd = ScanName(text_, lt + 1);
    const TagEnd tag = ScanAttributes(text_, nameEnd, [](const AttrSpan&) { return true; });
    if (!tag.found) {
        Unterminated("start_tag", lt);
        return npos;
    }
    const int parent = Current();
    const int pos = index_.Insert(parent, index_[parent].lastChild);
    ElementRecord& rec = index_[pos];
    rec.start = lt;
    rec.startTagLength = tag.end - lt;
    rec.nameLength = static_cast<uint32_t>(nameEnd - lt - 1);
    rec.empty = tag.empty;
    seenElement_ = true;
    if (parent == 0 && index_.TopLevelCount() == 2) {
        notes_.Add("root_has_sibling", {{"tagname", NameOf(pos)}, {"offset", lt}});
    }
    if (tag.empty) {
        rec.length = rec.startTagLength;
    } else {
        open_.push_back(pos);
        ++openNames_[NameOf(pos)];
    }
    return tag.end;
}

size_t Parser::EndTag(size_t lt) {
    const size_t n = text_.size();
    const size_t nameStart = lt + 2;
    if (nameStart >= n) {
        Unterminated("end_tag", lt);
        return npos;
    }
    if (!IsNameStart(text_[nameStart])) {
        Fault("first_tag_syntax", lt);
        return lt + 1;
    }
    const size_t nameEnd = ScanName(text_, nameStart);
    size_t p = nameEnd;
    while (p < n && IsSpace(text_[p]))
        ++p;
    if (p >= n) {
        Unterminated("end_tag", lt);
        return npos;
    }
    if (text_[p] != '>') {
        // Something other than white space after the name: the end tag is not closed where it
        // should be. Resume after the next '>'.
        Unterminated("end_tag", lt);
        p = text_.find('>', p);
        if (p == npos)
            return npos;
    }
    const size_t end = p + 1;
    const std::u16string_view name = text_.substr(nameStart, nameEnd - nameStart);
    const auto it = openNames_.find(name);
    if (it == openNames_.end() || it->second == 0) {
        index_[0].illFormed = true;
        index_[Current()].illFormed = true;
        notes_.Add("lone_end_tag", {{"tagname", name}, {"offset", lt}});
        return end;
    }
    // Elements opened inside the one this tag closes were never closed themselves: they end
    // where this end tag begins.
    while (NameOf(open_.back()) != name)
        Close(lt, 0);
    Close(end, end - lt);
    return end;
}

void Parser::Close(size_t end, size_t endTagLength) {
    const int pos = open_.back();
    open_.pop_back();
    ElementRecord& rec = index_[pos];
    rec.length = end - rec.start;
    rec.endTagLength = endTagLength;
    auto it = openNames_.find(NameOf(pos));
    if (--it->second == 0)
        openNames_.erase(it);
    if (endTagLength == 0) {
        rec.illFormed = true;
        index_[0].illFormed = true;
        notes_.Add("unended_start_tag", {{"tagname", NameOf(pos)}, {"offset", rec.start}});
    }
}

size_t Parser::Exclamation(size_t lt) {
    const size_t n = text_.size();
    if (StartsAt(text_, lt, u"<!--")) {
        const size_t close = text_.find(u"-->", lt + 4);
        if (close == npos) {
            Unterminated("comment", lt);
            return npos;
        }
        return close + 3;
    }
    if (StartsAt(text_, lt, u"<!-")) {
        Fault("comment_tag_syntax", lt);
        return lt + 2;
    }
    if (StartsAt(text_, lt, u"<![CDATA[")) {
        const size_t close = text_.find(u"]]>", lt + 9);
        if (close == npos) {
            Unterminated("cdata_section", lt);
            return npos;
        }
        // Character data has no place outside the root element.
        if (open_.empty())
            Fault("cdata_section_syntax", lt);
        return close + 3;
    }
    if (StartsAt(text_, lt, u"<![")) {
        Fault("cdata_section_syntax", lt);
        return lt + 2;
    }
    if (StartsAtIgnoreCase(text_, lt, u"<!DOCTYPE") && lt + 9 < n && IsSpace(text_[lt + 9])) {
        const size_t end = ScanDoctype(text_, lt);
        if (end == npos) {
            Unterminated("document_type", lt);
            return npos;
        }
        // One declaration, before the first element.
        if (seenDoctype_ || seenElement_)
            Fault("doctype_tag_syntax", lt);
        seenDoctype_ = true;
        return end;
    }
    if (lt + 2 >= n) {
        Unterminated("tag", lt);
        return npos;
    }
    if (text_[lt + 2] == 'D' || text_[lt + 2] == 'd') {
        Fault("doctype_tag_syntax", lt);
        return lt + 2;
    }
    Fault("exclamation_tag_syntax", lt);
    return lt + 2;
}

}  // namespace

void Parse(std::u16string_view text, ElementIndex& index, ResultNotes& notes) {
    index.Clear();
    // The index grows with the elements actually found. Sizing it from the count of '<' would
    // let a text of '<' inside a comment claim a record per character.
    Parser(text, index, notes).Run();
}

bool IsValidName(std::u16string_view name) {
    return !name.empty() && IsNameStart(name[0]) && ScanName(name, 0) == name.size();
}

size_t ScanName(std::u16string_view text, size_t pos) {
    if (pos >= text.size() || !IsNameStart(text[pos]))
        return pos;
    ++pos;
    while (pos < text.size() && IsNameChar(text[pos]))
        ++pos;
    return pos;
}

void ElementIndex::Clear() {
    records_.assign(1, ElementRecord{});
    topLevelCount_ = 0;
}

void ElementIndex::ReserveOneMore() {
    if (records_.size() == records_.capacity())
        records_.reserve(records_.size() * 2);
}

int ElementIndex::Insert(int parent, int prev) {
    const int pos = Size();
    records_.emplace_back();
    ElementRecord& rec = records_.back();
    ElementRecord& up = (*this)[parent];
    rec.parent = parent;
    rec.prev = prev;
    rec.next = prev != 0 ? (*this)[prev].next : up.firstChild;
    if (prev != 0) {
        (*this)[prev].next = pos;
    } else {
        up.firstChild = pos;
    }
    if (rec.next != 0) {
        (*this)[rec.next].prev = pos;
    } else {
        up.lastChild = pos;
    }
    if (parent == 0)
        ++topLevelCount_;
    return pos;
}

void ElementIndex::ShiftSubtree(int root, std::ptrdiff_t delta) {
    // Pre-order walk over the parent links: no recursion, whatever the depth.
    int pos = root;
    for (;;) {
        ElementRecord& rec = (*this)[pos];
        rec.start = static_cast<size_t>(static_cast<std::ptrdiff_t>(rec.start) + delta);
        if (rec.firstChild != 0) {
            pos = rec.firstChild;
            continue;
        }
        while (pos != root && (*this)[pos].next == 0)
            pos = (*this)[pos].parent;
        if (pos == root)
            return;
        pos = (*this)[pos].next;
    }
}

void ElementIndex::Shift(size_t pos, std::ptrdiff_t delta, int container) {
    // Only what follows the edit moves: the container's children from `pos` on, then the
    // following siblings of the container and of each of its ancestors. A writer appending
    // at the end touches next to nothing.
    for (int child = (*this)[container].lastChild; child != 0 && (*this)[child].start >= pos;) {
        const int prev = (*this)[child].prev;
        ShiftSubtree(child, delta);
        child = prev;
    }
    for (int up = container; up != 0; up = (*this)[up].parent) {
        ElementRecord& rec = (*this)[up];
        rec.length = static_cast<size_t>(static_cast<std::ptrdiff_t>(rec.length) + delta);
        for (int sibling = rec.next; sibling != 0; sibling = (*this)[sibling].next) {
            ShiftSubtree(sibling, delta);
        }
    }
}

}  // namespace cursorial::xml
