#include "platform/SystemLanguage.h"

#include <array>
#include <cstdlib>
#include <string>

namespace cursorial {

namespace {

constexpr int kEnglishUs = 1033;
constexpr int kChineseSimplified = 2052;
constexpr int kChineseTraditional = 1028;

struct LocaleId {
    std::string_view name;  // "ll" for the language's main id, "ll_TT" for one territory
    int id;
};

// Locale names to Windows language ids. Spanish of Spain is 1034, the id the language list
// carries; Chinese is decided by script before this table is consulted.
constexpr auto kLocaleIds = std::to_array<LocaleId>({
    {"af", 1078},     {"am", 1118},     {"ar", 1025},     {"ar_AE", 14337}, {"ar_BH", 15361},
    {"ar_DZ", 5121},  {"ar_EG", 3073},  {"ar_IQ", 2049},  {"ar_JO", 11265}, {"ar_KW", 13313},
    {"ar_LB", 12289}, {"ar_LY", 4097},  {"ar_MA", 6145},  {"ar_OM", 8193},  {"ar_QA", 16385},
    {"ar_SA", 1025},  {"ar_SY", 10241}, {"ar_TN", 7169},  {"ar_YE", 9217},  {"az", 1068},
    {"be", 1059},     {"bg", 1026},     {"bn", 1093},     {"bn_BD", 2117},  {"bs", 5146},
    {"ca", 1027},     {"cs", 1029},     {"cy", 1106},     {"da", 1030},     {"de", 1031},
    {"de_AT", 3079},  {"de_CH", 2055},  {"de_LI", 5127},  {"de_LU", 4103},  {"el", 1032},
    {"en", 1033},     {"en_AU", 3081},  {"en_BZ", 10249}, {"en_CA", 4105},  {"en_GB", 2057},
    {"en_IE", 6153},  {"en_IN", 16393}, {"en_JM", 8201},  {"en_MY", 17417}, {"en_NZ", 5129},
    {"en_PH", 13321}, {"en_SG", 18441}, {"en_TT", 11273}, {"en_ZA", 7177},  {"en_ZW", 12297},
    {"es", 1034},     {"es_AR", 11274}, {"es_BO", 16394}, {"es_CL", 13322}, {"es_CO", 9226},
    {"es_CR", 5130},  {"es_DO", 7178},  {"es_EC", 12298}, {"es_GT", 4106},  {"es_HN", 18442},
    {"es_MX", 2058},  {"es_NI", 19466}, {"es_PA", 6154},  {"es_PE", 10250}, {"es_PR", 20490},
    {"es_PY", 15370}, {"es_SV", 17418}, {"es_US", 21514}, {"es_UY", 14346}, {"es_VE", 8202},
    {"et", 1061},     {"eu", 1069},     {"fa", 1065},     {"fi", 1035},     {"fil", 1124},
    {"fo", 1080},     {"fr", 1036},     {"fr_BE", 2060},  {"fr_CA", 3084},  {"fr_CH", 4108},
    {"fr_LU", 5132},  {"fr_MC", 6156},  {"fy", 1122},     {"ga", 2108},     {"gl", 1110},
    {"gu", 1095},     {"he", 1037},     {"hi", 1081},     {"hr", 1050},     {"hu", 1038},
    {"hy", 1067},     {"id", 1057},     {"is", 1039},     {"it", 1040},     {"it_CH", 2064},
    {"iw", 1037},     {"ja", 1041},     {"ka", 1079},     {"kk", 1087},     {"km", 1107},
    {"kn", 1099},     {"ko", 1042},     {"ky", 1088},     {"lb", 1134},     {"lo", 1108},
    {"lt", 1063},     {"lv", 1062},     {"mk", 1071},     {"ml", 1100},     {"mn", 1104},
    {"mr", 1102},     {"ms", 1086},     {"mt", 1082},     {"nb", 1044},     {"ne", 1121},
    {"nl", 1043},     {"nl_BE", 2067},  {"nn", 2068},     {"no", 1044},     {"pa", 1094},
    {"pl", 1045},     {"ps", 1123},     {"pt", 1046},     {"pt_PT", 2070},  {"rm", 1047},
    {"ro", 1048},     {"ru", 1049},     {"si", 1115},     {"sk", 1051},     {"sl", 1060},
    {"sq", 1052},     {"sr", 10266},    {"sv", 1053},     {"sv_FI", 2077},  {"sw", 1089},
    {"ta", 1097},     {"te", 1098},     {"tg", 1064},     {"th", 1054},     {"tr", 1055},
    {"tt", 1092},     {"uk", 1058},     {"ur", 1056},     {"uz", 1091},     {"vi", 1066},
});

constexpr int kSerbianLatin = 9242;

int Lookup(std::string_view name) {
    for (const auto& entry : kLocaleIds) {
        if (entry.name == name)
            return entry.id;
    }
    return 0;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Lowered(std::string_view text) {
    std::string out;
    for (char c : text)
        out.push_back(Lower(c));
    return out;
}

}  // namespace

// A locale name is language[_Script][_TERRITORY][.codeset][@modifier]; "-" also separates
// (BCP 47 style). Letter case is not trusted.
int LanguageIdFromLocale(std::string_view locale) {
    std::string_view modifier;
    if (const size_t at = locale.find('@'); at != std::string_view::npos) {
        modifier = locale.substr(at + 1);
        locale = locale.substr(0, at);
    }
    if (const size_t dot = locale.find('.'); dot != std::string_view::npos) {
        locale = locale.substr(0, dot);
    }
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return kEnglishUs;

    std::string language;
    std::string script;  // lower case
    std::string territory;
    for (size_t part = 0; !locale.empty(); ++part) {
        const size_t sep = locale.find_first_of("_-");
        const std::string_view piece = locale.substr(0, sep);
        locale.remove_prefix(sep == std::string_view::npos ? locale.size() : sep + 1);
        if (part == 0) {
            language = Lowered(piece);
        } else if (piece.size() == 4 && IsAsciiLetter(piece[0])) {
            script = Lowered(piece);
        } else if (piece.size() == 2 || piece.size() == 3) {
            territory.clear();
            for (char c : piece)
                territory.push_back(Upper(c));
        }
    }

    if (language == "zh") {
        if (script == "hant")
            return kChineseTraditional;
        if (script == "hans")
            return kChineseSimplified;
        if (territory == "TW" || territory == "HK" || territory == "MO")
            return kChineseTraditional;
        return kChineseSimplified;
    }
    if (language == "sr" && (script == "latn" || Lowered(modifier) == "latin")) {
        return kSerbianLatin;
    }
    if (!territory.empty()) {
        if (const int id = Lookup(language + "_" + territory))
            return id;
    }
    if (const int id = Lookup(language))
        return id;
    return kEnglishUs;
}

int SystemUiLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0')
            return LanguageIdFromLocale(value);
    }
    return kEnglishUs;
}

}  // namespace cursorial
