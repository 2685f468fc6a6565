// Character classes and the start-tag scanner shared by the parser, attribute access and the
// encoding detection. Everything here works on offsets into one text and never allocates.
#pragma once

#include <cstddef>
#include <string_view>

namespace cursorial::xml {

inline bool IsSpace(char16_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Names: ASCII letters, '_' and ':' start one, digits, '-' and '.' may follow; every character
// from U+0080 up is accepted in both places, as XML accepts nearly all of them.
inline bool IsNameStart(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}
inline bool IsNameChar(char16_t c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool IsValidName(std::u16string_view name);

// End of the name that starts at `pos` (pos itself when there is none).
size_t ScanName(std::u16string_view text, size_t pos);

// One attribute inside a start tag: name [= value]. The value may be quoted with either quote
// or, leniently, unquoted (then it starts right after '=' and ends at white space or '>'); a
// name without a value is accepted too.
struct AttrSpan {
    size_t begin = 0;  // first character of the name
    size_t end = 0;    // one past the value (or the name when there is no value)
    size_t nameEnd = 0;
    size_t valueBegin = 0;  // inside the quotes when quoted
    size_t valueEnd = 0;
    bool hasValue = false;
    bool quoted = false;
};

struct TagEnd {
    bool found = false;  // false: the text ended inside the tag
    bool empty = false;  // closed with "/>"
    size_t end = 0;      // one past '>'
    size_t close = 0;    // offset of "/>" or ">"
};

// Scans the attribute list of a start tag from `pos` (just after its name) to the closing ">" or
// "/>", calling onAttr(const AttrSpan&) for each attribute; onAttr returns false to stop early
// (the result then has found == false). A quoted value may hold '>'. Linear in the tag length.
template <typename OnAttr>
TagEnd ScanAttributes(std::u16string_view text, size_t pos, OnAttr&& onAttr) {
    const size_t n = text.size();
    TagEnd result;
    for (;;) {
        while (pos < n && IsSpace(text[pos]))
            ++pos;
        if (pos >= n)
            return result;
        const char16_t c = text[pos];
        if (c == '>') {
            result = {true, false, pos + 1, pos};
            return result;
        }
        if (c == '/') {
            if (pos + 1 < n && text[pos + 1] == '>') {
                result = {true, true, pos + 2, pos};
                return result;
            }
            ++pos;  // a stray '/' inside the tag
            continue;
        }
        AttrSpan attr;
        attr.begin = pos;
        while (pos < n && !IsSpace(text[pos]) && text[pos] != '=' && text[pos] != '>' &&
               !(text[pos] == '/' && pos + 1 < n && text[pos + 1] == '>')) {
            ++pos;
        }
        attr.nameEnd = pos;
        attr.end = pos;
        size_t look = pos;
        while (look < n && IsSpace(text[look]))
            ++look;
        if (look < n && text[look] == '=') {
            pos = look + 1;
            while (pos < n && IsSpace(text[pos]))
                ++pos;
            if (pos >= n)
                return result;
            attr.hasValue = true;
            const char16_t q = text[pos];
            if (q == '"' || q == '\'') {
                const size_t close = text.find(q, pos + 1);
                if (close == std::u16string_view::npos)
                    return result;
                attr.quoted = true;
                attr.valueBegin = pos + 1;
                attr.valueEnd = close;
                pos = close + 1;
            } else if (IsSpace(text[pos - 1])) {
                // "a= b": only a quoted value may follow white space; otherwise the '=' has
                // an empty value and what follows is the next attribute (so an attribute
                // appended after a dangling '=' is not swallowed as its value).
                pos = look + 1;
                attr.valueBegin = attr.valueEnd = pos;
            } else {
                attr.valueBegin = pos;
                while (pos < n && !IsSpace(text[pos]) && text[pos] != '>')
                    ++pos;
                attr.valueEnd = pos;
            }
            attr.end = pos;
        }
        if (!onAttr(static_cast<const AttrSpan&>(attr)))
            return TagEnd{};
    }
}

}  // namespace cursorial::xml
