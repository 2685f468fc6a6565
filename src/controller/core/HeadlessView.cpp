#include "controller/core/ControllerView.h"

namespace cursorial {

int HeadlessView::ShowDeviceList(const std::vector<DeviceListRow>& rows, int requestedType) {
    int first = 0;
    for (const DeviceListRow& row : rows) {
        if (row.online == 0)
            continue;
        if (row.deviceType == requestedType)
            return requestedType;
        if (first == 0)
            first = row.deviceType;
    }
    return first != 0 ? first : requestedType;
}

}  // namespace cursorial
