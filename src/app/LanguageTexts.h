// The current interface language and the text lookup by id.
//
// Every text is read from <data folder>/language/<language id>.lan on each call: nothing is
// cached, so a change of language shows with the very next lookup, and an edited file too.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>

namespace cursorial {

// Longest text a lookup returns, in UTF-16 code units; longer texts are cut.
inline constexpr size_t kMaxLanguageTextLength = 259;
// The section every lookup reads.
inline constexpr std::u16string_view kLanguageSection = u"LAN";

// The language file of a language: <data folder>/language/<id>.lan.
std::filesystem::path LanguageFilePath(const std::filesystem::path& data_folder, int language_id);

// The text `id` of `section` in the file of `language_id`; empty when the file, the section or
// the key is missing. A cut that would split a surrogate pair drops the pair's first half too.
std::u16string LangText(const std::filesystem::path& data_folder, int language_id,
                        std::u16string_view section, int id);

// The process's current language and its lookups. One object for the program, created at
// start-up and handed to whoever shows texts. The language may change on the window thread while
// another thread looks a text up.
class LanguageTexts {
public:
    explicit LanguageTexts(std::filesystem::path data_folder, int language_id = 0);

    int CurrentLanguage() const { return language_.load(std::memory_order_relaxed); }
    void SetCurrentLanguage(int language_id) {
        language_.store(language_id, std::memory_order_relaxed);
    }
    const std::filesystem::path& DataFolder() const { return data_folder_; }
    std::filesystem::path CurrentFile() const;

    std::u16string LangText(std::u16string_view section, int id) const;
    // LangText(kLanguageSection, id).
    std::u16string Text(int id) const;

private:
    std::filesystem::path data_folder_;
    std::atomic<int> language_;
};

}  // namespace cursorial
