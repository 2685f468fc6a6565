// Writing a firmware image to the mouse's upgrade interface: open the interface of the device
// that carries the commands, send the start report, the numbered data reports and the finish
// report. Runs on the worker while nothing else talks to the mouse.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "device/DeviceLink.h"

namespace cursorial {

enum class FirmwareTransferResult {
    kDone,                // every report was written (the last partial one is not checked)
    kEmptyImage,          // nothing was sent
    kImageTooLarge,       // nothing was sent: block numbers would wrap
    kNoUpgradeInterface,  // no upgrade interface beside the command interface
    kStartRefused,        // the start report was not taken; nothing more was sent
    kDataRefused,         // a data report was not taken; the finish report was still sent
};
const char* FirmwareTransferResultText(FirmwareTransferResult result);

// Opens the upgrade interface of the command interface's device (ids 0 when there is none)
// and writes the image. `progress` (optional) hears the percentage after each full data report:
// the running sum of 90 per report divided by (image size / 48), plus 10. The upgrade interface
// stays open afterwards, as the link keeps it until the next upgrade.
FirmwareTransferResult TransferFirmwareImage(DeviceLink& link, std::span<const std::uint8_t> image,
                                             const std::function<void(int percent)>& progress);

}  // namespace cursorial
