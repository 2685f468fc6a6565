#include "device/DpiCodec.h"
#include "device/DpiSlider.h"

#include <string>

#include <gtest/gtest.h>

namespace cursorial {
namespace {

struct SensorCase {
    int sensor;
    int in;
    int out;
};

std::string Describe(const SensorCase& c) {
    return "sensor " + std::to_string(c.sensor) + ", input " + std::to_string(c.in);
}

TEST(DpiCodec, EncodeAtTheSensorBoundaries) {
    const SensorCase cases[] = {
        {4, 100, 1},      {4, 4000, 40},    {4, 4500, 40},     {4, 5000, 41},     {4, 8000, 47},
        {5, 50, 1},       {5, 6400, 128},   {5, 6500, 129},    {5, 12000, 184},   {16, 4800, 48},
        {18, 150, 1},     {53, 16000, 160}, {17, 50, 1},       {17, 10000, 200},  {17, 10100, 201},
        {17, 12000, 220}, {17, 12999, 220}, {17, 13000, 221},  {17, 24000, 232},  {25, 100, 1},
        {25, 16000, 160}, {25, 17000, 161}, {25, 30000, 174},  {37, 100, 1},      {37, 5000, 50},
        {37, 5500, 51},   {37, 10000, 60},  {38, 200, 1},      {38, 5000, 49},    {38, 5500, 51},
        {38, 10000, 60},  {149, 100, 1},    {149, 26000, 519}, {150, 38000, 759}, {99, 50, 0},
        {0, 1600, 31},    {17, 12050, 220}, {17, 12300, 220},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeDpi(c.sensor, c.in), c.out) << Describe(c);
}

TEST(DpiCodec, DecodeAtTheSensorBoundaries) {
    const SensorCase cases[] = {
        {4, 39, 3900},    {4, 40, 4500},    {4, 47, 8000},     {5, 128, 6400},   {5, 129, 6500},
        {5, 184, 12000},  {16, 48, 4800},   {53, 160, 16000},  {17, 199, 9950},  {17, 200, 10000},
        {17, 220, 12000}, {17, 221, 13000}, {17, 232, 24000},  {25, 159, 15900}, {25, 160, 16000},
        {25, 174, 30000}, {37, 49, 4900},   {37, 50, 5000},    {37, 60, 10000},  {38, 49, 4900},
        {38, 50, 5500},   {38, 51, 6000},   {150, 759, 37950}, {150, 2, 100},    {149, 1, 100},
        {99, 0, 50},      {18, 48, 4800},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeDpi(c.sensor, c.in), c.out) << Describe(c);
}

TEST(DpiCodec, ReadBackDiffersByOneStepWhereTheTablesDisagree) {
    // Both tables are the mouse's; the read-back of sensors 38 and 150 lands one step off.
    EXPECT_EQ(DecodeDpi(38, EncodeDpi(38, 5000)), 4900);
    EXPECT_EQ(DecodeDpi(38, EncodeDpi(38, 5500)), 6000);
    EXPECT_EQ(DecodeDpi(150, EncodeDpi(150, 1600)), 1550);
    EXPECT_EQ(DecodeDpi(149, EncodeDpi(149, 1600)), 1600);
    EXPECT_EQ(DecodeDpi(17, EncodeDpi(17, 13000)), 13000);
}

// Every DPI the page lets the user type lands on the mouse at most one 500-step above it (sensors
// 4 and 38 read back one step up at their change of scale); between 12000 and 13000 sensor 17
// has no codes, and the codes after 220 mean 13000 and more.
TEST(DpiCodec, NoDpiLandsMoreThanAStepAboveTheValueAsked) {
    for (int sensor : {4, 5, 16, 17, 18, 25, 37, 38, 53, 149, 150, 99}) {
        const DpiLimits limits = SensorProfileFor(sensor).limits;
        for (int dpi = limits.lowest; dpi <= limits.highest; dpi += 50) {
            ASSERT_LE(DecodeDpi(sensor, EncodeDpi(sensor, dpi)), dpi + 500)
                << "sensor " << sensor << ", " << dpi << " DPI";
        }
    }
}

TEST(DpiCodec, ClampToTheSensorLimits) {
    const DpiLimits limits17 = SensorProfileFor(17).limits;
    EXPECT_EQ(ClampDpi(30000, limits17), 24000);
    EXPECT_EQ(ClampDpi(10, limits17), 50);
    EXPECT_EQ(ClampDpi(12000, limits17), 12000);
    EXPECT_EQ(ClampDpi(100, SensorProfileFor(38).limits), 200);
    // Sensor 150 accepts more than its slider shows.
    EXPECT_EQ(ClampDpi(35000, SensorProfileFor(150).limits), 35000);
}

TEST(DpiCodec, SensorTableRows) {
    struct Row {
        int sensor;
        SensorReadVariant variant;
        int lowest, highest, sliderHighest, sliderLowest;  // sliderLowest 0: not given
        std::u16string lowText, highText;
    } rows[] = {
        {17, SensorReadVariant::kFull, 50, 24000, 232, 0, u"50", u"24000"},
        {5, SensorReadVariant::kFull, 50, 12000, 183, 0, u"50", u"12000"},
        {5, SensorReadVariant::kReconnect, 50, 12000, 184, 0, u"50", u"12000"},
        {25, SensorReadVariant::kFull, 100, 30000, 174, 0, u"100", u"30000"},
        {37, SensorReadVariant::kFull, 100, 10000, 60, 0, u"100", u"10000"},
        {38, SensorReadVariant::kFull, 200, 10000, 59, 0, u"200", u"10000"},
        {4, SensorReadVariant::kFull, 100, 8000, 47, 0, u"100", u"8000"},
        {149, SensorReadVariant::kFull, 100, 26000, 520, 2, u"100", u"26000"},
        {150, SensorReadVariant::kReconnect, 100, 38000, 640, 2, u"100", u"32000"},
        {16, SensorReadVariant::kFull, 100, 4800, 48, 0, u"100", u"4800"},
        {18, SensorReadVariant::kFull, 100, 4800, 48, 0, u"100", u"4800"},
        {53, SensorReadVariant::kFull, 100, 16000, 160, 0, u"100", u"16000"},
        {77, SensorReadVariant::kFull, 50, 26000, 520, 0, u"50", u"26000"},
    };
    for (const auto& r : rows) {
        const SensorProfile p = SensorProfileFor(r.sensor, r.variant);
        SCOPED_TRACE("sensor " + std::to_string(r.sensor));
        EXPECT_EQ(p.limits.lowest, r.lowest);
        EXPECT_EQ(p.limits.highest, r.highest);
        EXPECT_EQ(p.sliderHighest, r.sliderHighest);
        EXPECT_EQ(p.sliderLowest.value_or(0), r.sliderLowest);
        EXPECT_EQ(std::u16string(p.lowestText), r.lowText);
        EXPECT_EQ(std::u16string(p.highestText), r.highText);
    }
}

TEST(DpiCodec, RateClassFromTheHighestRate) {
    EXPECT_EQ(RateClassFromCapability(0x10), 5);
    EXPECT_EQ(RateClassFromCapability(0x20), 6);
    EXPECT_EQ(RateClassFromCapability(0x40), 7);
    EXPECT_EQ(RateClassFromCapability(0x01), 4);
    EXPECT_EQ(RateClassFromCapability(0x80), 4);
    EXPECT_EQ(RateClassFromCapability(0x00), 4);
}

TEST(DpiSlider, PositionFromDpi) {
    const SensorCase cases[] = {
        {17, 50, 1},      {17, 10000, 200}, {17, 10100, 201}, {17, 12000, 220},  {17, 13000, 221},
        {17, 24000, 232}, {5, 6400, 128},   {5, 6500, 129},   {5, 12000, 184},   {25, 16000, 160},
        {25, 30000, 174}, {37, 5000, 50},   {37, 5500, 51},   {38, 200, 1},      {38, 5000, 49},
        {38, 5500, 51},   {4, 4000, 40},    {4, 8000, 47},    {150, 100, 1},     {150, 32000, 639},
        {16, 4800, 48},   {53, 16000, 160}, {99, 26000, 520}, {149, 26000, 519},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SliderPositionFromDpi(c.sensor, c.in), c.out) << Describe(c);
    }
}

TEST(DpiSlider, DpiFromSliderValueIsCappedAtTheSliderMaximum) {
    const SensorCase cases[] = {
        {17, 200, 10000}, {17, 201, 10100},  {17, 220, 12000},  {17, 221, 13000},  {17, 232, 24000},
        {17, 240, 24000}, {5, 128, 6400},    {5, 129, 6500},    {5, 200, 12000},   {25, 159, 15900},
        {25, 160, 16000}, {25, 174, 30000},  {37, 50, 5000},    {37, 51, 5500},    {37, 70, 10000},
        {38, 1, 200},     {38, 49, 5000},    {38, 50, 5500},    {4, 39, 3900},     {4, 40, 4500},
        {4, 60, 8000},    {149, 600, 26000}, {150, 640, 32000}, {150, 700, 32000}, {16, 50, 4800},
        {53, 170, 16000}, {99, 1, 50},       {99, 600, 26000},  {18, 49, 4800},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DpiFromSliderValue(c.sensor, c.in), c.out) << Describe(c);
    }
}

TEST(DpiSlider, TypedDpiIsBroughtOntoTheSensorGrid) {
    const SensorCase cases[] = {
        {150, 40000, 32000}, {150, 70, 100},     {150, 175, 150},    {99, 70, 50},
        {99, 30000, 26000},  {99, 0, 50},        {99, -300, 50},     {17, 12345, 12300},
        {17, 49, 50},        {17, 99999, 24000}, {5, 12345, 12000},  {25, 150, 100},
        {37, 99, 100},       {37, 4999, 4900},   {37, 5999, 5500},   {37, 12000, 10000},
        {38, 150, 200},      {38, 10050, 10000}, {4, 50, 100},       {4, 3999, 3900},
        {4, 4399, 4000},     {4, 4599, 4500},    {4, 9000, 8000},    {149, 60, 100},
        {16, 5000, 4800},    {18, 250, 200},     {53, 16099, 16000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormaliseTypedDpi(c.sensor, c.in), c.out) << Describe(c);
    }
}

}  // namespace
}  // namespace cursorial
