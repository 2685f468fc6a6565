#include "app/ProgramSettings.h"

#include "common/text/WideText.h"

namespace cursorial {

int ReadProgramValue(const KeyValueStore& settings, std::string_view name) {
    const bool create_key = EqualsIgnoreAsciiCase(name, kLanguageValueName) ||
                            EqualsIgnoreAsciiCase(name, kAutorunMinimizeValueName) ||
                            EqualsIgnoreAsciiCase(name, kExitModeValueName);
    return settings.ReadNumber(name, create_key);
}

void WriteProgramValue(const KeyValueStore& settings, std::string_view name, int value) {
    settings.WriteNumber(name, value);
}

int ReadLanguageValue(const KeyValueStore& settings) {
    return settings.ReadLanguageNumber(kLanguageValueName);
}

}  // namespace cursorial
