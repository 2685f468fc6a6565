#include "controller/core/MouseSession.h"

namespace cursorial {

void LoadSupportedModels(DeviceLink& link, const std::vector<DeviceEntry>& connections) {
    link.ClearSupportedModels();
    for (const DeviceEntry& c : connections)
        link.AddSupportedModel(c.vendorId, c.productId, u"", c.deviceType, c.connectionKind,
                               c.deviceId);
}

void Reenumerate(DeviceLink& link) {
    link.ClearCommandInterface();
    link.CloseAll();
    link.EnumerateDevice();
    link.SetOpen(true);
}

std::optional<DeviceInfo> AskInformation(DeviceLink& link, SendStatus* status) {
    Command c = MakeReadCommand(command::kInfo);
    const SendStatus result = link.Transact(c.report, c.Length());
    if (status)
        *status = result;
    if (result != SendStatus::kOk)
        return std::nullopt;
    return DecodeDeviceInfo(c.report.bytes);
}

SettingsRead ReadMouseSettings(DeviceLink& link, int sensor, std::vector<ReadFailure>* failures) {
    SettingsRead read;
    for (std::uint8_t id : kSettingsReadOrder) {
        Command c = MakeReadCommand(id);
        const SendStatus status = link.Transact(c.report, c.Length());
        if (status != SendStatus::kOk) {
            if (failures)
                failures->push_back({id, status, c.report});
            continue;
        }
        AddSettingsAnswer(read, id, c.report.bytes, sensor);
    }
    return read;
}

std::optional<FirmwareVersionRead> AskFirmwareVersion(DeviceLink& link, SendStatus* status) {
    Command c = MakeReadCommand(command::kReadFirmware);
    const SendStatus result = link.Transact(c.report, c.Length());
    if (status)
        *status = result;
    if (result != SendStatus::kOk)
        return std::nullopt;
    return DecodeFirmwareVersion(c.report.bytes);
}

}  // namespace cursorial
