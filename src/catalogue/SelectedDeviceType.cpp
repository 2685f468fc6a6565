#include "catalogue/SelectedDeviceType.h"

#include "platform/KeyValueStore.h"

namespace cursorial {

int ReadSelectedType(const KeyValueStore& store) {
    return store.ReadNumber(kDeviceTypeValueName, /*create_key=*/false);
}

void WriteSelectedType(const KeyValueStore& store, int deviceType) {
    store.WriteNumber(kDeviceTypeValueName, deviceType);
}

}  // namespace cursorial
