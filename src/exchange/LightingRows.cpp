#include "exchange/LightingRows.h"

#include "store/ConfigDatabase.h"

namespace cursorial {

LightSetting DefaultLightSetting(int profile, const LightEffect& effect) {
    LightSetting row;
    row.profile = profile;
    row.name = std::u16string(effect.name);
    row.mode = effect.mode;
    row.brightness = 4;
    row.speed = 2;
    row.direction = 0;
    row.colorful = 1;
    row.colorIndex = 0;
    row.colors = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    row.configFunc = effect.configFunc;
    row.reserved = effect.textId;
    row.status = 0;
    return row;
}

int EnsureLightSettings(ConfigDatabase& db, int profile,
                        const std::array<bool, kLightEffects.size()>& enabled) {
    auto hold = db.Hold();
    if (db.CountLightSettings(profile) > 0)
        return 0;
    int added = 0;
    for (size_t i = 0; i < kLightEffects.size(); ++i) {
        if (enabled[i] && db.AddLightSetting(DefaultLightSetting(profile, kLightEffects[i])) > 0) {
            ++added;
        }
    }
    // Mode 1 may not exist (effect 1 not offered): then no row is active.
    db.SetActiveLightMode(profile, 1);
    return added;
}

}  // namespace cursorial
