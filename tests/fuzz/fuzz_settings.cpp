// Fuzz target: the settings file as someone else may have left it. The bytes become
// settings.ini of a scratch key; every reader runs over it, and a write must keep its promise
// whatever the file held before: the value written reads back, and a name that was readable
// before and is not the one written keeps its value.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/KeyValueStore.h"

namespace {

using namespace cursorial;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

struct Scratch {
    Scratch()
        : key(std::filesystem::temp_directory_path() /
              ("cursorial-fuzz-settings-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(key.Folder());
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(key.Folder(), ignored);
    }
    KeyValueStore key;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    const KeyValueStore& key = scratch.key;
    {
        std::ofstream out(key.ValuesFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // A name from the input: the text before its first '=' on the first line.
    const std::string_view own = bytes.substr(0, bytes.find_first_of("=\r\n"));

    for (const std::string_view name :
         {std::string_view("LCID"), std::string_view("exit_mode"), own}) {
        const auto text = key.ReadText(name);
        if (text)
            Require(text->find('\n') == std::string::npos);
        key.ReadNumber(name, false);
    }
    key.ReadLanguageNumber("LCID");

    const auto before = key.ReadText(own);
    const bool written = key.WriteText("DeviceType", "201");
    Require(written);
    Require(key.ReadText("DeviceType") == std::optional<std::string>("201"));
    Require(key.ReadNumber("devicetype", false) == 201);
    if (before && !own.empty()) {
        std::string_view trimmed = own;
        while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t'))
            trimmed.remove_prefix(1);
        while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t'))
            trimmed.remove_suffix(1);
        std::string folded(trimmed);
        for (char& c : folded)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        // A text that ends in CR (a line that ended in CR CR LF) cannot be written back: the
        // reader drops a CR before the LF. Everything else stays as it was.
        std::string kept = *before;
        if (!kept.empty() && kept.back() == '\r')
            kept.pop_back();
        const auto after = key.ReadText(own);
        if (folded != "devicetype")
            Require(after == before || after == std::optional<std::string>(kept));
    }
    return 0;
}
