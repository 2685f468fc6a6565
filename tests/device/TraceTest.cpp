// The report trace: its line format, and what a traced exchange with the simulator leaves in
// the file.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LinkFixture.h"
#include "device/HidTrace.h"

namespace cursorial::testing {
namespace {

TEST(TraceTest, LineFormat) {
    const std::uint8_t bytes[] = {0x00, 0x10, 0xAB, 0x0F};
    EXPECT_EQ(FormatTraceLine(12.3456, 'W', "/dev/hidraw3", bytes, 4),
              "12.346 W /dev/hidraw3 00 10 AB 0F");
    EXPECT_EQ(FormatTraceLine(0, 'R', "p", bytes, 0), "0.000 R p");
}

TEST(TraceTest, TracedExchangeLogsEveryReportWrittenAndRead) {
    const std::filesystem::path file =
        std::filesystem::path(CURSORIAL_BINARY_DIR) / "tests" / "trace-test.log";
    std::filesystem::remove(file);
    auto world = std::make_shared<sim::Simulator>(WorldOf({"terra-cable"}));
    DeviceLink link(WrapWithTrace(std::make_unique<sim::SimBackend>(world), HidTrace::Open(file)));
    link.SetTiming(FastTiming());
    AddShippedModels(link);
    link.EnumerateDevice();
    link.SetOpen(true);
    link.SetCurrentType(kTerra);
    CommandReport r;
    r[kCommandByte] = command::kReadReportRate;
    ASSERT_TRUE(link.Send(r, 33));

    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);  // identification and one command, each a write and a read
    // "<ms with 3 decimals> <W|R> <path>" and then the bytes, each " XX".
    auto shape = [](const std::string& line, char direction, std::size_t bytes) {
        const std::string head = std::string(" ") + direction + " sim:terra-cable:2";
        const auto at = line.find(head);
        if (at == std::string::npos || at < 5 || line[at - 4] != '.')
            return false;
        const std::string tail = line.substr(at + head.size());
        if (tail.size() != 3 * bytes)
            return false;
        for (std::size_t i = 0; i < tail.size(); i += 3) {
            if (tail[i] != ' ' || !std::isxdigit(static_cast<unsigned char>(tail[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(tail[i + 2])) ||
                std::islower(static_cast<unsigned char>(tail[i + 1])))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(shape(lines[0], 'W', 65)) << lines[0];
    EXPECT_TRUE(shape(lines[1], 'R', 33)) << lines[1];
    EXPECT_NE(lines[2].find(" W sim:terra-cable:2 00 12 00 00 00 "), std::string::npos);
    EXPECT_NE(lines[3].find(" R sim:terra-cable:2 12 00 00 00 01 "), std::string::npos);
}

}  // namespace
}  // namespace cursorial::testing
