#include "app/LanguageTexts.h"

#include <utility>

#include "app/IniFile.h"
#include "common/text/WideText.h"

namespace cursorial {

std::filesystem::path LanguageFilePath(const std::filesystem::path& data_folder, int language_id) {
    return data_folder / "language" / (std::to_string(language_id) + ".lan");
}

std::u16string LangText(const std::filesystem::path& data_folder, int language_id,
                        std::u16string_view section, int id) {
    auto text = ReadIniValue(LanguageFilePath(data_folder, language_id), section, IntToText(id));
    if (!text)
        return {};
    if (text->size() > kMaxLanguageTextLength) {
        size_t length = kMaxLanguageTextLength;
        const char16_t last = (*text)[length - 1];
        if (last >= 0xD800 && last <= 0xDBFF)
            --length;  // its partner is cut off
        text->resize(length);
    }
    return std::move(*text);
}

LanguageTexts::LanguageTexts(std::filesystem::path data_folder, int language_id)
    : data_folder_(std::move(data_folder)), language_(language_id) {}

std::filesystem::path LanguageTexts::CurrentFile() const {
    return LanguageFilePath(data_folder_, CurrentLanguage());
}

std::u16string LanguageTexts::LangText(std::u16string_view section, int id) const {
    return cursorial::LangText(data_folder_, CurrentLanguage(), section, id);
}

std::u16string LanguageTexts::Text(int id) const {
    return LangText(kLanguageSection, id);
}

}  // namespace cursorial
