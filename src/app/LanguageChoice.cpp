#include "app/LanguageChoice.h"

#include "app/ProgramSettings.h"

namespace cursorial {

int ChooseLanguage(LanguageTexts& texts, const KeyValueStore& settings,
                   const std::set<int>& available, int system_language) {
    const int stored = ReadLanguageValue(settings);
    const int language = DecideLanguage(stored, available, system_language);
    if (language != stored)
        WriteProgramValue(settings, kLanguageValueName, language);
    texts.SetCurrentLanguage(language);
    return language;
}

int DecideLanguage(int stored, const std::set<int>& available, int system_language) {
    if (stored == 0)
        return available.contains(system_language) ? system_language : kFallbackLanguage;
    return available.contains(stored) ? stored : kFallbackLanguage;
}

int ShownLanguage(const KeyValueStore& settings, const std::set<int>& available,
                  int system_language) {
    return DecideLanguage(ReadLanguageValue(settings), available, system_language);
}

void SetLanguage(LanguageTexts& texts, const KeyValueStore& settings, int language_id) {
    texts.SetCurrentLanguage(language_id);
    WriteProgramValue(settings, kLanguageValueName, language_id);
}

std::vector<LanguageName> OfferedLanguages(const std::set<int>& available) {
    std::vector<LanguageName> offered;
    for (const LanguageName& entry : kLanguageNames) {
        if (available.contains(entry.id))
            offered.push_back(entry);
    }
    return offered;
}

}  // namespace cursorial
