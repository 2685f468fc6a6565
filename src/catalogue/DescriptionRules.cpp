#include "catalogue/DescriptionRules.h"

#include "common/text/WideText.h"

namespace cursorial {

int ColorTextToValue(std::u16string_view text) {
    if (text.empty())
        return 0;
    const std::u16string_view rest = text.substr(1);
    if (rest.size() < 2 || rest.size() > 6)
        return 0;
    const int red = HexTextToInt(rest.substr(0, 2));
    const int green = rest.size() > 2 ? HexTextToInt(rest.substr(2, 2)) : 0;
    const int blue = rest.size() > 4 ? HexTextToInt(rest.substr(4)) : 0;
    return red + 256 * green + 65536 * blue;
}

CalloutLine ParseCalloutRect(std::u16string_view text) {
    int parts[3] = {0, 0, 0};
    for (int& part : parts) {
        const size_t hash = text.find(u'#');
        part = TextToInt(text.substr(0, hash));
        if (hash == std::u16string_view::npos)
            break;
        text.remove_prefix(hash + 1);
    }
    return {parts[0], parts[1], parts[2]};
}

Rect ButtonListRect(int count, double scale) {
    const auto scaled = [scale](double factor) { return static_cast<int>(factor * scale); };
    Rect rect;
    rect.left = 230 + scaled(15) + scaled(10);
    rect.top = 80 + scaled(50) + scaled(40);
    rect.right = 230 + scaled(15) + scaled(220);
    rect.bottom = rect.top + scaled(10) + static_cast<int>((15 + 30 * scale) * count) + 200;
    return rect;
}

DefaultSettingPlan PlanDefaultSettings(const DescriptionDefaults& defaults, bool dpiOnly) {
    DefaultSettingPlan plan;
    auto& writes = plan.writes;
    if (defaults.dpi) {
        const DpiDefaults& dpi = *defaults.dpi;
        writes.push_back({u"dpi_index", dpi.defaultDpi});
        writes.push_back({u"dpi_flag", dpi.dpiCount});
        writes.push_back({u"dpi_count", dpi.dpiCount});
        for (int i = 0; i < kDescriptionDpiStages; ++i) {
            if (!dpi.stages[i])
                continue;
            writes.push_back({FormatW("dpi_group%d_value", i), dpi.stages[i]->value});
            writes.push_back({FormatW("dpi_group%d_rgb", i), IntToText(dpi.stages[i]->color)});
        }
    }
    if (dpiOnly)
        return plan;

    if (defaults.reportRate) {
        writes.push_back({u"report_rate", *defaults.reportRate});
        plan.highestReportRate = TextToInt(*defaults.reportRate);
    }
    const std::pair<const char16_t*, const std::optional<std::u16string>*> rest[] = {
        {u"sleep_light", &defaults.sleepLight},
        {u"move_wakeup", &defaults.moveWakeup},
        {u"move_closelight", &defaults.moveCloseLight},
        {u"liftoff_height", &defaults.lod},
        {u"button_respondtime", &defaults.buttonRespondTime},
    };
    for (const auto& [key, value] : rest) {
        if (*value)
            writes.push_back({key, **value});
    }
    return plan;
}

}  // namespace cursorial
