// Fixtures of the exchange tests: a scratch store, files written from texts, and a dump of the
// whole database to show that a refused import changed nothing.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "../store/StoreTestSupport.h"
#include "store/ConfigDatabase.h"

namespace cursorial::test {

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines joined as the exchange files write them: each ends in CR LF.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// Every row of every table, in a fixed order.
inline std::string DumpDatabase(SQLiteDB& db) {
    std::string dump;
    for (const char* table : {"t_profile_data", "t_configdata", "t_key_macro_data", "t_macro_data",
                              "t_macrorecord", "t_light_data"}) {
        for (const auto& row : Query(db, std::string("SELECT * FROM ") + table + " ORDER BY 1")) {
            dump += table;
            for (const auto& value : row)
                dump += "|" + value;
            dump += "\n";
        }
    }
    return dump;
}

// Shows byte differences readably: CR and LF spelled out.
inline std::string Visible(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n\n";
        } else {
            out += c;
        }
    }
    return out;
}

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db_.OpenForDevice(folder_.path(), u"AERO")); }

    std::filesystem::path File(const std::string& name) const { return folder_.path() / name; }

    ScratchFolder folder_;
    ConfigDatabase db_;
};

}  // namespace cursorial::test
