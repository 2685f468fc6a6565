#include "common/xml/CodePages.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <iterator>

#include "common/text/WideText.h"

namespace cursorial::xml {

namespace {

// IANA character-set names and their common aliases, with the Windows code page of each.
// clang-format off
constexpr CodePageName kNames[] = {
    // Unicode
    {"utf-8", 65001}, {"utf8", 65001}, {"unicode-1-1-utf-8", 65001}, {"unicode-2-0-utf-8", 65001},
    {"x-unicode1-1-utf-8", 65001}, {"x-unicode2-0-utf-8", 65001},
    {"utf-7", 65000}, {"csunicode11utf7", 65000}, {"unicode-1-1-utf-7", 65000},
    {"unicode-2-0-utf-7", 65000}, {"x-unicode1-1-utf-7", 65000}, {"x-unicode2-0-utf-7", 65000},
    {"utf-16", 1200}, {"utf-16le", 1200}, {"unicode", 1200}, {"ucs-2", 1200},
    {"iso-10646-ucs-2", 1200}, {"csunicode", 1200},
    {"utf-16be", 1201}, {"unicodefffe", 1201},
    {"utf-32", 12000}, {"utf-32le", 12000}, {"utf-32be", 12001},
    // US-ASCII
    {"us-ascii", 20127}, {"ascii", 20127}, {"ansi_x3.4-1968", 20127}, {"ansi_x3.4-1986", 20127},
    {"cp367", 20127}, {"csascii", 20127}, {"ibm367", 20127}, {"iso-ir-6", 20127},
    {"iso646-us", 20127}, {"iso_646.irv:1991", 20127}, {"us", 20127},
    // Windows
    {"windows-1250", 1250}, {"cp1250", 1250}, {"x-cp1250", 1250},
    {"windows-1251", 1251}, {"cp1251", 1251}, {"x-cp1251", 1251},
    {"windows-1252", 1252}, {"cp1252", 1252}, {"x-ansi", 1252},
    {"windows-1253", 1253}, {"cp1253", 1253},
    {"windows-1254", 1254}, {"cp1254", 1254},
    {"windows-1255", 1255}, {"cp1255", 1255},
    {"windows-1256", 1256}, {"cp1256", 1256},
    {"windows-1257", 1257}, {"cp1257", 1257},
    {"windows-1258", 1258}, {"cp1258", 1258},
    {"windows-874", 874}, {"dos-874", 874}, {"iso-8859-11", 874}, {"tis-620", 874},
    // ISO 8859
    {"iso-8859-1", 28591}, {"cp819", 28591}, {"csisolatin1", 28591}, {"ibm819", 28591},
    {"iso-ir-100", 28591}, {"iso8859-1", 28591}, {"iso_8859-1", 28591},
    {"iso_8859-1:1987", 28591}, {"l1", 28591}, {"latin1", 28591},
    {"iso-8859-2", 28592}, {"csisolatin2", 28592}, {"iso-ir-101", 28592}, {"iso8859-2", 28592},
    {"iso_8859-2", 28592}, {"iso_8859-2:1987", 28592}, {"l2", 28592}, {"latin2", 28592},
    {"iso-8859-3", 28593}, {"csisolatin3", 28593}, {"iso-ir-109", 28593}, {"iso_8859-3", 28593},
    {"iso_8859-3:1988", 28593}, {"l3", 28593}, {"latin3", 28593},
    {"iso-8859-4", 28594}, {"csisolatin4", 28594}, {"iso-ir-110", 28594}, {"iso_8859-4", 28594},
    {"iso_8859-4:1988", 28594}, {"l4", 28594}, {"latin4", 28594},
    {"iso-8859-5", 28595}, {"csisolatincyrillic", 28595}, {"cyrillic", 28595},
    {"iso-ir-144", 28595}, {"iso_8859-5", 28595}, {"iso_8859-5:1988", 28595},
    {"iso-8859-6", 28596}, {"arabic", 28596}, {"csisolatinarabic", 28596}, {"ecma-114", 28596},
    {"iso-ir-127", 28596}, {"iso_8859-6", 28596}, {"iso_8859-6:1987", 28596},
    {"iso-8859-7", 28597}, {"csisolatingreek", 28597}, {"ecma-118", 28597}, {"elot_928", 28597},
    {"greek", 28597}, {"greek8", 28597}, {"iso-ir-126", 28597}, {"iso_8859-7", 28597},
    {"iso_8859-7:1987", 28597},
    {"iso-8859-8", 28598}, {"csisolatinhebrew", 28598}, {"hebrew", 28598},
    {"iso-8859-8 visual", 28598}, {"iso-ir-138", 28598}, {"iso_8859-8", 28598},
    {"iso_8859-8:1988", 28598}, {"logical", 28598}, {"visual", 28598},
    {"iso-8859-8-i", 38598},
    {"iso-8859-9", 28599}, {"csisolatin5", 28599}, {"iso-ir-148", 28599}, {"iso_8859-9", 28599},
    {"iso_8859-9:1989", 28599}, {"l5", 28599}, {"latin5", 28599},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605}, {"csisolatin9", 28605}, {"iso_8859-15", 28605}, {"l9", 28605},
    {"latin9", 28605},
    // DOS and OEM
    {"ibm437", 437}, {"437", 437}, {"cp437", 437}, {"cspc8codepage437", 437},
    {"asmo-708", 708}, {"dos-720", 720}, {"ibm737", 737}, {"ibm775", 775},
    {"ibm850", 850}, {"cp850", 850}, {"ibm852", 852}, {"cp852", 852},
    {"ibm855", 855}, {"cp855", 855}, {"ibm857", 857}, {"cp857", 857},
    {"ibm00858", 858}, {"ccsid00858", 858}, {"cp00858", 858}, {"cp858", 858},
    {"pc-multilingual-850+euro", 858},
    {"ibm860", 860}, {"cp860", 860}, {"ibm861", 861}, {"cp861", 861},
    {"dos-862", 862}, {"ibm862", 862}, {"cp862", 862}, {"ibm863", 863}, {"cp863", 863},
    {"ibm864", 864}, {"cp864", 864}, {"ibm865", 865}, {"cp865", 865},
    {"cp866", 866}, {"ibm866", 866}, {"ibm869", 869}, {"cp869", 869},
    {"ibm870", 870}, {"cp870", 870}, {"csibm870", 870}, {"ebcdic-cp-roece", 870},
    {"ebcdic-cp-yu", 870},
    {"cp875", 875},
    // EBCDIC
    {"ibm037", 37}, {"cp037", 37}, {"csibm037", 37}, {"ebcdic-cp-ca", 37}, {"ebcdic-cp-nl", 37},
    {"ebcdic-cp-us", 37}, {"ebcdic-cp-wt", 37},
    {"ibm500", 500}, {"cp500", 500}, {"csibm500", 500}, {"ebcdic-cp-be", 500},
    {"ebcdic-cp-ch", 500},
    {"ibm1026", 1026}, {"cp1026", 1026}, {"csibm1026", 1026},
    {"ibm01047", 1047},
    {"ibm01140", 1140}, {"ccsid01140", 1140}, {"cp01140", 1140}, {"ebcdic-us-37+euro", 1140},
    {"ibm01141", 1141}, {"ccsid01141", 1141}, {"cp01141", 1141}, {"ebcdic-de-273+euro", 1141},
    {"ibm01142", 1142}, {"ccsid01142", 1142}, {"cp01142", 1142}, {"ebcdic-dk-277+euro", 1142},
    {"ebcdic-no-277+euro", 1142},
    {"ibm01143", 1143}, {"ccsid01143", 1143}, {"cp01143", 1143}, {"ebcdic-fi-278+euro", 1143},
    {"ebcdic-se-278+euro", 1143},
    {"ibm01144", 1144}, {"ccsid01144", 1144}, {"cp01144", 1144}, {"ebcdic-it-280+euro", 1144},
    {"ibm01145", 1145}, {"ccsid01145", 1145}, {"cp01145", 1145}, {"ebcdic-es-284+euro", 1145},
    {"ibm01146", 1146}, {"ccsid01146", 1146}, {"cp01146", 1146}, {"ebcdic-gb-285+euro", 1146},
    {"ibm01147", 1147}, {"ccsid01147", 1147}, {"cp01147", 1147}, {"ebcdic-fr-297+euro", 1147},
    {"ibm01148", 1148}, {"ccsid01148", 1148}, {"cp01148", 1148},
    {"ebcdic-international-500+euro", 1148},
    {"ibm01149", 1149}, {"ccsid01149", 1149}, {"cp01149", 1149}, {"ebcdic-is-871+euro", 1149},
    {"ibm273", 20273}, {"cp273", 20273}, {"csibm273", 20273},
    {"ibm277", 20277}, {"csibm277", 20277}, {"ebcdic-cp-dk", 20277}, {"ebcdic-cp-no", 20277},
    {"ibm278", 20278}, {"cp278", 20278}, {"csibm278", 20278}, {"ebcdic-cp-fi", 20278},
    {"ebcdic-cp-se", 20278},
    {"ibm280", 20280}, {"cp280", 20280}, {"csibm280", 20280}, {"ebcdic-cp-it", 20280},
    {"ibm284", 20284}, {"cp284", 20284}, {"csibm284", 20284}, {"ebcdic-cp-es", 20284},
    {"ibm285", 20285}, {"cp285", 20285}, {"csibm285", 20285}, {"ebcdic-cp-gb", 20285},
    {"ibm290", 20290}, {"cp290", 20290}, {"csibm290", 20290}, {"ebcdic-jp-kana", 20290},
    {"ibm297", 20297}, {"cp297", 20297}, {"csibm297", 20297}, {"ebcdic-cp-fr", 20297},
    {"ibm420", 20420}, {"cp420", 20420}, {"csibm420", 20420}, {"ebcdic-cp-ar1", 20420},
    {"ibm423", 20423}, {"cp423", 20423}, {"csibm423", 20423}, {"ebcdic-cp-gr", 20423},
    {"ibm424", 20424}, {"cp424", 20424}, {"csibm424", 20424}, {"ebcdic-cp-he", 20424},
    {"x-ebcdic-koreanextended", 20833},
    {"ibm-thai", 20838}, {"csibmthai", 20838},
    {"ibm871", 20871}, {"cp871", 20871}, {"csibm871", 20871}, {"ebcdic-cp-is", 20871},
    {"ibm880", 20880}, {"cp880", 20880}, {"csibm880", 20880}, {"ebcdic-cyrillic", 20880},
    {"ibm905", 20905}, {"cp905", 20905}, {"csibm905", 20905}, {"ebcdic-cp-tr", 20905},
    {"ibm00924", 20924}, {"ccsid00924", 20924}, {"cp00924", 20924},
    {"ebcdic-latin9--euro", 20924},
    {"cp1025", 21025},
    // Chinese, Japanese, Korean
    {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"windows-31j", 932},
    {"csshiftjis", 932}, {"cswindows31j", 932}, {"ms_kanji", 932}, {"x-ms-cp932", 932},
    {"x-sjis", 932}, {"cp932", 932},
    {"gb2312", 936}, {"gbk", 936}, {"cp936", 936}, {"chinese", 936}, {"cn-gb", 936},
    {"csgb2312", 936}, {"csgb231280", 936}, {"csiso58gb231280", 936}, {"gb2312-80", 936},
    {"gb231280", 936}, {"gb_2312-80", 936}, {"iso-ir-58", 936}, {"x-gbk", 936},
    {"ks_c_5601-1987", 949}, {"csksc56011987", 949}, {"iso-ir-149", 949}, {"korean", 949},
    {"ks-c-5601", 949}, {"ks-c5601", 949}, {"ks_c_5601", 949}, {"ks_c_5601-1989", 949},
    {"ks_c_5601_1987", 949}, {"ksc5601", 949}, {"ksc_5601", 949}, {"cp949", 949},
    {"big5", 950}, {"big5-hkscs", 950}, {"cn-big5", 950}, {"csbig5", 950}, {"x-x-big5", 950},
    {"cp950", 950},
    {"johab", 1361},
    {"euc-kr", 51949}, {"cseuckr", 51949}, {"iso-2022-kr-8", 51949}, {"iso-2022-kr-8bit", 51949},
    {"euc-jp", 51932}, {"cseucpkdfmtjapanese", 51932},
    {"extended_unix_code_packed_format_for_japanese", 51932}, {"iso-2022-jpeuc", 51932},
    {"x-euc", 51932}, {"x-euc-jp", 51932},
    {"euc-cn", 51936}, {"x-euc-cn", 51936},
    {"gb18030", 54936},
    {"hz-gb-2312", 52936},
    {"iso-2022-jp", 50220}, {"csiso2022jp", 50221},
    {"iso-2022-kr", 50225}, {"csiso2022kr", 50225}, {"iso-2022-kr-7", 50225},
    {"iso-2022-kr-7bit", 50225},
    {"x-cp50227", 50227}, {"cp50227", 50227},
    {"x-chinese-cns", 20000}, {"x-cp20001", 20001}, {"x-chinese-eten", 20002},
    {"x-cp20003", 20003}, {"x-cp20004", 20004}, {"x-cp20005", 20005},
    {"x-cp20936", 20936}, {"x-cp20949", 20949},
    // ISO 646 national variants, teletex and other 7/8-bit sets
    {"x-ia5", 20105}, {"irv", 20105},
    {"x-ia5-german", 20106}, {"german", 20106}, {"din_66003", 20106}, {"iso646-de", 20106},
    {"x-ia5-swedish", 20107}, {"swedish", 20107}, {"sen_850200_b", 20107}, {"iso646-se", 20107},
    {"x-ia5-norwegian", 20108}, {"norwegian", 20108}, {"ns_4551-1", 20108},
    {"iso646-no", 20108},
    {"x-cp20261", 20261}, {"x-cp20269", 20269},
    {"koi8-r", 20866}, {"cskoi8r", 20866}, {"koi", 20866}, {"koi8", 20866}, {"koi8r", 20866},
    {"koi8-u", 21866}, {"koi8-ru", 21866},
    {"x-europa", 29001},
    // Macintosh
    {"macintosh", 10000}, {"mac", 10000}, {"csmacintosh", 10000}, {"x-mac-roman", 10000},
    {"x-mac-japanese", 10001}, {"x-mac-chinesetrad", 10002}, {"x-mac-korean", 10003},
    {"x-mac-arabic", 10004}, {"x-mac-hebrew", 10005}, {"x-mac-greek", 10006},
    {"x-mac-cyrillic", 10007}, {"x-mac-chinesesimp", 10008}, {"x-mac-romanian", 10010},
    {"x-mac-ukrainian", 10017}, {"x-mac-thai", 10021}, {"x-mac-ce", 10029},
    {"x-mac-icelandic", 10079}, {"x-mac-turkish", 10081}, {"x-mac-croatian", 10082},
    // ISCII
    {"x-iscii-de", 57002}, {"x-iscii-be", 57003}, {"x-iscii-ta", 57004}, {"x-iscii-te", 57005},
    {"x-iscii-as", 57006}, {"x-iscii-or", 57007}, {"x-iscii-ka", 57008}, {"x-iscii-ma", 57009},
    {"x-iscii-gu", 57010}, {"x-iscii-pa", 57011},
};

// Code pages that iconv converts, under the name glibc knows (it has no numeric "CP65001"
// style names for most of them). Absent code pages have no conversion here; a file in one of
// them is read with the ANSI code page.
struct IconvName {
    int codePage;
    const char* name;
};
constexpr IconvName kIconvNames[] = {
    {20127, "ASCII"}, {65000, "UTF-7"},
    {1250, "CP1250"}, {1251, "CP1251"}, {1253, "CP1253"}, {1254, "CP1254"}, {1255, "CP1255"},
    {1256, "CP1256"}, {1257, "CP1257"}, {1258, "CP1258"}, {874, "CP874"},
    {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"}, {28593, "ISO-8859-3"}, {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"}, {28597, "ISO-8859-7"}, {28598, "ISO-8859-8"},
    {38598, "ISO-8859-8"}, {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},
    {437, "IBM437"}, {708, "ISO-8859-6"}, {737, "CP737"}, {775, "IBM775"}, {850, "IBM850"},
    {852, "IBM852"}, {855, "IBM855"}, {857, "IBM857"}, {858, "IBM858"}, {860, "IBM860"},
    {861, "IBM861"}, {862, "IBM862"}, {863, "IBM863"}, {864, "IBM864"}, {865, "IBM865"},
    {866, "IBM866"}, {869, "IBM869"}, {870, "IBM870"}, {875, "IBM875"},
    {37, "IBM037"}, {500, "IBM500"}, {1026, "IBM1026"}, {1047, "IBM1047"},
    {1140, "IBM1140"}, {1141, "IBM1141"}, {1142, "IBM1142"}, {1143, "IBM1143"},
    {1144, "IBM1144"}, {1145, "IBM1145"}, {1146, "IBM1146"}, {1147, "IBM1147"},
    {1148, "IBM1148"}, {1149, "IBM1149"},
    {20273, "IBM273"}, {20277, "IBM277"}, {20278, "IBM278"}, {20280, "IBM280"},
    {20284, "IBM284"}, {20285, "IBM285"}, {20290, "IBM290"}, {20297, "IBM297"},
    {20420, "IBM420"}, {20423, "IBM423"}, {20424, "IBM424"}, {20871, "IBM871"},
    {20880, "IBM880"}, {20905, "IBM905"}, {21025, "IBM1025"},
    {932, "CP932"}, {936, "CP936"}, {949, "CP949"}, {950, "CP950"}, {1361, "JOHAB"},
    {51949, "CP949"}, {51932, "EUC-JP"}, {51936, "CP936"}, {54936, "GB18030"},
    {50220, "ISO-2022-JP"}, {50221, "ISO-2022-JP"}, {50225, "ISO-2022-KR"},
    {50227, "ISO-2022-CN"}, {20000, "EUC-TW"}, {20002, "BIG5"}, {20936, "GB2312"},
    {20949, "CP949"},
    {20106, "ISO646-DE"}, {20107, "ISO646-SE"}, {20108, "ISO646-NO"}, {20261, "T.61-8BIT"},
    {20269, "ISO_6937"}, {20866, "KOI8-R"}, {21866, "KOI8-U"},
    {10000, "MACINTOSH"}, {10001, "SHIFT_JIS"}, {10002, "BIG5"}, {10003, "EUC-KR"},
    {10007, "MAC-CYRILLIC"}, {10008, "EUC-CN"}, {10017, "MACUKRAINIAN"},
    {10029, "MAC-CENTRALEUROPE"}, {10079, "MAC-IS"},
};
// clang-format on

constexpr auto kSortedNames = [] {
    std::array<CodePageName, std::size(kNames)> table{};
    std::copy(std::begin(kNames), std::end(kNames), table.begin());
    std::sort(table.begin(), table.end(),
              [](const CodePageName& a, const CodePageName& b) { return a.name < b.name; });
    return table;
}();

constexpr bool NamesAreLowerCaseAndUnique() {
    for (size_t i = 0; i < kSortedNames.size(); ++i) {
        if (i > 0 && kSortedNames[i - 1].name == kSortedNames[i].name)
            return false;
        for (char c : kSortedNames[i].name) {
            if (c >= 'A' && c <= 'Z')
                return false;
        }
    }
    return true;
}
static_assert(NamesAreLowerCaseAndUnique());

// Windows-1252 at 0x80..0x9F. The five bytes the code page leaves undefined map to the C1
// control of the same value, as Windows and browsers decode them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// FromUtf8 with a fast path for the ASCII runs that make up most of a markup file. Multi-byte
// sequences never hold ASCII bytes, so handing FromUtf8 the runs between them decodes (and
// replaces bad bytes) exactly as it would the whole text.
std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');  // never more units than bytes
    size_t o = 0;
    for (size_t i = 0; i < bytes.size();) {
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
            out[o++] = static_cast<char16_t>(bytes[i++]);
        }
        size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80)
            ++end;
        if (end == i)
            continue;
        const std::u16string part = FromUtf8(bytes.substr(i, end - i));
        out.replace(o, part.size(), part);
        o += part.size();
        i = end;
    }
    out.resize(o);
    return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0)));
    }
    if (bytes.size() % 2 != 0)
        out.push_back(kReplacement);
    return out;
}

std::u16string DecodeUtf32(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 4);
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        char32_t cp = 0;
        for (size_t k = 0; k < 4; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + (bigEndian ? k : 3 - k)]);
            cp = cp << 8 | b;
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = kReplacement;
        AppendCodePoint(out, cp);
    }
    if (bytes.size() % 4 != 0)
        out.push_back(kReplacement);
    return out;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        out.push_back(u >= 0x80 && u < 0xA0 ? kWindows1252High[u - 0x80] : char16_t{u});
    }
    return out;
}

// UTF-16 as little-endian bytes: the form iconv is fed and fills.
std::string ToLittleEndianBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

void AppendLittleEndianUnits(std::u16string& out, const char* bytes, size_t size) {
    for (size_t i = 0; i + 1 < size; i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
}

std::u16string DecodeWithIconv(std::string_view bytes, const char* name) {
    Iconv cd("UTF-16LE", name);
    std::u16string out;
    if (!cd.Ok()) {
        out.assign(bytes.size() == 0 ? 0 : 1, kReplacement);
        return out;
    }
    out.reserve(bytes.size());
    char buffer[8192];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    while (inLeft > 0) {
        o = buffer;
        oLeft = sizeof buffer;
        const size_t r = iconv(cd.Get(), &in, &inLeft, &o, &oLeft);
        const int error = errno;
        AppendLittleEndianUnits(out, buffer, sizeof buffer - oLeft);
        if (r != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        out.push_back(kReplacement);
        if (error != EILSEQ)
            break;  // EINVAL: the text ends inside a sequence
        ++in;       // step over the offending byte and go on
        --inLeft;
    }
    o = buffer;
    oLeft = sizeof buffer;
    iconv(cd.Get(), nullptr, nullptr, &o, &oLeft);
    AppendLittleEndianUnits(out, buffer, sizeof buffer - oLeft);
    return out;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        const char hi = static_cast<char>(c >> 8);
        const char lo = static_cast<char>(c & 0xFF);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
    return out;
}

std::string EncodeUnicode(std::u16string_view text, int codePage, size_t* lost) {
    std::string out;
    out.reserve(text.size() * (codePage == kCodePageUtf8 ? 1 : 4));
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
            ++*lost;
        }
        if (codePage == kCodePageUtf8) {
            AppendUtf8(out, cp);
        } else {
            const bool bigEndian = codePage == kCodePageUtf32BE;
            for (int k = 0; k < 4; ++k) {
                const int shift = bigEndian ? 24 - 8 * k : 8 * k;
                out.push_back(static_cast<char>((cp >> shift) & 0xFF));
            }
        }
    }
    return out;
}

// UTF-7 with every "optional direct" character written directly: glibc's encoder puts '<', '>',
// '"' and '=' into base64, which leaves a file whose markup no reader can find.
std::string EncodeUtf7(std::u16string_view text, size_t* lost) {
    constexpr std::string_view kBase64 =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    constexpr std::string_view kDirect =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n"
        "!\"#$%&*;<=>@[]^_`{|}";
    std::string out;
    out.reserve(text.size());
    bool inBase64 = false;
    uint32_t bits = 0;
    int bitCount = 0;
    auto endBase64 = [&] {
        if (bitCount > 0)
            out.push_back(kBase64[(bits << (6 - bitCount)) & 0x3F]);
        out.push_back('-');
        inBase64 = false;
        bits = 0;
        bitCount = 0;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80 && kDirect.find(static_cast<char>(c)) != std::string_view::npos) {
            if (inBase64)
                endBase64();
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c == '+' && !inBase64) {
            out += "+-";
            continue;
        }
        const bool pairedHigh =
            IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        const bool pairedLow = IsLowSurrogate(c) && i > 0 && IsHighSurrogate(text[i - 1]);
        if ((IsHighSurrogate(c) || IsLowSurrogate(c)) && !pairedHigh && !pairedLow) {
            c = kReplacement;
            ++*lost;
        }
        if (!inBase64) {
            out.push_back('+');
            inBase64 = true;
        }
        bits = (bits << 16) | c;
        bitCount += 16;
        while (bitCount >= 6) {
            bitCount -= 6;
            out.push_back(kBase64[(bits >> bitCount) & 0x3F]);
        }
        bits &= (1u << bitCount) - 1;
    }
    if (inBase64)
        endBase64();
    return out;
}

std::string EncodeWindows1252(std::u16string_view text, size_t* lost) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const auto* hit = std::find(std::begin(kWindows1252High), std::end(kWindows1252High), c);
        if (hit != std::end(kWindows1252High)) {
            out.push_back(static_cast<char>(0x80 + (hit - kWindows1252High)));
            continue;
        }
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        out.push_back('?');
        ++*lost;
    }
    return out;
}

std::string EncodeWithIconv(std::u16string_view text, const char* name, size_t* lost) {
    Iconv cd(name, "UTF-16LE");
    std::string out;
    if (!cd.Ok()) {
        *lost += text.size();
        return out;
    }
    std::string bytes = ToLittleEndianBytes(text);
    std::string question = ToLittleEndianBytes(u"?");
    out.reserve(text.size());
    char buffer[8192];
    char* in = bytes.data();
    size_t inLeft = bytes.size();
    auto drain = [&](char* o) { out.append(buffer, static_cast<size_t>(o - buffer)); };
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t r = iconv(cd.Get(), &in, &inLeft, &o, &oLeft);
        const int error = errno;
        drain(o);
        if (r != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        // A character the code page lacks, a lone surrogate, or a high surrogate at the very
        // end: write the replacement character in its place.
        ++*lost;
        size_t skip = 2;
        if (inLeft >= 4) {
            const auto unit0 = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                     static_cast<unsigned char>(in[1]) << 8);
            const auto unit1 = static_cast<char16_t>(static_cast<unsigned char>(in[2]) |
                                                     static_cast<unsigned char>(in[3]) << 8);
            if (IsHighSurrogate(unit0) && IsLowSurrogate(unit1))
                skip = 4;
        }
        skip = std::min(skip, inLeft);
        in += skip;
        inLeft -= skip;
        char* q = question.data();
        size_t qLeft = question.size();
        o = buffer;
        oLeft = sizeof buffer;
        iconv(cd.Get(), &q, &qLeft, &o, &oLeft);
        drain(o);
    }
    // Stateful encodings (UTF-7, ISO-2022) end in their initial shift state.
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    iconv(cd.Get(), nullptr, nullptr, &o, &oLeft);
    drain(o);
    return out;
}

}  // namespace

std::span<const CodePageName> CodePageNames() {
    return kSortedNames;
}

int CodePageFromName(std::u16string_view name) {
    std::string key;
    key.reserve(name.size());
    for (char16_t c : name) {
        if (c >= 0x80)
            return 0;  // every known name is ASCII
        key.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
    }
    const auto it = std::lower_bound(
        kSortedNames.begin(), kSortedNames.end(), key,
        [](const CodePageName& entry, const std::string& k) { return entry.name < k; });
    return it != kSortedNames.end() && it->name == key ? it->codePage : 0;
}

const char* IconvNameOf(int codePage) {
    for (const IconvName& entry : kIconvNames) {
        if (entry.codePage == codePage)
            return entry.name;
    }
    return nullptr;
}

bool CanConvert(int codePage) {
    switch (codePage) {
        case kCodePageUtf8:
        case kCodePageUtf16LE:
        case kCodePageUtf16BE:
        case kCodePageUtf32LE:
        case kCodePageUtf32BE:
        case kCodePageWindows1252:
        case kCodePageUtf7:
            return true;
        default:
            return IconvNameOf(codePage) != nullptr;
    }
}

std::u16string DecodeBytes(std::string_view bytes, int codePage) {
    switch (codePage) {
        case kCodePageUtf8:
            return DecodeUtf8(bytes);
        case kCodePageUtf16LE:
        case kCodePageUtf16BE:
            return DecodeUtf16(bytes, codePage == kCodePageUtf16BE);
        case kCodePageUtf32LE:
        case kCodePageUtf32BE:
            return DecodeUtf32(bytes, codePage == kCodePageUtf32BE);
        case kCodePageWindows1252:
            return DecodeWindows1252(bytes);
        default: {
            const char* name = IconvNameOf(codePage);
            return name != nullptr ? DecodeWithIconv(bytes, name) : DecodeWindows1252(bytes);
        }
    }
}

std::string EncodeText(std::u16string_view text, int codePage, size_t* lost) {
    size_t ignored = 0;
    if (lost == nullptr)
        lost = &ignored;
    switch (codePage) {
        case kCodePageUtf8:
        case kCodePageUtf32LE:
        case kCodePageUtf32BE:
            return EncodeUnicode(text, codePage, lost);
        case kCodePageUtf16LE:
        case kCodePageUtf16BE:
            return EncodeUtf16(text, codePage == kCodePageUtf16BE);
        case kCodePageWindows1252:
            return EncodeWindows1252(text, lost);
        case kCodePageUtf7:
            return EncodeUtf7(text, lost);
        default: {
            const char* name = IconvNameOf(codePage);
            return name != nullptr ? EncodeWithIconv(text, name, lost)
                                   : EncodeWindows1252(text, lost);
        }
    }
}

}  // namespace cursorial::xml
