#include "exchange/LightingRows.h"

#include "store/ConfigDatabase.h"
#include "store/SQLiteWriteTransaction.h"

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

int EnsureLightSettings(ConfigDatabase& db, int profile, const LightEffectSet& enabled,
                        StoreStatus* status) {
    auto hold = db.Hold();
    SQLiteWriteTransaction transaction(db);
    const auto fail = [&](StoreStatus why) {
        if (status)
            *status = why;
        return -1;
    };
    if (!transaction.Ok())
        return fail(transaction.Status());
    int count = 0;
    if (const StoreStatus counted = db.CountLightSettings(profile, count);
        counted != StoreStatus::kOk)
        return fail(counted);
    if (status)
        *status = StoreStatus::kOk;
    if (count > 0)
        return 0;
    int added = 0;
    for (size_t i = 0; i < kLightEffects.size(); ++i) {
        if (!enabled[i])
            continue;
        if (db.AddLightSetting(DefaultLightSetting(profile, kLightEffects[i])) <= 0)
            return fail(StoreStatus::kFailed);
        ++added;
    }
    // Mode 1 may not exist (effect 1 not offered): then no row is active.
    if (added > 0 && !db.SetActiveLightMode(profile, 1))
        return fail(StoreStatus::kFailed);
    if (const StoreStatus committed = transaction.Commit(); committed != StoreStatus::kOk)
        return fail(committed);
    return added;
}

}  // namespace cursorial
