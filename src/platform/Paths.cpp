#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "common/text/WideText.h"

namespace cursorial {

namespace {

// An environment path is used only when it is absolute.
std::filesystem::path AbsoluteFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return std::filesystem::path(value);
}

bool IsFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

std::filesystem::path WithTrailingSeparator(std::filesystem::path path) {
    if (!path.empty() && !path.native().ends_with('/'))
        path += '/';
    return path;
}

}  // namespace

std::string AppFileName(std::u16string_view app_name) {
    std::string name = ToUtf8(app_name);
    for (char& c : name) {
        if (c == '/' || c == '\0')
            c = '_';
    }
    if (name.empty() || name == "." || name == "..")
        return std::string(1, '_');
    return name;
}

std::filesystem::path HomeFolder() {
    if (auto home = AbsoluteFromEnv("HOME"); !home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result != nullptr && result->pw_dir != nullptr && result->pw_dir[0] == '/') {
        return std::filesystem::path(result->pw_dir);
    }
    return std::filesystem::path("/");
}

std::filesystem::path ConfigHome() {
    if (auto dir = AbsoluteFromEnv("XDG_CONFIG_HOME"); !dir.empty())
        return dir;
    return HomeFolder() / ".config";
}

std::filesystem::path DataHome() {
    if (auto dir = AbsoluteFromEnv("XDG_DATA_HOME"); !dir.empty())
        return dir;
    return HomeFolder() / ".local" / "share";
}

std::filesystem::path DataFolderForExecutableIn(const std::filesystem::path& exe_dir) {
    std::error_code ec;
    if (!std::filesystem::exists(exe_dir / "config.xml", ec)) {
        const auto shared = (exe_dir / ".." / "share" / "cursorial").lexically_normal();
        if (std::filesystem::exists(shared / "config.xml", ec))
            return WithTrailingSeparator(shared);
    }
    return WithTrailingSeparator(exe_dir);
}

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return {};
    return DataFolderForExecutableIn(exe.parent_path());
}

std::filesystem::path ApplicationDataFolder(std::u16string_view app_name) {
    return WithTrailingSeparator(DataHome() / (AppFileName(app_name) + " Files"));
}

std::filesystem::path DatabaseFolder(std::u16string_view app_name) {
    return ApplicationDataFolder(app_name) / "db";
}

std::filesystem::path SettingsFolder(std::u16string_view app_name) {
    return ConfigHome() / AppFileName(app_name);
}

bool CreateFolderTree(const std::filesystem::path& path) {
    if (path.empty())
        return false;
    if (IsFolder(path))
        return true;
    // Each level above the last is attempted on its own; the root is never created.
    std::filesystem::path level;
    std::vector<std::filesystem::path> parts(path.begin(), path.end());
    while (!parts.empty() && parts.back().empty())
        parts.pop_back();  // trailing separator
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        level /= parts[i];
        if (level == level.root_path())
            continue;
        ::mkdir(level.c_str(), 0700);
    }
    if (::mkdir(path.c_str(), 0700) == 0)
        return true;
    // Something already there counts only when it is a folder: a file of that name is not one.
    return errno == EEXIST && IsFolder(path);
}

}  // namespace cursorial
