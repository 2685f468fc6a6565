// The steps both programs take to reach the mouse: the link's table of supported models from the
// catalogue, a fresh enumeration, the information answer, and the read of every setting. The
// desktop program's worker and cursorialctl run the same steps, so they send the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "catalogue/DeviceEntry.h"
#include "device/DeviceLink.h"
#include "device/InfoDecoders.h"

namespace cursorial {

// Clears the link's supported models and adds one per connection (vendor id, product id, empty
// text, device type, connection kind, device identifier).
void LoadSupportedModels(DeviceLink& link, const std::vector<DeviceEntry>& connections);

// Forgets the cached command interface, closes every connected device, enumerates again and
// sets the open flag.
void Reenumerate(DeviceLink& link);

// The information command once. `status` (optional) tells how the exchange ended; a short answer
// gives nothing with kOk.
std::optional<DeviceInfo> AskInformation(DeviceLink& link, SendStatus* status = nullptr);

// One read of the full settings read that did not succeed.
struct ReadFailure {
    std::uint8_t command = 0;
    SendStatus status = SendStatus::kNoAnswer;
    CommandReport answer;
};

// 0x11 to 0x17 in order, each sent short; a read that fails is skipped and the next one still
// runs. `failures` (optional) collects the reads that failed.
SettingsRead ReadMouseSettings(DeviceLink& link, int sensor,
                               std::vector<ReadFailure>* failures = nullptr);

// 0x20, the firmware version the mouse reports over its receiver.
std::optional<FirmwareVersionRead> AskFirmwareVersion(DeviceLink& link,
                                                      SendStatus* status = nullptr);

}  // namespace cursorial
