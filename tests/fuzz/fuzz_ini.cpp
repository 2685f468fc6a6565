// Fuzz target: a language file (INI) from outside. The bytes are decoded as the text reader
// decodes a file and searched for sections and keys taken from the input itself, so the
// lookups meet names that exist as well as names that do not; then the same bytes are read as
// a language file through the text lookup, which cuts what it returns.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/IniFile.h"
#include "app/LanguageTexts.h"

namespace {

using namespace cursorial;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

struct Scratch {
    Scratch() {
        folder = std::filesystem::temp_directory_path() /
                 ("cursorial-fuzz-ini-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "language");
        file = LanguageFilePath(folder, 1033);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
    std::filesystem::path file;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = DecodeIniText(bytes);
    const std::u16string_view view = text;

    const std::u16string_view sections[] = {kLanguageSection, u"", view.substr(0, 8)};
    const std::u16string_view keys[] = {u"1", u"005", u"", view.substr(view.size() / 2, 4)};
    for (const auto section : sections) {
        for (const auto key : keys) {
            // A value is one line of the text, trimmed.
            if (const auto value = FindIniValue(text, section, key))
                Require(value->size() <= text.size() &&
                        value->find_first_of(u"\r\n") == std::u16string::npos);
        }
    }

    {
        std::ofstream out(scratch.file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const LanguageTexts texts(scratch.folder, 1033);
    for (const int id : {0, 1, 5, 551}) {
        const std::u16string value = texts.Text(id);
        Require(value.size() <= kMaxLanguageTextLength);
        // Never half a surrogate pair at a cut.
        if (value.size() >= kMaxLanguageTextLength - 1)
            Require(value.back() < 0xD800 || value.back() > 0xDBFF);
    }
    return 0;
}
