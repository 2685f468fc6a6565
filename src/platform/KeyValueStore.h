// KeyValueStore: the program's own per-user settings, one small text file in one folder.
//
// The folder is "the key": it exists or not, and can be opened (a folder we may read, write and
// enter) or not. The values live in <folder>/settings.ini, one "name=text" line each (format in
// docs/platform.md). Value names compare without regard to ASCII letter case.
//
// Writers take an exclusive flock on <folder>/settings.lock, reread the file, change one value
// and replace the file by rename, so a crash never leaves half a file and two processes writing
// at once never lose each other's values. Readers take no lock: a rename is atomic.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cursorial {

class KeyValueStore {
public:
    enum class KeyStatus {
        kOpened,       // the folder exists and may be read, written and entered
        kMissing,      // nothing at the folder's path (or one of its parents is missing)
        kUnreachable,  // something is in the way: not a folder, no access, a parent is a file
    };

    // Number the readers give when the language value cannot be reached at all.
    static constexpr int kUnreachableLanguage = 2052;
    // Bytes of a value the number readers look at.
    static constexpr size_t kMaxReadBytes = 255;

    explicit KeyValueStore(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path ValuesFile() const { return folder_ / "settings.ini"; }

    KeyStatus Open() const;
    // Open, creating the folder and its missing parents first when it is missing. Never kMissing.
    KeyStatus OpenOrCreate() const;

    // The text of a value; nothing when the key cannot be opened or has no such value.
    std::optional<std::string> ReadText(std::string_view name) const;
    // Sets a value in the existing key. False (and nothing written) when the key cannot be
    // opened, the name or text cannot be stored in a line, or the file cannot be replaced.
    bool WriteText(std::string_view name, std::string_view text) const;
    bool DeleteValue(std::string_view name) const;

    // The decimal number at the start of a value's first kMaxReadBytes bytes; 0 when the key
    // cannot be opened or the value is missing, empty or not a number. With create_key a missing
    // key is created (empty) on the way.
    int ReadNumber(std::string_view name, bool create_key) const;
    // WriteText of "%d". The result is for tests; the program's callers ignore it.
    bool WriteNumber(std::string_view name, int value) const;
    // ReadNumber with the language rule: when the key is in the way, or is missing and cannot be
    // created, the result is kUnreachableLanguage instead of 0.
    int ReadLanguageNumber(std::string_view name) const;

private:
    std::filesystem::path folder_;
};

}  // namespace cursorial
