#include "app/StartupRules.h"

#include <gtest/gtest.h>

namespace cursorial {
namespace {

TEST(StartupRulesTest, HideSwitch) {
    const struct {
        std::vector<const char*> argv;
        bool hidden;
    } cases[] = {
        {{"cursorial"}, false},
        {{"cursorial", "-hide"}, true},
        {{"cursorial", "--no-hide-please"}, true},  // inside a longer word
        {{"cursorial", "x", "-hide"}, true},
        {{"cursorial", "-HIDE"}, false},
        {{"cursorial", "-Hide"}, false},
        {{"cursorial", "-autorun"}, false},
        {{"cursorial", "-hi", "de"}, false},
        {{"/opt/-hide/cursorial"}, false},  // the program name is not searched
    };
    for (const auto& c : cases) {
        const std::string line =
            CommandLineAfterProgram(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(HasHideSwitch(line), c.hidden) << "'" << line << "'";
    }
    EXPECT_FALSE(HasHideSwitch(" -autorun"));
}

TEST(StartupRulesTest, DisplayScale) {
    const std::pair<int, int> cases[] = {{0, 100},   {72, 100},  {96, 100},  {97, 100},
                                         {120, 125}, {121, 100}, {144, 144}, {168, 168},
                                         {192, 192}, {240, 100}};
    for (const auto& [dpi, scale] : cases)
        EXPECT_EQ(DisplayScale(dpi), scale) << dpi;
}

TEST(StartupRulesTest, DpiAwareness) {
    const struct {
        int width, height;
        bool aware[5];  // at 96, 120, 144, 168, 192 DPI
    } cases[] = {
        {1366, 768, {true, true, true, true, true}},
        {2560, 1440, {false, false, false, false, false}},
        {1920, 1080, {false, false, true, true, true}},
        {1920, 1200, {false, false, false, false, false}},
        {1399, 1050, {true, true, true, true, true}},
        {1600, 799, {true, true, true, true, true}},
        {1400, 800, {false, false, false, false, false}},
    };
    const int dpis[] = {96, 120, 144, 168, 192};
    for (const auto& c : cases) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(ShouldBeDpiAware(c.width, c.height, dpis[i]), c.aware[i])
                << c.width << "x" << c.height << " at " << dpis[i];
        }
    }
}

}  // namespace
}  // namespace cursorial
