// The program's texts: std::u16string holds every user-visible and stored text as UTF-16,
// the store and files hold UTF-8, the HID layer holds bytes. These helpers cross those lines.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace cursorial {

// UTF-16 -> UTF-8. A lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// Appends one code point (at most 0x10FFFF, not a surrogate) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// UTF-8 -> UTF-16. Each byte that does not start or continue a valid sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);

// True when every byte is ASCII or part of a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view bytes);

// Decimal number at the start of a text, as the C runtime's atoi reads it: leading white space,
// an optional sign, then digits; anything else ends the number. No digits gives 0. A value
// outside the int range saturates instead of overflowing.
int TextToInt(std::u16string_view text);
int TextToInt(std::string_view text);

// Hexadecimal number at the start of a text (no prefix), read as far as it goes; 0 when none.
// Saturates at INT_MAX.
int HexTextToInt(std::u16string_view text);

// printf into UTF-8 / UTF-16. "%s" takes a const char* in UTF-8 in both.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);
std::u16string FormatW(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "%d" of a number as a wide text.
std::u16string IntToText(long long value);

// ASCII-only case folding; other characters pass unchanged.
std::u16string AsciiLower(std::u16string_view text);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace cursorial
