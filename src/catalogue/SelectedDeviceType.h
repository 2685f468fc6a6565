// The selected model, remembered per user as the value "DeviceType" (decimal text) of the
// program's key/value store.
#pragma once

#include <string_view>

namespace cursorial {

class KeyValueStore;

inline constexpr std::string_view kDeviceTypeValueName = "DeviceType";

// The stored type as a decimal number; 0 when the store or the value is missing or the value
// is not a number. Never creates the store.
int ReadSelectedType(const KeyValueStore& store);
// Stores the type as "%d" in the existing store; when the store cannot be opened nothing is
// written and nothing is reported.
void WriteSelectedType(const KeyValueStore& store, int deviceType);

}  // namespace cursorial
