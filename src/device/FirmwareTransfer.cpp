#include "device/FirmwareTransfer.h"

#include <chrono>
#include <thread>

#include "device/UpgradeReports.h"

namespace cursorial {

const char* FirmwareTransferResultText(FirmwareTransferResult result) {
    switch (result) {
        case FirmwareTransferResult::kDone:
            return "done";
        case FirmwareTransferResult::kEmptyImage:
            return "the image is empty";
        case FirmwareTransferResult::kImageTooLarge:
            return "the image is too large";
        case FirmwareTransferResult::kNoUpgradeInterface:
            return "no upgrade interface found";
        case FirmwareTransferResult::kStartRefused:
            return "the mouse did not take the start report";
        case FirmwareTransferResult::kDataRefused:
            return "the mouse did not take a data report";
    }
    return "?";
}

FirmwareTransferResult TransferFirmwareImage(DeviceLink& link, std::span<const std::uint8_t> image,
                                             const std::function<void(int percent)>& progress) {
    const UpgradePlan plan = PlanImageTransfer(image);
    if (plan.status == UpgradePlanStatus::kEmptyImage)
        return FirmwareTransferResult::kEmptyImage;
    if (plan.status == UpgradePlanStatus::kImageTooLarge)
        return FirmwareTransferResult::kImageTooLarge;

    int vendorId = 0;
    int productId = 0;
    link.CurrentVidPid(vendorId, productId);
    if (!link.OpenUpgradeInterface(vendorId, productId))
        return FirmwareTransferResult::kNoUpgradeInterface;
    if (!link.UpgradeTransfer(MakeUpgradeStartReport()))
        return FirmwareTransferResult::kStartRefused;

    const int pauseMs = link.Timing().upgradePauseMs;
    FirmwareTransferResult result = FirmwareTransferResult::kDone;
    for (const UpgradeStep& step : plan.steps) {
        const bool taken = link.UpgradeTransfer(step.report);
        if (!taken && step.stopOnFailure) {
            result = FirmwareTransferResult::kDataRefused;
            break;
        }
        if (step.pauseAfter && pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        if (step.progress && progress)
            progress(*step.progress);
    }
    link.UpgradeTransfer(MakeUpgradeFinishReport());
    return result;
}

}  // namespace cursorial
