// Where a catalogue load sends what it reads, besides its own lists: the device-list control
// of the window and the device link's table of supported models. The loader itself knows
// neither; the controller wires both.
#pragma once

#include "catalogue/DeviceEntry.h"

namespace cursorial {

class CatalogueSink {
public:
    virtual ~CatalogueSink() = default;

    // Once at the start of every load, before the file is opened: empty the device list and
    // the table of supported models.
    virtual void OnClear() {}
    // Once per `mouse`, in file order, with the connection fields still at their defaults
    // (the device list's AddDevice: name, device type, picture).
    virtual void OnModel(const DeviceEntry& model) { (void)model; }
    // Once per `mode`, in file order, with the model's and the connection's fields (the device
    // link's AddSupportedModel: vendor id, product id, device type, connection kind, device id).
    virtual void OnConnection(const DeviceEntry& connection) { (void)connection; }
};

}  // namespace cursorial
