#include "Cli.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

#include "catalogue/DeviceCatalogue.h"
#include "common/text/WideText.h"
#include "controller/core/MouseSession.h"
#include "platform/Paths.h"

namespace cursorial::cli {

int Fail(int code, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string message = FormatV(format, args);
    va_end(args);
    std::fprintf(stderr, "cursorialctl: %s\n", message.c_str());
    return code;
}

std::optional<std::string> ArgReader::TakeValue(std::string_view name) {
    for (std::size_t i = 0; i < args_.size(); ++i) {
        const std::string& a = args_[i];
        if (a == name) {
            if (i + 1 >= args_.size()) {
                error_ = std::string(name) + " needs a value";
                args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
                return std::nullopt;
            }
            std::string value = args_[i + 1];
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i),
                        args_.begin() + static_cast<std::ptrdiff_t>(i + 2));
            return value;
        }
        if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 &&
            a[name.size()] == '=') {
            std::string value = a.substr(name.size() + 1);
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
            return value;
        }
    }
    return std::nullopt;
}

bool ArgReader::TakeFlag(std::string_view name) {
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (args_[i] == name) {
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::optional<int> ArgReader::TakeInt(std::string_view name, int low, int high) {
    auto text = TakeValue(name);
    if (!text)
        return std::nullopt;
    int value = 0;
    auto [ptr, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (ec != std::errc() || ptr != text->data() + text->size() || value < low || value > high) {
        error_ = Format("%s wants a number from %d to %d, not \"%s\"", std::string(name).c_str(),
                        low, high, text->c_str());
        return std::nullopt;
    }
    return value;
}

bool ArgReader::Ok() {
    if (!error_.empty())
        return false;
    for (const auto& a : args_) {
        if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            error_ = "unknown option " + a;
            return false;
        }
    }
    return true;
}

int DeviceSession::Start(std::optional<int> type, int waitMs) {
    SetAnswerWait(waitMs);
    if (int code = Open(); code != kExitOk)
        return code;
    return Select(type);
}

int DeviceSession::Open() {
    DeviceLink& link = Link();
    // Told on stderr when the link was created; a world that is not the one asked for would
    // only give misleading answers.
    if (!link.BackendFailure().empty())
        return kExitSetup;
    const std::filesystem::path folder = ExecutableFolder();
    DeviceCatalogue catalogue;
    const DataFileStatus status = catalogue.Load(folder, u"dark");
    if (status != DataFileStatus::kOk)
        return Fail(kExitSetup, "cannot read the device catalogue %s (%s)",
                    CatalogueFilePath(folder).c_str(), DataFileStatusName(status));
    // The same steps as the program's device selection.
    LoadSupportedModels(link, catalogue.Connections());
    Reenumerate(link);
    for (const AccessProblem& p : link.AccessProblems()) {
        Fail(kExitDevice,
             "no permission to open %s (%s): install the udev rule 70-cursorial.rules "
             "(see docs/cli.md) and plug the device in again",
             p.path.c_str(), IdsText(p.vendorId, p.productId).c_str());
    }
    return kExitOk;
}

int DeviceSession::Select(std::optional<int> type) {
    DeviceLink& link = Link();
    const auto devices = link.AllDevices();
    if (type) {
        bool present = false;
        for (const auto& d : devices)
            present = present || d.deviceType == *type;
        if (!present)
            return Fail(kExitDevice, "no connected device of type %d", *type);
        type_ = *type;
    } else {
        for (const auto& d : devices) {
            if (d.deviceType != 0) {
                type_ = d.deviceType;
                break;
            }
        }
        if (type_ == 0)
            return Fail(kExitDevice, devices.empty() ? "no supported device is connected"
                                                     : "no connected device answered");
    }
    link.SetCurrentType(type_);
    link.ClearCommandInterface();
    return kExitOk;
}

// Identification waits no longer than a command: the pause before asking again is capped too.
void DeviceSession::SetAnswerWait(int milliseconds) {
    LinkTiming timing = Link().Timing();
    timing.answerReadMs = std::min(milliseconds, 30);
    timing.answerReads = std::max(1, milliseconds / std::max(1, timing.answerReadMs));
    timing.identifyRetryMs = std::min(timing.identifyRetryMs, milliseconds);
    Link().SetTiming(timing);
}

int FailSend(std::string_view what, SendStatus status, const CommandReport& answer) {
    if (status == SendStatus::kRejected)
        return Fail(kExitDevice, "%.*s: %s (status 0x%02X)", static_cast<int>(what.size()),
                    what.data(), SendStatusText(status), answer[kAnswerStatusByte]);
    return Fail(kExitDevice, "%.*s: %s", static_cast<int>(what.size()), what.data(),
                SendStatusText(status));
}

std::string IdsText(std::uint16_t vendorId, std::uint16_t productId) {
    return Format("%04x:%04x", vendorId, productId);
}

}  // namespace cursorial::cli
