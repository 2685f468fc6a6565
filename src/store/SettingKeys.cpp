#include "store/SettingKeys.h"

#include "common/text/WideText.h"

namespace cursorial::setting_key {

std::u16string DpiGroupValue(int stage) {
    return FormatW("dpi_group%d_value", stage);
}

std::u16string DpiGroupRgb(int stage) {
    return FormatW("dpi_group%d_rgb", stage);
}

}  // namespace cursorial::setting_key
