// The selected model, remembered per user as the value "DeviceType" (decimal text) of the
// program's key/value store.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cursorial {

inline constexpr std::u16string_view kDeviceTypeValueName = u"DeviceType";

// The two operations of the per-user store that the selection needs. `read` gives the value's
// text or nothing when the value (or the store) is missing; `write` stores a text into the
// existing store and reports whether it could (nothing is created when it cannot).
struct ValueStoreAccess {
    std::function<std::optional<std::u16string>(std::u16string_view name)> read;
    std::function<bool(std::u16string_view name, std::u16string_view value)> write;
};

// The stored type read as a decimal number; 0 when missing or not a number.
int ReadSelectedType(const ValueStoreAccess& store);
// Stores the type as "%d". A store that cannot be written is not reported.
void WriteSelectedType(const ValueStoreAccess& store, int deviceType);

}  // namespace cursorial
