// Which interface language the program shows, and the languages the selector offers.
#pragma once

#include <array>
#include <set>
#include <string_view>
#include <vector>

#include "app/LanguageTexts.h"
#include "platform/KeyValueStore.h"

namespace cursorial {

// The language used when nothing better is available: English (United States).
inline constexpr int kFallbackLanguage = 1033;

// Chooses the language at start-up, makes it current in `texts`, and returns it:
// 1. the stored language ("LCID"), when it is in `available`;
// 2. with nothing stored (0): the system language when it is available, else 1033 — either is
//    stored;
// 3. a stored language that is no longer available is replaced by 1033, stored too.
// An empty `available` set (no or a broken config.xml) therefore always ends at 1033.
int ChooseLanguage(LanguageTexts& texts, const KeyValueStore& settings,
                   const std::set<int>& available, int system_language);

// The rule of ChooseLanguage alone: the language shown for the stored value `stored` (0: none).
int DecideLanguage(int stored, const std::set<int>& available, int system_language);

// The language the program shows, decided as at its start but without storing anything (for
// cursorialctl, which names profiles and macros as the program does).
int ShownLanguage(const KeyValueStore& settings, const std::set<int>& available,
                  int system_language);

// The user picked a language: it becomes current and is stored as "LCID". Re-applying the texts
// of the open windows is up to the caller.
void SetLanguage(LanguageTexts& texts, const KeyValueStore& settings, int language_id);

struct LanguageName {
    int id;
    std::u16string_view name;
};

// The languages the selector can offer, in the order it shows them, each with its own name.
inline constexpr std::array<LanguageName, 12> kLanguageNames{{
    {2052, u"简体中文"},
    {1028, u"繁體中文"},
    {1031, u"Deutsch"},
    {1033, u"English"},
    {1034, u"Españo"},
    {1036, u"Français"},
    {1040, u"Italiano"},
    {1041, u"日本語にほんご"},
    {1045, u"Polski"},
    {1049, u"Русский язык"},
    {1066, u"Tiếng Việt"},
    {2070, u"Português"},
}};

// The rows of kLanguageNames whose language is available, in the table's order.
std::vector<LanguageName> OfferedLanguages(const std::set<int>& available);

}  // namespace cursorial
