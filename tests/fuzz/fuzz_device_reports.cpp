// Fuzz target: bytes as the mouse or receiver could send them, handed to every decoder of device
// input. The input is decoded twice: as it came (any size, so the short-buffer checks are
// exercised) and as the 65-byte report buffer the transport really fills (cut or zero-padded).
// Besides not crashing, each decoder must keep the promises its callers build on.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <variant>

#include "device/CommandReport.h"
#include "device/InfoDecoders.h"
#include "exchange/ProfileCommands.h"
#include "device/Notifications.h"

namespace {

using namespace cursorial;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckNotification(std::span<const std::uint8_t> report) {
    const bool connection = report.size() >= 4 && report[0] == kReceiverConnectionReport;
    const bool dpiChange = report.size() >= 2 && report[0] == kDpiChangeReport;
    const Notification n = ParseNotification(report);
    Require(std::holds_alternative<ReceiverConnection>(n) == connection);
    Require(std::holds_alternative<DpiChange>(n) == dpiChange);
    if (const auto* c = std::get_if<ReceiverConnection>(&n))
        Require(c->MouseConnected() == (report[1] == 1));
    if (const auto* d = std::get_if<DpiChange>(&n))
        Require(d->stage >= 0 && d->stage < 16 && d->count >= 0 && d->count < 16);
}

void CheckAnswers(std::span<const std::uint8_t> answer, int sensor) {
    const bool longEnough = answer.size() >= kMinAnswerSize;

    const auto info = DecodeDeviceInfo(answer);
    Require(info.has_value() == longEnough);
    if (info)
        Require(info->identifier.size() == 4);
    const std::u16string id = DeviceIdentifierFromInfo(answer);
    Require(id.size() == (answer.size() >= 8 ? 4u : 0u));

    Require(DecodeReportRate(answer).has_value() == longEnough);
    Require(DecodeDpiColours(answer).has_value() == longEnough);
    Require(DecodeFirmwareVersion(answer).has_value() == longEnough);
    Require(DecodePower(answer).has_value() == longEnough);
    if (const auto light = DecodeLighting(answer)) {
        Require(light->brightness >= 0 && light->brightness < 16);
        Require(light->speed >= 0 && light->speed < 16);
    }
    if (const auto ls = DecodeLiftSensor(answer))
        Require(ls->sensorFlag == 0 || ls->sensorFlag == 4 || ls->sensorFlag == 8 ||
                ls->sensorFlag == 12);
    if (const auto stages = DecodeDpiStages(answer, sensor)) {
        Require(stages->count < 16 && stages->index < 16);
        for (const auto& dpi : stages->dpi)
            Require(!dpi || *dpi >= kLowestStoredDpi);
    }

    // A full settings read in which every answer is this buffer.
    SettingsRead read;
    for (std::uint8_t command : kSettingsReadOrder)
        AddSettingsAnswer(read, command, answer, sensor);
    const auto pairs = SettingsToStore(read);
    Require(longEnough || pairs.empty());
    for (const auto& pair : pairs)
        Require(!pair.key.empty() && !pair.value.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const std::uint8_t> raw(data, size);
    // The sensor code comes from the information answer; take it from the input so the DPI
    // decoding runs for every sensor row.
    const int sensor = size > 10 ? data[10] : 0;

    CheckNotification(raw);
    CheckAnswers(raw, sensor);

    std::array<std::uint8_t, kCommandReportSize> report{};
    std::copy_n(data, std::min(size, report.size()), report.begin());
    CheckNotification(report);
    CheckAnswers(report, sensor);
    return 0;
}
