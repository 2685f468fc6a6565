// Character encodings by name and code page number, and the conversions between them and
// UTF-16.
//
// Files name their encoding with an IANA character-set name or one of its common aliases; the
// names map to the code page numbers Windows publishes for them, which is how the rest of the
// document code talks about encodings. UTF-8, UTF-16, UTF-32 and Windows-1252 are converted here;
// every other code page goes through iconv under a name glibc knows.
#pragma once

#include <iconv.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace cursorial::xml {

inline constexpr int kCodePageUtf16LE = 1200;
inline constexpr int kCodePageUtf16BE = 1201;
inline constexpr int kCodePageUtf32LE = 12000;
inline constexpr int kCodePageUtf32BE = 12001;
inline constexpr int kCodePageUtf7 = 65000;
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageWindows1252 = 1252;

// The code page used for a file whose encoding is unknown or unnamed. Windows takes the
// system's ANSI code page here; a Linux system has none (its locale is nearly always UTF-8,
// which is exactly what such a file is not), so Windows-1252, the ANSI code page of Western
// European Windows systems and a superset of ISO 8859-1, stands in. It decodes every byte.
inline constexpr int kAnsiCodePage = kCodePageWindows1252;

struct CodePageName {
    std::string_view name;  // lower case
    int codePage;
};

// Every known name, sorted by name.
std::span<const CodePageName> CodePageNames();

// The code page of an encoding name, 0 when the name is unknown. Letter case of A to Z is
// ignored; the whole name must match.
int CodePageFromName(std::u16string_view name);

// The name under which iconv converts `codePage`, or nullptr when the code page is converted
// here (see above) or when no conversion is at hand. Labels behave as browsers treat them:
// "gb2312" and "euc-cn" convert as GBK (936), "shift_jis" as 932, "euc-kr" as 949 (UHC).
const char* IconvNameOf(int codePage);

// True when DecodeBytes and EncodeText handle `codePage`.
bool CanConvert(int codePage);

// Bytes in `codePage` to UTF-16. A byte sequence the code page does not define becomes U+FFFD.
// `codePage` must satisfy CanConvert.
std::u16string DecodeBytes(std::string_view bytes, int codePage);

// UTF-16 to bytes in `codePage`, without a byte-order mark. A character the code page cannot
// hold (and a lone surrogate) is written as '?' (U+FFFD in the Unicode encodings) and counted
// in *lost. `codePage` must satisfy CanConvert.
std::string EncodeText(std::u16string_view text, int codePage, size_t* lost);

// Owns one iconv conversion descriptor.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Ok())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace cursorial::xml
