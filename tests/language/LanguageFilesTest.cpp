// The shipped language files, held against the ids the program and the model description files
// ask for. A missing, empty or mangled text shows up as a blank label in the window, so every
// file is checked for completeness and for the things the text reader would silently lose.
#include "app/TextIds.h"
#include "common/text/WideText.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace cursorial {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxTextLength = 259;  // UTF-16 code units the reader keeps

struct LanguageFile {
    std::map<int, std::string> texts;  // UTF-8
    std::vector<std::string> problems;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Reads a language file the way the program's reader sees it and notes everything that would be
// lost or misread: a byte-order mark, invalid UTF-8, entries outside [LAN], keys that are not
// plain decimal ids (the reader looks up "5", never "005"), repeated keys (only the first counts),
// white space or quotes around a text (the reader strips them) and texts that it would cut.
LanguageFile ParseLanguageFile(const std::string& bytes) {
    LanguageFile file;
    auto problem = [&file](std::size_t line, const std::string& what) {
        file.problems.push_back("line " + std::to_string(line) + ": " + what);
    };
    if (bytes.starts_with("\xEF\xBB\xBF"))
        file.problems.push_back("starts with a byte-order mark");
    if (!IsValidUtf8(bytes))
        file.problems.push_back("not valid UTF-8");

    bool in_lan = false;
    bool seen_lan = false;
    std::istringstream in(bytes);
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            problem(number, "carriage return (use LF line ends)");
            line.pop_back();
        }
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            in_lan = line == "[LAN]";
            if (!in_lan)
                problem(number, "unknown section " + line);
            if (in_lan && seen_lan)
                problem(number, "second [LAN] section");
            seen_lan = seen_lan || in_lan;
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            problem(number, "not an id=text line");
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string text = line.substr(equals + 1);
        if (!in_lan) {
            problem(number, "entry outside [LAN]");
            continue;
        }
        static const std::regex kPlainId("[1-9][0-9]{0,8}");
        if (!std::regex_match(key, kPlainId)) {
            problem(number, "key \"" + key + "\" is not a plain decimal id");
            continue;
        }
        const int id = std::stoi(key);
        if (file.texts.contains(id)) {
            problem(number, "id " + key + " repeated");
            continue;
        }
        static const std::string kSpace = " \t\v\f";
        if (!text.empty() && (kSpace.find(text.front()) != std::string::npos ||
                              kSpace.find(text.back()) != std::string::npos)) {
            problem(number, "id " + key + ": white space around the text would be stripped");
        }
        if (text.size() >= 2 && ((text.front() == '"' && text.back() == '"') ||
                                 (text.front() == '\'' && text.back() == '\''))) {
            problem(number, "id " + key + ": enclosing quotes would be stripped");
        }
        if (FromUtf8(text).size() > kMaxTextLength) {
            problem(number, "id " + key + ": longer than 259 characters");
        }
        file.texts.emplace(id, text);
    }
    if (!seen_lan)
        file.problems.push_back("no [LAN] section");
    return file;
}

// printf conversions in a text, "%%" included, in order.
std::vector<std::string> PrintfConversions(const std::string& text) {
    static const std::regex kConversion(
        R"(%(%|[-+ #0]*(\*|[0-9]+)?(\.(\*|[0-9]+))?(hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn]))");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kConversion);
         it != std::sregex_iterator(); ++it) {
        found.push_back(it->str());
    }
    return found;
}

fs::path DataDir() {
    return fs::path(CURSORIAL_SOURCE_DIR) / "data";
}

std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder))
        return files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::map<std::string, LanguageFile> LoadLanguageFiles() {
    std::map<std::string, LanguageFile> files;
    for (const auto& path : FilesIn(DataDir() / "language", ".lan")) {
        files.emplace(path.filename().string(), ParseLanguageFile(ReadAll(path)));
    }
    return files;
}

// The ids each description file names: the `name` and `func_desc` of every `key` element.
std::map<int, std::string> DescriptionTextIds() {
    static const std::regex kKeyElement(R"(<key\s[^>]*>)");
    static const std::regex kIdAttribute(R"(\b(name|func_desc)\s*=\s*"([^"]*)\")");
    std::map<int, std::string> ids;  // id -> where it is named
    for (const auto& path : FilesIn(DataDir() / "device", ".xml")) {
        const std::string xml = ReadAll(path);
        for (auto key = std::sregex_iterator(xml.begin(), xml.end(), kKeyElement);
             key != std::sregex_iterator(); ++key) {
            const std::string element = key->str();
            for (auto attr = std::sregex_iterator(element.begin(), element.end(), kIdAttribute);
                 attr != std::sregex_iterator(); ++attr) {
                ids.emplace(TextToInt((*attr)[2].str()), path.filename().string() + " " +
                                                             (*attr)[1].str() + "=\"" +
                                                             (*attr)[2].str() + "\"");
            }
        }
    }
    return ids;
}

TEST(LanguageFileChecks, FlagWhatTheReaderWouldLoseOrMisread) {
    struct Case {
        const char* content;
        const char* expected;  // part of the first problem; "" = no problem
    } cases[] = {
        {"\xEF\xBB\xBF[LAN]\n5=Close\n", "byte-order mark"},
        {"[LAN]\n5=Cl\xFFose\n", "not valid UTF-8"},
        {"5=Close\n[LAN]\n", "outside [LAN]"},
        {"[LAN]\n005=Close\n", "not a plain decimal id"},
        {"[LAN]\n5=Close\n5=Shut\n", "repeated"},
        {"[LAN]\n5= Close\n", "white space"},
        {"[LAN]\n5=\"Close\"\n", "quotes"},
        {"[LAN]\n5=Close\r\n", "carriage return"},
        {"[LAN]\nClose\n", "not an id=text"},
        {"[TEXT]\n5=Close\n", "unknown section"},
        {"; only a comment\n", "no [LAN]"},
        {"; comment\n[LAN]\n\n; group\n5=Close\n6=\n", ""},
    };
    for (const auto& c : cases) {
        const LanguageFile file = ParseLanguageFile(c.content);
        if (*c.expected == '\0') {
            EXPECT_TRUE(file.problems.empty()) << c.content << " -> " << file.problems.front();
            continue;
        }
        ASSERT_FALSE(file.problems.empty()) << c.content;
        EXPECT_NE(file.problems.front().find(c.expected), std::string::npos)
            << c.content << " -> " << file.problems.front();
    }

    // The limit counts UTF-16 code units: 259 Chinese characters fit, 260 do not.
    std::string chinese;
    for (int i = 0; i < 259; ++i)
        chinese += "配";
    EXPECT_TRUE(ParseLanguageFile("[LAN]\n5=" + chinese + "\n").problems.empty());
    EXPECT_FALSE(ParseLanguageFile("[LAN]\n5=" + chinese + "配\n").problems.empty());
    std::string emoji;  // a character outside the BMP takes two units
    for (int i = 0; i < 130; ++i)
        emoji += "\xF0\x9F\x96\xB1";
    EXPECT_FALSE(ParseLanguageFile("[LAN]\n5=" + emoji + "\n").problems.empty());

    EXPECT_EQ(PrintfConversions("%s: v%s.%s 100%% %-5d %.2f"),
              (std::vector<std::string>{"%s", "%s", "%s", "%%", "%-5d", "%.2f"}));
}

TEST(LanguageFiles, EnglishAndSimplifiedChineseAreShipped) {
    const auto files = LoadLanguageFiles();
    EXPECT_TRUE(files.contains("1033.lan"));
    EXPECT_TRUE(files.contains("2052.lan"));
}

TEST(LanguageFiles, ExistForEveryLanguageTheCatalogueOffers) {
    // A listed language without its file would show every text empty once chosen.
    const std::string catalogue = ReadAll(DataDir() / "config.xml");
    static const std::regex kLan(R"(<lan\s[^>]*\bvalue\s*=\s*"([^"]*)\")");
    const auto files = LoadLanguageFiles();
    for (auto lan = std::sregex_iterator(catalogue.begin(), catalogue.end(), kLan);
         lan != std::sregex_iterator(); ++lan) {
        const std::string name = (*lan)[1].str() + ".lan";
        EXPECT_TRUE(files.contains(name))
            << "config.xml lists " << (*lan)[1] << " but there is no " << name;
    }
}

TEST(LanguageFiles, AreWellFormed) {
    for (const auto& [name, file] : LoadLanguageFiles()) {
        for (const auto& problem : file.problems)
            ADD_FAILURE() << name << ": " << problem;
    }
}

TEST(LanguageFiles, HoldEveryTextTheProgramAndTheDescriptionFilesAskFor) {
    const auto descriptions = DescriptionTextIds();
    for (const auto& [name, file] : LoadLanguageFiles()) {
        for (int id : kUsedTextIds) {
            const auto text = file.texts.find(id);
            EXPECT_TRUE(text != file.texts.end() && !text->second.empty())
                << name << ": no text for id " << id;
        }
        for (const auto& [id, where] : descriptions) {
            const auto text = file.texts.find(id);
            EXPECT_TRUE(text != file.texts.end() && !text->second.empty())
                << name << ": no text for id " << id << " named by " << where;
        }
    }
}

TEST(LanguageFiles, HoldNoIdThatNothingAsksFor) {
    // A stray id is most often a typing slip that left the intended id without its text.
    const auto descriptions = DescriptionTextIds();
    for (const auto& [name, file] : LoadLanguageFiles()) {
        for (const auto& [id, text] : file.texts) {
            EXPECT_TRUE(IsUsedTextId(id) || descriptions.contains(id))
                << name << ": id " << id << " (" << text << ") is not used";
        }
    }
}

TEST(LanguageFiles, TranslationsKeepTheEnglishPrintfConversions) {
    const auto files = LoadLanguageFiles();
    const auto english = files.find("1033.lan");
    ASSERT_NE(english, files.end());
    for (const auto& [name, file] : files) {
        for (const auto& [id, text] : file.texts) {
            const auto source = english->second.texts.find(id);
            const std::string reference =
                source == english->second.texts.end() ? std::string() : source->second;
            EXPECT_EQ(PrintfConversions(text), PrintfConversions(reference))
                << name << ": id " << id << " \"" << text << "\"";
        }
    }
}

TEST(LanguageFiles, StoredNameWordsMatchWhatTheProgramRecognises) {
    // New profiles and macros are named with these words; a stored name starting with "Profile" or
    // "配置", starting with "Custom" or "自定义", or ending in "Copy" or "复制" is shown in the
    // current language again. Any other wording would leave such names untranslated.
    struct Case {
        const char* file;
        int id;
        const char* word;
    } cases[] = {
        {"1033.lan", text_id::kProfileWord, "Profile"},
        {"1033.lan", text_id::kCustomMacroWord, "Custom"},
        {"1033.lan", text_id::kCopyWord, "Copy"},
        {"2052.lan", text_id::kProfileWord, "配置"},
        {"2052.lan", text_id::kCustomMacroWord, "自定义"},
        {"2052.lan", text_id::kCopyWord, "复制"},
    };
    const auto files = LoadLanguageFiles();
    for (const auto& c : cases) {
        const auto file = files.find(c.file);
        ASSERT_NE(file, files.end()) << c.file;
        const auto text = file->second.texts.find(c.id);
        ASSERT_NE(text, file->second.texts.end()) << c.file << " id " << c.id;
        EXPECT_EQ(text->second, c.word)
            << c.file << " id " << c.id << " is \"" << text->second << "\"";
    }
}

}  // namespace
}  // namespace cursorial
