// Report trace: with CURSORIAL_HID_TRACE=<file> every report written to or read from a HID
// interface is appended to the file, one line each:
//
//   <ms since the trace opened, 3 decimals> <W|F|R> <path> <bytes as upper-case hex, spaced>
//
// W lines hold the bytes handed to a write (report id first), F lines those of a write that
// failed, R lines the bytes a read returned. Both backends are traced the same way because the
// trace wraps the backend.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "device/HidBackend.h"

namespace cursorial {

// One trace line without its line break. Pure so its format can be tested exactly.
std::string FormatTraceLine(double milliseconds, char direction, const std::string& path,
                            const std::uint8_t* data, std::size_t length);

class HidTrace {
public:
    // Appends to `file`; nullptr when it cannot be opened.
    static std::shared_ptr<HidTrace> Open(const std::filesystem::path& file);
    ~HidTrace();
    HidTrace(const HidTrace&) = delete;
    HidTrace& operator=(const HidTrace&) = delete;

    // Thread-safe; each line reaches the file whole and at once.
    void Record(char direction, const std::string& path, const std::uint8_t* data,
                std::size_t length);

private:
    explicit HidTrace(std::FILE* file);

    std::FILE* file_;
    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_;
};

// A backend whose handles record every write (failed ones as F) and every read that returned
// data.
std::unique_ptr<HidBackend> WrapWithTrace(std::unique_ptr<HidBackend> inner,
                                          std::shared_ptr<HidTrace> trace);

}  // namespace cursorial
