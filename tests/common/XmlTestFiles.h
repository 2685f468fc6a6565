// Small helpers for the XML tests: temporary files and hex dumps for byte comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace cursorial::testing {

inline std::filesystem::path TempXmlPath(const std::string& name) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "cursorial_xml";
    std::filesystem::create_directories(dir);
    return dir / name;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string Hex(const std::string& bytes) {
    std::string out;
    char cell[4];
    for (unsigned char b : bytes) {
        std::snprintf(cell, sizeof cell, "%02X ", b);
        out += cell;
    }
    return out;
}

}  // namespace cursorial::testing
