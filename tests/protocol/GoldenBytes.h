// Golden-byte comparison for protocol tests: on a mismatch both sides are printed as hex with
// the first differing offset, so a failure shows the fault without a debugger.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace cursorial::testing {

using Bytes = std::vector<std::uint8_t>;

inline std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    char cell[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
        if (i)
            text += ' ';
        text += cell;
    }
    return text;
}

// `count` bytes of a buffer from `from`.
template <typename Buffer>
Bytes Slice(const Buffer& buffer, std::size_t from, std::size_t count) {
    return Bytes(buffer.data() + from, buffer.data() + from + count);
}

// The leading bytes of a report followed by zeros up to `size`.
inline Bytes Padded(std::initializer_list<std::uint8_t> leading, std::size_t size = 65) {
    Bytes bytes(leading);
    bytes.resize(size, 0);
    return bytes;
}

inline ::testing::AssertionResult SameBytes(std::span<const std::uint8_t> actual,
                                            std::span<const std::uint8_t> expected) {
    std::size_t differ = 0;
    while (differ < actual.size() && differ < expected.size() &&
           actual[differ] == expected[differ]) {
        ++differ;
    }
    if (differ == actual.size() && differ == expected.size()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "first difference at offset " << differ << "\n  actual:   " << Hex(actual)
           << "\n  expected: " << Hex(expected);
}

inline ::testing::AssertionResult SameBytes(std::span<const std::uint8_t> actual,
                                            std::initializer_list<std::uint8_t> expected) {
    return SameBytes(actual, std::span<const std::uint8_t>(expected.begin(), expected.size()));
}

}  // namespace cursorial::testing
