// Character references in attribute values: decoding on read, escaping on write.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cursorial::xml {

struct NamedEntity {
    std::u16string_view name;
    char16_t value;
};

// The five XML references and the 252 character entity references of HTML 4.01 (which share
// lt, gt, amp and quot): 253 entries.
std::span<const NamedEntity> EntityTable();

// The character of a named reference (the name without '&' and ';'), or 0 when it is none.
// Names are matched as HTML defines them, with letter case; a name that matches no entry that
// way but exactly one entry when ASCII letter case is ignored ("AMP", "Nbsp") takes that entry.
// Names that differ only in case ("Eacute"/"eacute", "Dagger"/"dagger", "lArr"/"larr") stay
// apart, and a spelling that could mean either ("EACUTE") is not recognised.
char16_t LookupEntity(std::u16string_view name);

// Replaces every character reference in `value` by its character:
//   &#DDD; and &#xHHH; (also &#XHHH;) give that code point, above U+FFFF as a surrogate pair,
//   with any number of leading zeros;
//   &name; (at most nine ASCII characters) is looked up with LookupEntity.
// A reference that gives nothing usable is copied unchanged: an unknown name, code point 0, a
// surrogate code point (U+D800..U+DFFF, which would put a lone surrogate into the text) and
// anything above U+10FFFF.
std::u16string DecodeReferences(std::u16string_view value);

// < & > ' " become &lt; &amp; &gt; &apos; &quot;; every other character is copied.
std::u16string EscapeAttribute(std::u16string_view value);

}  // namespace cursorial::xml
