// The folders every part of the program locates its files by.
//
// Folders returned with a trailing separator ("…/bin/", "…/Cursorial Files/") compose the same
// way with operator/ as without one, and also stay right when a caller appends a file name text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace cursorial {

// The application name as one file-name component: '/' and NUL become '_', and a name that
// would mean "this folder" or "the parent" ("", ".", "..") becomes "_". Every path built from
// the application name goes through this, so no name can reach outside its folder.
std::string AppFileName(std::u16string_view app_name);

// $HOME when it is an absolute path, else the home folder of the password entry, else "/".
std::filesystem::path HomeFolder();
// $XDG_CONFIG_HOME / $XDG_DATA_HOME when set to an absolute path (relative ones are ignored, as
// the base-directory rules require), else ~/.config / ~/.local/share.
std::filesystem::path ConfigHome();
std::filesystem::path DataHome();

// The folder the program reads its data from (config.xml, language/, skins/, device/), with a
// trailing separator: the running executable's folder; when config.xml is not there but
// <exe dir>/../share/cursorial/config.xml exists (an installed layout), that share folder.
// Empty when the executable's own path cannot be read.
std::filesystem::path ExecutableFolder();
// The same choice for a given executable folder.
std::filesystem::path DataFolderForExecutableIn(const std::filesystem::path& exe_dir);

// DataHome() / "<app name> Files/" (trailing separator kept).
std::filesystem::path ApplicationDataFolder(std::u16string_view app_name);
// ApplicationDataFolder() / "db": where the per-model databases live.
std::filesystem::path DatabaseFolder(std::u16string_view app_name);
// ConfigHome() / "<app name>": the folder of the program's own settings (KeyValueStore).
std::filesystem::path SettingsFolder(std::u16string_view app_name);

// Makes sure a folder exists, creating missing parents on the way. True when the path is a
// folder afterwards (it existed or was created). Failures on the intermediate levels are not
// reported by themselves: the last level's creation decides. New levels get mode 0700.
bool CreateFolderTree(const std::filesystem::path& path);

}  // namespace cursorial
