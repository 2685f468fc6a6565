// Reading one value of an initialization (INI) file, with the rules of the Windows profile
// reader where the language files depend on them:
//
// - Encoding: UTF-16LE or UTF-16BE when the file starts with its byte-order mark; otherwise
//   UTF-8, with or without its mark (bytes that are not UTF-8 read as U+FFFD).
// - Lines end in LF, CR LF or CR. Blank (space, tab) around names and values is dropped.
//   Lines starting with ';' are comments.
// - "[name]" starts a section; the name is the text between '[' and the first ']' (the rest
//   of the line when there is none). Other lines are "key=value"; a line without '=' is a key
//   without a value.
// - Section and key names compare without regard to ASCII letter case, and only as whole
//   texts: a key written 005 is not the key 5. Only the first section of a name is searched,
//   and the first key of a name in it wins.
// - A value wholly enclosed in one pair of matching quotes (both ' or both ") loses them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cursorial {

// The file's text as UTF-16, decoded as above.
std::u16string DecodeIniText(std::string_view bytes);

// The value of section/key in an INI text; nothing when the section or the key is absent.
std::optional<std::u16string> FindIniValue(std::u16string_view text, std::u16string_view section,
                                           std::u16string_view key);

// The same from a file, read in full on every call; nothing also when the file cannot be read.
std::optional<std::u16string> ReadIniValue(const std::filesystem::path& file,
                                           std::u16string_view section, std::u16string_view key);

}  // namespace cursorial
