// The lighting rows a profile starts with: one per lighting effect the model's description
// offers, created the first time a profile is found without any.
#pragma once

#include <array>
#include <string_view>

#include "store/Records.h"
#include "store/StoreStatus.h"

namespace cursorial {

class ConfigDatabase;

struct LightEffect {
    int mode;                  // the mode number the mouse knows
    std::u16string_view name;  // stored name (the page shows the text `textId` instead)
    int configFunc;            // what the page offers: 1 brightness, 2 speed, 0x10 colour editor,
                               // 0x800 the seven colour slots
    int textId;                // language text of the effect's name, stored in `reserved`
};

// Effects 1 to 6 of the description (light_1 .. light_6), in that order.
inline constexpr std::array<LightEffect, 6> kLightEffects = {{
    {1, u"流光", 0x3, 280},
    {2, u"呼吸", 0x813, 281},
    {3, u"常亮", 0x11, 282},
    {4, u"霓虹", 0x3, 283},
    {5, u"七彩波浪", 0x3, 284},
    {0, u"关闭", 0x0, 285},
}};

// The new row of an effect for `profile`: brightness 4, speed 2, direction 0, colourful,
// colour index 0, the seven colours red, green, blue, cyan, yellow, magenta, white (0x0000FF ..
// 0xFFFFFF, red in the low byte), inactive.
LightSetting DefaultLightSetting(int profile, const LightEffect& effect);

using LightEffectSet = std::array<bool, kLightEffects.size()>;

// When `profile` has no lighting rows: adds one per enabled effect and makes mode 1 active. The
// check and the inserts are one write transaction (joining an open one), so callers in two
// threads or processes cannot both add the rows. Returns the number of rows added (0 when the
// profile had rows already), or -1 when the rows could not be counted or made: then nothing
// was added, and `status` (when given) tells a busy database from a failure. Inside a caller's
// transaction, -1 means the caller must undo it.
int EnsureLightSettings(ConfigDatabase& db, int profile, const LightEffectSet& enabled,
                        StoreStatus* status = nullptr);

}  // namespace cursorial
