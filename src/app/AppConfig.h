// What the program takes from config.xml before anything else: the interface languages it
// offers, the language the file proposes, and the application name.
//
//   <config>
//     <language.info default_lan="1033">   (first)
//       <lan value="1033"/> ...
//     </language.info>
//     ...
//     <software caption="Cursorial" .../>   (searched after language.info)
//   </config>
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace cursorial {

// The application name when config.xml gives none.
inline constexpr std::u16string_view kDefaultApplicationName = u"Cursorial";

struct AppConfig {
    // The language ids of the lan elements, each once, ascending.
    std::set<int> languages;
    // default_lan. The language choice at start-up always replaces it.
    int default_language = 0;
    // The caption of software; kept as it was when the file names none (or an empty one).
    std::u16string application_name{kDefaultApplicationName};
};

// Reads the file into `config`. The language set is emptied first, so it holds exactly the ids
// the file lists. False, with the set empty and the rest untouched, when the file cannot be
// loaded, is not well-formed or has no config root.
bool ReadAppConfig(const std::filesystem::path& config_file, AppConfig& config);

}  // namespace cursorial
