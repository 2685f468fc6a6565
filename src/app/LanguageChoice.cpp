#include "app/LanguageChoice.h"

#include "app/ProgramSettings.h"

namespace cursorial {

int ChooseLanguage(LanguageTexts& texts, const KeyValueStore& settings,
                   const std::set<int>& available, int system_language) {
    int language = ReadLanguageValue(settings);
    if (language == 0) {
        language = available.contains(system_language) ? system_language : kFallbackLanguage;
        WriteProgramValue(settings, kLanguageValueName, language);
    } else if (!available.contains(language)) {
        language = kFallbackLanguage;
        WriteProgramValue(settings, kLanguageValueName, language);
    }
    texts.SetCurrentLanguage(language);
    return language;
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
