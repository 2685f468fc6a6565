#include "platform/KeyValueStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "common/text/WideText.h"
#include "platform/Paths.h"
#include "platform/UniqueFd.h"

namespace cursorial {

namespace {

// A settings file is a few lines; anything beyond this is not ours and is not read further.
constexpr size_t kMaxFileBytes = 1 << 20;

constexpr std::string_view kHeader = "; Program settings. One value per line: name=text\n";

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A name must read back as itself from a "name=text" line.
bool IsStorableName(std::string_view name) {
    return !name.empty() && TrimBlanks(name) == name && !HasLineBreakOrNul(name) &&
           name.find('=') == std::string_view::npos && name.front() != ';' && name.front() != '#' &&
           name.front() != '[';
}

// The file's content; an absent file reads as empty. nullopt when the file exists but cannot be
// read whole (no permission, I/O error, larger than any file of ours): a rewrite based on such a
// read would drop every value it failed to see.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    std::string content;
    if (!fd.IsValid()) {
        if (errno == ENOENT)
            return content;
        return std::nullopt;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        content.append(buffer, static_cast<size_t>(n));
        if (content.size() > kMaxFileBytes)
            return std::nullopt;
    }
    return content;
}

// Blank lines, comment lines (';' or '#') and lines without '=' carry no value.
Entries ParseEntries(std::string_view content) {
    Entries entries;
    while (!content.empty()) {
        const size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = TrimBlanks(line.substr(0, equals));
        if (name.empty())
            continue;
        entries.emplace_back(std::string(name), std::string(line.substr(equals + 1)));
    }
    return entries;
}

Entries::const_iterator FindEntry(const Entries& entries, std::string_view name) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (EqualsIgnoreAsciiCase(it->first, name))
            return it;
    }
    return entries.end();
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Writes the whole file beside the old one and renames it into place.
bool ReplaceFile(const std::filesystem::path& target, std::string_view content) {
    std::string temp = target.native() + ".XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.IsValid())
        return false;
    const bool written = WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0 &&
                         ::close(fd.Release()) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!written)
        ::unlink(temp.c_str());
    return written;
}

// Runs one read-change-write cycle under the key's lock. `change` edits the entries and says
// whether there is anything to write.
template <typename Change>
bool UpdateEntries(const std::filesystem::path& folder, const std::filesystem::path& file,
                   Change change) {
    const auto lock_path = folder / "settings.lock";
    UniqueFd lock(::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.IsValid())
        return false;
    while (::flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    const std::optional<std::string> content_now = ReadWholeFile(file);
    if (!content_now)
        return false;
    Entries entries = ParseEntries(*content_now);
    if (!change(entries))
        return false;
    std::string content(kHeader);
    for (const auto& [name, text] : entries)
        content += name + "=" + text + "\n";
    return ReplaceFile(file, content);
    // The lock goes with the descriptor.
}

}  // namespace

KeyValueStore::KeyValueStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

KeyValueStore::KeyStatus KeyValueStore::Open() const {
    struct stat st {};
    if (::stat(folder_.c_str(), &st) != 0) {
        return errno == ENOENT ? KeyStatus::kMissing : KeyStatus::kUnreachable;
    }
    if (!S_ISDIR(st.st_mode) || ::access(folder_.c_str(), R_OK | W_OK | X_OK) != 0) {
        return KeyStatus::kUnreachable;
    }
    return KeyStatus::kOpened;
}

KeyValueStore::KeyStatus KeyValueStore::OpenOrCreate() const {
    const KeyStatus status = Open();
    if (status != KeyStatus::kMissing)
        return status;
    CreateFolderTree(folder_);
    return Open() == KeyStatus::kOpened ? KeyStatus::kOpened : KeyStatus::kUnreachable;
}

std::optional<std::string> KeyValueStore::ReadText(std::string_view name) const {
    if (Open() != KeyStatus::kOpened)
        return std::nullopt;
    const Entries entries = ParseEntries(ReadWholeFile(ValuesFile()).value_or(std::string()));
    const auto it = FindEntry(entries, name);
    if (it == entries.end())
        return std::nullopt;
    return it->second;
}

bool KeyValueStore::WriteText(std::string_view name, std::string_view text) const {
    if (!IsStorableName(name) || HasLineBreakOrNul(text))
        return false;
    if (Open() != KeyStatus::kOpened)
        return false;
    return UpdateEntries(folder_, ValuesFile(), [&](Entries& entries) {
        bool found = false;
        for (auto it = entries.begin(); it != entries.end();) {
            if (!EqualsIgnoreAsciiCase(it->first, name)) {
                ++it;
            } else if (!found) {
                it->second = std::string(text);  // keeps the name as first written
                found = true;
                ++it;
            } else {
                it = entries.erase(it);  // a hand-edited duplicate would shadow nothing now
            }
        }
        if (!found)
            entries.emplace_back(std::string(name), std::string(text));
        return true;
    });
}

bool KeyValueStore::DeleteValue(std::string_view name) const {
    if (Open() != KeyStatus::kOpened)
        return false;
    return UpdateEntries(folder_, ValuesFile(), [&](Entries& entries) {
        return std::erase_if(entries, [&](const auto& entry) {
                   return EqualsIgnoreAsciiCase(entry.first, name);
               }) > 0;
    });
}

int KeyValueStore::ReadNumber(std::string_view name, bool create_key) const {
    const KeyStatus status = create_key ? OpenOrCreate() : Open();
    if (status != KeyStatus::kOpened)
        return 0;
    const auto text = ReadText(name);
    if (!text)
        return 0;
    return TextToInt(std::string_view(*text).substr(0, kMaxReadBytes));
}

bool KeyValueStore::WriteNumber(std::string_view name, int value) const {
    return WriteText(name, std::to_string(value));
}

int KeyValueStore::ReadLanguageNumber(std::string_view name) const {
    if (OpenOrCreate() != KeyStatus::kOpened)
        return kUnreachableLanguage;
    return ReadNumber(name, false);
}

}  // namespace cursorial
