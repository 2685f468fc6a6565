// The user's interface language as a Windows language id (LCID), taken from the locale.
//
// The language files and the language list in config.xml are keyed by these ids, so the locale
// of the session is mapped onto them here and nowhere else.
#pragma once

#include <string_view>

namespace cursorial {

// The language id of a locale name such as "de_DE.UTF-8", "pt_BR", "sr_RS@latin", "zh_Hant_TW"
// or "zh-Hans". Both Chinese scripts map to the ids the language list uses: simplified (zh_CN,
// zh_SG, zh_Hans) to 2052, traditional (zh_TW, zh_HK, zh_MO, zh_Hant) to 1028. A territory not in
// the table falls back to the language's main id; "C", "POSIX", empty and unknown names give
// 1033 (English, United States).
int LanguageIdFromLocale(std::string_view locale);

// LanguageIdFromLocale of the first non-empty of LC_ALL, LC_MESSAGES and LANG.
int SystemUiLanguage();

}  // namespace cursorial
