// Shared pieces of cursorialctl: exit codes, messages, argument reading and the device session
// every device command starts from. Command groups live in their own files and hand main.cpp a
// table of CommandSpec.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceLink.h"

namespace cursorial::cli {

// Exit codes. Kept stable: scripts rely on them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDevice = 1;  // no device, the link failed, no answer, or refused
inline constexpr int kExitUsage = 2;   // bad arguments
inline constexpr int kExitSetup = 3;   // the program's own data (config.xml) could not be read

// Prints "cursorialctl: <message>" on stderr and returns `code`.
int Fail(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

struct CommandSpec {
    std::string_view name;
    std::string_view synopsis;  // arguments after the name, for the usage text
    std::string_view summary;   // one line
    int (*run)(std::span<const std::string> args);
};

// Reads options out of `args`. Each Take* removes what it took; Rest() is what remains.
class ArgReader {
public:
    explicit ArgReader(std::span<const std::string> args) : args_(args.begin(), args.end()) {}
    // --name VALUE (or --name=VALUE). nullopt when absent; error set when the value is missing.
    std::optional<std::string> TakeValue(std::string_view name);
    bool TakeFlag(std::string_view name);
    // A decimal integer option within [low, high]; error set when malformed.
    std::optional<int> TakeInt(std::string_view name, int low, int high);
    const std::vector<std::string>& Rest() const { return args_; }
    // Unknown options left over count as an error too.
    bool Ok();
    const std::string& Error() const { return error_; }

private:
    std::vector<std::string> args_;
    std::string error_;
};

// The link with the catalogue's models, after one enumeration.
class DeviceSession {
public:
    // Loads config.xml into the link's table and enumerates. Returns an exit code (kExitOk on
    // success; the message is already printed otherwise).
    int Open();
    // Selects `type`, or the first identified device's type when none is given. kExitOk or the
    // printed failure.
    int Select(std::optional<int> type);
    // Sets the answer wait: reads of 30 ms adding up to about `milliseconds`.
    void SetAnswerWait(int milliseconds);
    // Open, SetAnswerWait and Select in one: what every command that talks to the mouse does
    // first. kExitOk or the printed failure.
    int Start(std::optional<int> type, int waitMs);
    int Type() const { return type_; }
    DeviceLink& Link() { return DeviceLink::Instance(); }

private:
    int type_ = 0;
};

// The failure message of a command exchange that did not succeed.
int FailSend(std::string_view what, SendStatus status, const CommandReport& answer);

// "1209:0001"
std::string IdsText(std::uint16_t vendorId, std::uint16_t productId);

}  // namespace cursorial::cli
