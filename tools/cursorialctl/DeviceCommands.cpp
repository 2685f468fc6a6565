#include "DeviceCommands.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "common/text/WideText.h"
#include "controller/core/MouseSession.h"
#include "device/DpiCodec.h"
#include "device/InfoDecoders.h"
#include "device/VersionText.h"
#include "exchange/ProfileCommands.h"

namespace cursorial::cli {

namespace {

// Options every command that talks to one model takes: --type T, --wait MS.
struct TargetOptions {
    std::optional<int> type;
    int waitMs = 1500;
};

bool ReadTargetOptions(ArgReader& args, TargetOptions& options) {
    options.type = args.TakeInt("--type", 1, 1 << 30);
    if (auto wait = args.TakeInt("--wait", 1, 600000))
        options.waitMs = *wait;
    return args.Ok();
}

std::string Utf8(std::u16string_view text) {
    return ToUtf8(text);
}

const char* KindName(int kind) {
    switch (kind) {
        case kKindCable:
            return "cable";
        case kKindReceiver:
            return "receiver";
        default:
            return "unknown";
    }
}

// ---------------------------------------------------------------------------------------------

int RunDevices(std::span<const std::string> argv) {
    ArgReader args(argv);
    if (!args.Ok() || !args.Rest().empty())
        return Fail(kExitUsage, "devices takes no arguments");
    DeviceSession session;
    if (int code = session.Open(); code != kExitOk)
        return code;
    for (const ConnectedDeviceInfo& d : session.Link().AllDevices()) {
        std::printf("%s %s %s %04x:%04x type=%d online=%d id=%s\n", d.path.c_str(),
                    IdsText(d.vendorId, d.productId).c_str(), KindName(d.connectionKind),
                    d.usagePage, d.usage, d.deviceType, d.online,
                    d.deviceId.empty() ? "-" : Utf8(d.deviceId).c_str());
    }
    return kExitOk;
}

// Firmware version as the settings page shows it: the cable's USB release, or over the
// receiver the answer of the firmware read.
int FirmwareText(DeviceLink& link, std::string& text) {
    if (link.ConnectionMode() == kKindReceiver) {
        Command c = MakeReadCommand(command::kReadFirmware);
        const SendStatus status = link.Transact(c.report, c.Length());
        if (status != SendStatus::kOk)
            return FailSend("firmware version", status, c.report);
        auto version = DecodeFirmwareVersion(c.report.bytes);
        if (!version)
            return Fail(kExitDevice, "firmware version: short answer");
        text = Utf8(MajorMinorText(FirmwareVersionText(version->major, version->minor)));
        return kExitOk;
    }
    std::uint32_t release = 0;
    if (!link.GetRelease(kKindCable, release))
        return Fail(kExitDevice, "firmware version: no cable release number");
    text = Utf8(MajorMinorText(ReleaseVersionText(release)));
    return kExitOk;
}

// The information answer, or the exit code of its failure.
int QueryInfo(DeviceLink& link, DeviceInfo& info) {
    SendStatus status = SendStatus::kNoAnswer;
    const std::optional<DeviceInfo> decoded = AskInformation(link, &status);
    if (status != SendStatus::kOk)
        return FailSend("information", status, MakeReadCommand(command::kInfo).report);
    if (!decoded)
        return Fail(kExitDevice, "information: short answer");
    info = *decoded;
    return kExitOk;
}

// The start of a command that takes only the target options and begins by asking the mouse
// for its information: kExitOk, or the exit code of the printed failure.
int StartWithInfo(const char* name, std::span<const std::string> argv, DeviceSession& session,
                  DeviceInfo& info) {
    ArgReader args(argv);
    TargetOptions options;
    if (!ReadTargetOptions(args, options) || !args.Rest().empty())
        return Fail(kExitUsage, "%s: %s", name,
                    args.Error().empty() ? "unexpected argument" : args.Error().c_str());
    if (int code = session.Start(options.type, options.waitMs); code != kExitOk)
        return code;
    return QueryInfo(session.Link(), info);
}

int RunInfo(std::span<const std::string> argv) {
    DeviceSession session;
    DeviceInfo info;
    if (int code = StartWithInfo("info", argv, session, info); code != kExitOk)
        return code;
    DeviceLink& link = session.Link();
    std::printf("type=%d\n", session.Type());
    std::printf("connection=%s\n", KindName(link.ConnectionMode()));
    std::printf("identifier=%s\n", Utf8(info.identifier).c_str());
    std::printf("sensor=%d\n", info.sensor);
    std::printf("rate_class=%d\n", RateClassFromCapability(info.highestRate));
    std::printf("battery=%d\n", info.batteryLevel);
    std::printf("charge=%d\n", info.chargeState);
    std::printf("connected=%d\n", info.connected);
    std::string firmware;
    const int code = FirmwareText(link, firmware);
    if (code == kExitOk)
        std::printf("firmware=%s\n", firmware.c_str());
    return code;
}

int RunRead(std::span<const std::string> argv) {
    DeviceSession session;
    DeviceInfo info;
    if (int code = StartWithInfo("read", argv, session, info); code != kExitOk)
        return code;
    DeviceLink& link = session.Link();
    if (info.connected == 0)
        return Fail(kExitDevice, "the mouse is not connected");

    // As the synchronisation reads: every read in order, a failed one skipped.
    std::vector<ReadFailure> failures;
    const SettingsRead read = ReadMouseSettings(link, info.sensor, &failures);
    int result = kExitOk;
    for (const ReadFailure& f : failures)
        result = FailSend(Format("read 0x%02X", f.command), f.status, f.answer);
    for (const SettingPair& p : SettingsToStore(read))
        std::printf("%s=%s\n", Utf8(p.key).c_str(), Utf8(p.value).c_str());
    if (read.lighting) {
        std::printf("light_mode=%d\n", read.lighting->mode);
        std::printf("light_brightness=%d\n", read.lighting->brightness);
        std::printf("light_speed=%d\n", read.lighting->speed);
    }
    return result;
}

// "02", "0x02", "020001": whole bytes of hexadecimal digits.
bool ParseHexBytes(std::string_view text, std::vector<std::uint8_t>& out) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
            return false;
        out.push_back(static_cast<std::uint8_t>(HexTextToInt(FromUtf8(text.substr(i, 2)))));
    }
    return true;
}

int RunSend(std::span<const std::string> argv) {
    ArgReader args(argv);
    TargetOptions options;
    const bool longReport = args.TakeFlag("--long");
    if (!ReadTargetOptions(args, options))
        return Fail(kExitUsage, "send: %s", args.Error().c_str());
    std::vector<std::uint8_t> bytes;
    for (const std::string& word : args.Rest()) {
        if (!ParseHexBytes(word, bytes))
            return Fail(kExitUsage, "send: \"%s\" is not hexadecimal bytes", word.c_str());
    }
    if (bytes.empty())
        return Fail(kExitUsage, "send: give the report bytes from the command id on");
    if (bytes.size() > kChecksumByte - 1)
        return Fail(kExitUsage, "send: at most %zu bytes (command id to byte 31)",
                    kChecksumByte - 1);
    DeviceSession session;
    if (int code = session.Start(options.type, options.waitMs); code != kExitOk)
        return code;
    CommandReport report;
    std::copy(bytes.begin(), bytes.end(), report.bytes.begin() + 1);
    const std::size_t length = longReport ? kCommandReportSize : 33;
    const SendStatus status = session.Link().Transact(report, length);
    if (status == SendStatus::kOk || status == SendStatus::kRejected) {
        for (std::size_t i = 0; i < length; ++i)
            std::printf(i ? " %02X" : "%02X", report[i]);
        std::printf("\n");
    }
    if (status != SendStatus::kOk)
        return FailSend("send", status, report);
    return kExitOk;
}

constexpr std::array kCommands = {
    CommandSpec{"devices", "", "list the connected interfaces of supported mice and receivers",
                RunDevices},
    CommandSpec{"info", "[--type T] [--wait MS]",
                "show the mouse's information answer and firmware version", RunInfo},
    CommandSpec{"read", "[--type T] [--wait MS]",
                "read every setting from the mouse, as the program stores them", RunRead},
    CommandSpec{"send", "[--type T] [--wait MS] [--long] HEX...",
                "send one raw command (checksum filled in) and print the answer", RunSend},
};

}  // namespace

std::span<const CommandSpec> DeviceCommands() {
    return kCommands;
}

}  // namespace cursorial::cli
