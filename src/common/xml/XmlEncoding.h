// From the bytes of a file to the document text and back: byte-order marks, declared
// encodings, UTF-8 detection and the conversion through the encoding's code page.
#pragma once

#include <string>
#include <string_view>

#include "common/xml/XmlNotes.h"

namespace cursorial::xml {

// The encoding a document names in its first characters: the `encoding` of the XML
// declaration, or, in an HTML document, the character set of a meta element in its head
// (<meta charset="..."> or <meta http-equiv="Content-Type" content="text/html; charset=...">).
// Empty when none is named.
std::u16string FindDeclaredEncoding(std::u16string_view head);

// The document text of a file's bytes:
//  1. A byte-order mark (EF BB BF, FF FE, FE FF; also the UTF-32 marks FF FE 00 00 and
//     00 00 FE FF) names the encoding and is dropped.
//  2. Otherwise a file whose first character is '<' in UTF-16 or UTF-32 ("3C 00", "00 3C",
//     "3C 00 00 00", "00 00 00 3C") is read in that form.
//  3. Otherwise the first 1024 bytes, read as UTF-8, are searched for a declared encoding.
//     A declaration of a 16- or 32-bit encoding in text readable as bytes is wrong and is
//     ignored. Without a declaration a file that starts with '<' is UTF-8.
//  4. A file still undetermined is UTF-8 when its bytes are valid UTF-8 and otherwise in the
//     ANSI code page; so is a file whose encoding name is unknown or has no conversion here.
std::u16string DecodeDocument(std::string_view bytes, ResultNotes& notes);

// The bytes of a document text in its declared encoding (UTF-8 when none is declared),
// without a byte-order mark. Characters the encoding cannot hold are replaced and noted.
std::string EncodeDocument(std::u16string_view text, ResultNotes& notes);

}  // namespace cursorial::xml
