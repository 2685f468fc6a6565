#include "app/IniFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/text/WideText.h"
#include "platform/UniqueFd.h"

namespace cursorial {

namespace {

// Language files are a few tens of kilobytes; a file far beyond that is not read past here.
constexpr size_t kMaxFileBytes = 16u << 20;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::u16string DecodeUtf16(std::string_view bytes, bool big_endian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0));
    }
    return text;
}

// Takes the next line off the text; LF, CR LF and a lone CR each end one.
std::u16string_view NextLine(std::u16string_view& text) {
    const size_t end = text.find_first_of(u"\r\n");
    const std::u16string_view line = text.substr(0, end);
    if (end == std::u16string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

std::string ReadBytes(const std::filesystem::path& file, bool* ok) {
    std::string bytes;
    *ok = false;
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsValid())
        return bytes;
    char buffer[16384];
    ssize_t n = 0;
    while (bytes.size() < kMaxFileBytes) {
        n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    *ok = n >= 0;  // a folder, for one, opens but does not read
    return bytes;
}

}  // namespace

std::u16string DecodeIniText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE"))
        return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return FromUtf8(bytes);
}

std::optional<std::u16string> FindIniValue(std::u16string_view text, std::u16string_view section,
                                           std::u16string_view key) {
    bool seen_section = false;
    bool in_section = false;
    while (!text.empty()) {
        const std::u16string_view line = Trim(NextLine(text));
        if (line.empty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            if (in_section)
                return std::nullopt;  // the end of the first section of that name
            std::u16string_view name = line.substr(1);
            name = Trim(name.substr(0, name.find(u']')));
            in_section = !seen_section && EqualsIgnoreAsciiCase(name, section);
            seen_section = seen_section || in_section;
            continue;
        }
        if (!in_section)
            continue;
        const size_t equals = line.find(u'=');
        if (!EqualsIgnoreAsciiCase(Trim(line.substr(0, equals)), key))
            continue;
        if (equals == std::u16string_view::npos)
            return std::u16string();
        std::u16string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::u16string(value);
    }
    return std::nullopt;
}

std::optional<std::u16string> ReadIniValue(const std::filesystem::path& file,
                                           std::u16string_view section, std::u16string_view key) {
    bool ok = false;
    const std::string bytes = ReadBytes(file, &ok);
    if (!ok)
        return std::nullopt;
    return FindIniValue(DecodeIniText(bytes), section, key);
}

}  // namespace cursorial
