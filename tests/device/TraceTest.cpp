// The report trace: its line format, and what a traced exchange with the simulator leaves in
// the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
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
    const std::regex write(R"(\d+\.\d{3} W sim:terra-cable:2( [0-9A-F]{2}){65})");
    const std::regex read(R"(\d+\.\d{3} R sim:terra-cable:2( [0-9A-F]{2}){33})");
    EXPECT_TRUE(std::regex_match(lines[0], write)) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], read)) << lines[1];
    EXPECT_NE(lines[2].find(" W sim:terra-cable:2 00 12 00 00 00 "), std::string::npos);
    EXPECT_NE(lines[3].find(" R sim:terra-cable:2 12 00 00 00 01 "), std::string::npos);
}

}  // namespace
}  // namespace cursorial::testing
