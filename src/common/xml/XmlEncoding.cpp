#include "common/xml/XmlEncoding.h"

#include <algorithm>

#include "common/text/WideText.h"
#include "common/xml/CodePages.h"
#include "common/xml/XmlScan.h"

namespace cursorial::xml {

namespace {

constexpr size_t kHeadBytes = 1024;
constexpr auto npos = std::u16string_view::npos;

size_t FindIgnoreCase(std::u16string_view text, std::u16string_view what, size_t from) {
    if (what.size() > text.size())
        return npos;
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        if (EqualsIgnoreAsciiCase(text.substr(i, what.size()), what))
            return i;
    }
    return npos;
}

// The value of the "charset" parameter in a Content-Type value such as
// "text/html; charset=utf-8".
std::u16string_view CharsetParameter(std::u16string_view content) {
    const size_t at = FindIgnoreCase(content, u"charset", 0);
    if (at == npos)
        return {};
    size_t p = at + 7;
    while (p < content.size() && IsSpace(content[p]))
        ++p;
    if (p >= content.size() || content[p] != '=')
        return {};
    ++p;
    while (p < content.size() && IsSpace(content[p]))
        ++p;
    if (p < content.size() && (content[p] == '"' || content[p] == '\''))
        ++p;
    size_t end = p;
    while (end < content.size() && !IsSpace(content[end]) && content[end] != ';' &&
           content[end] != '"' && content[end] != '\'') {
        ++end;
    }
    return content.substr(p, end - p);
}

std::u16string FindMetaCharset(std::u16string_view head) {
    const size_t html = FindIgnoreCase(head, u"<html", 0);
    if (html == npos)
        return {};
    size_t pos = FindIgnoreCase(head, u"<head", html);
    if (pos == npos)
        return {};
    size_t stop =
        std::min(FindIgnoreCase(head, u"</head", pos), FindIgnoreCase(head, u"<body", pos));
    if (stop == npos)
        stop = head.size();
    const std::u16string_view area = head.substr(0, stop);
    while ((pos = FindIgnoreCase(area, u"<meta", pos)) != npos) {
        pos += 5;
        if (pos < area.size() && !IsSpace(area[pos]) && area[pos] != '/')
            continue;
        std::u16string_view charset, httpEquiv, content;
        ScanAttributes(area, pos, [&](const AttrSpan& a) {
            const std::u16string_view name = area.substr(a.begin, a.nameEnd - a.begin);
            const std::u16string_view value = area.substr(a.valueBegin, a.valueEnd - a.valueBegin);
            if (!a.hasValue)
                return true;
            if (EqualsIgnoreAsciiCase(name, u"charset"))
                charset = value;
            if (EqualsIgnoreAsciiCase(name, u"http-equiv"))
                httpEquiv = value;
            if (EqualsIgnoreAsciiCase(name, u"content"))
                content = value;
            return true;
        });
        if (!charset.empty())
            return std::u16string(charset);
        if (EqualsIgnoreAsciiCase(httpEquiv, u"content-type")) {
            const std::u16string_view found = CharsetParameter(content);
            if (!found.empty())
                return std::u16string(found);
        }
    }
    return {};
}

bool IsWideUnicode(int codePage) {
    return codePage == kCodePageUtf16LE || codePage == kCodePageUtf16BE ||
           codePage == kCodePageUtf32LE || codePage == kCodePageUtf32BE;
}

std::u16string_view NameOf(int codePage) {
    switch (codePage) {
        case kCodePageUtf8:
            return u"UTF-8";
        case kCodePageUtf16LE:
            return u"UTF-16LE";
        case kCodePageUtf16BE:
            return u"UTF-16BE";
        case kCodePageUtf32LE:
            return u"UTF-32LE";
        case kCodePageUtf32BE:
            return u"UTF-32BE";
        default:
            return u"";
    }
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

using namespace std::string_view_literals;

// Byte-order marks, longest first: the UTF-32LE mark begins with the UTF-16LE one.
struct Mark {
    std::string_view bytes;
    int codePage;
};
constexpr Mark kMarks[] = {
    {"\xFF\xFE\x00\x00"sv, kCodePageUtf32LE}, {"\x00\x00\xFE\xFF"sv, kCodePageUtf32BE},
    {"\xEF\xBB\xBF"sv, kCodePageUtf8},        {"\xFF\xFE"sv, kCodePageUtf16LE},
    {"\xFE\xFF"sv, kCodePageUtf16BE},
};

// '<' as the first character of a file without a mark, in the wide forms.
constexpr Mark kWideStarts[] = {
    {"<\x00\x00\x00"sv, kCodePageUtf32LE},
    {"\x00\x00\x00<"sv, kCodePageUtf32BE},
    {"<\x00"sv, kCodePageUtf16LE},
    {"\x00<"sv, kCodePageUtf16BE},
};

}  // namespace

std::u16string FindDeclaredEncoding(std::u16string_view head) {
    size_t p = 0;
    while (p < head.size() && (IsSpace(head[p]) || head[p] == 0xFEFF))
        ++p;
    if (head.substr(p, 5) == u"<?xml" && p + 5 < head.size() && IsSpace(head[p + 5])) {
        std::u16string encoding;
        ScanAttributes(head, p + 5, [&](const AttrSpan& a) {
            if (a.hasValue && head.substr(a.begin, a.nameEnd - a.begin) == u"encoding") {
                encoding = head.substr(a.valueBegin, a.valueEnd - a.valueBegin);
                return false;
            }
            return true;
        });
        return encoding;
    }
    return FindMetaCharset(head);
}

std::u16string DecodeDocument(std::string_view bytes, ResultNotes& notes) {
    int codePage = 0;
    std::u16string name;
    for (const Mark& mark : kMarks) {
        if (StartsWith(bytes, mark.bytes)) {
            codePage = mark.codePage;
            name = NameOf(codePage);
            bytes.remove_prefix(mark.bytes.size());
            notes.Add("bom", {{"encoding", name}});
            break;
        }
    }
    if (codePage == 0) {
        for (const Mark& start : kWideStarts) {
            if (StartsWith(bytes, start.bytes)) {
                codePage = start.codePage;
                name = NameOf(codePage);
                break;
            }
        }
    }
    if (codePage == 0) {
        name = FindDeclaredEncoding(FromUtf8(bytes.substr(0, kHeadBytes)));
        codePage = CodePageFromName(name);
        if (IsWideUnicode(codePage)) {
            notes.Add("read",
                      {{"encoding", name}, {"msg", "declaration ignored: not a wide file"}});
            name.clear();
            codePage = 0;
        }
        if (name.empty() && !bytes.empty() && bytes[0] == '<') {
            name = u"UTF-8";
            codePage = kCodePageUtf8;
        }
    }
    if (codePage == kCodePageUtf16BE || codePage == kCodePageUtf32BE)
        notes.Add("endian_swap");
    if (name.empty()) {
        const bool utf8 = IsValidUtf8(bytes);
        notes.Add("utf8_detection", {{"msg", utf8 ? "valid" : "invalid"}});
        codePage = utf8 ? kCodePageUtf8 : kAnsiCodePage;
        name = utf8 ? u"UTF-8" : u"";
    }
    if (codePage == 0 || !CanConvert(codePage)) {
        notes.Add("read", {{"encoding", name}, {"msg", "unknown encoding: ANSI code page used"}});
        codePage = kAnsiCodePage;
    }
    notes.Add("read", {{"encoding", name}, {"length", bytes.size()}});
    return DecodeBytes(bytes, codePage);
}

std::string EncodeDocument(std::u16string_view text, ResultNotes& notes) {
    std::u16string name = FindDeclaredEncoding(text.substr(0, kHeadBytes));
    if (name.empty())
        name = u"UTF-8";
    int codePage = CodePageFromName(name);
    if (codePage == 0 || !CanConvert(codePage)) {
        notes.Add("write", {{"encoding", name}, {"msg", "unknown encoding: ANSI code page used"}});
        codePage = kAnsiCodePage;
    }
    size_t lost = 0;
    std::string bytes = EncodeText(text, codePage, &lost);
    notes.Add("converted_from", {{"encoding", "UTF-16"}, {"length", text.size()}});
    if (lost > 0)
        notes.Add("conversion_loss", {{"encoding", name}, {"count", lost}});
    notes.Add("write", {{"encoding", name}, {"length", bytes.size()}});
    return bytes;
}

}  // namespace cursorial::xml
