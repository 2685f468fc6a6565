#include "catalogue/SelectedDeviceType.h"

#include "common/text/WideText.h"

namespace cursorial {

int ReadSelectedType(const ValueStoreAccess& store) {
    if (!store.read)
        return 0;
    const std::optional<std::u16string> text = store.read(kDeviceTypeValueName);
    return text ? TextToInt(*text) : 0;
}

void WriteSelectedType(const ValueStoreAccess& store, int deviceType) {
    if (store.write)
        store.write(kDeviceTypeValueName, IntToText(deviceType));
}

}  // namespace cursorial
