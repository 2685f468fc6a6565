#include "sim/SimConfig.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "sim/VirtualUpgrade.h"

namespace cursorial::sim {

SimConfig DefaultSimConfig() {
    SimConfig config;
    MouseConfig aero;
    aero.name = "aero";
    aero.deviceId = "AE01";
    aero.sensor = 150;
    aero.maxRate = 0x40;
    aero.battery = 80;
    aero.firmwareMajor = 1;
    aero.firmwareMinor = 5;
    // Sensor 150 reads back as c x 50: 400, 800, 1600, 3200, 6400, 12800 DPI.
    aero.dpiCodes = {8, 16, 32, 64, 128, 256};
    MouseConfig terra;
    terra.name = "terra";
    terra.deviceId = "TR01";
    terra.sensor = 17;
    terra.maxRate = 0x01;  // 1000 Hz at most
    terra.battery = 0;
    terra.firmwareMajor = 1;
    terra.firmwareMinor = 2;
    // Sensor 17 stores d / 50 up to 10000 DPI: 400, 800, 1600, 3200, 6400, 9600.
    terra.dpiCodes = {8, 16, 32, 64, 128, 192};
    terra.lightMode = 0;
    config.mice = {aero, terra};

    DeviceConfig aeroCable{.name = "aero-cable",
                           .mouse = "aero",
                           .connection = kCable,
                           .productId = 0x0001,
                           .release = 0x0105};
    DeviceConfig aeroReceiver{.name = "aero-receiver",
                              .mouse = "aero",
                              .connection = kReceiver,
                              .productId = 0x0002,
                              .release = 0x0110};
    DeviceConfig terraCable{.name = "terra-cable",
                            .mouse = "terra",
                            .connection = kCable,
                            .productId = 0x0003,
                            .release = 0x0102};
    config.devices = {aeroCable, aeroReceiver, terraCable};
    return config;
}

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Decimal, or hexadecimal with 0x.
bool ParseNumber(std::string_view text, long long& value) {
    text = Trim(text);
    int base = 10;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return false;
    if (negative)
        value = -value;
    return true;
}

template <typename T>
bool ParseInto(std::string_view text, T& out, long long low, long long high) {
    long long v = 0;
    if (!ParseNumber(text, v) || v < low || v > high)
        return false;
    out = static_cast<T>(v);
    return true;
}

bool ParseBool(std::string_view text, bool& out) {
    long long v = 0;
    if (!ParseNumber(text, v) || (v != 0 && v != 1))
        return false;
    out = v == 1;
    return true;
}

template <typename T, std::size_t N>
bool ParseList(std::string_view text, std::array<T, N>& out, long long high) {
    std::size_t i = 0;
    while (true) {
        const auto comma = text.find(',');
        if (i >= N || !ParseInto(text.substr(0, comma), out[i], 0, high))
            return false;
        ++i;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return i == N;
}

// "start", "data", "finish", comma-separated, or "none".
bool ParseUpgradeKinds(std::string_view text, unsigned& out) {
    unsigned kinds = 0;
    if (Trim(text) != "none") {
        while (true) {
            const auto comma = text.find(',');
            const std::string_view word = Trim(text.substr(0, comma));
            if (word == "start")
                kinds |= kUpgradeStart;
            else if (word == "data")
                kinds |= kUpgradeData;
            else if (word == "finish")
                kinds |= kUpgradeFinish;
            else
                return false;
            if (comma == std::string_view::npos)
                break;
            text.remove_prefix(comma + 1);
        }
    }
    out = kinds;
    return true;
}

bool SetMouseKey(MouseConfig& m, std::string_view key, std::string_view value) {
    if (key == "dev_id") {
        if (value.size() > 4)
            return false;
        m.deviceId = std::string(value);
        return true;
    }
    if (key == "sensor")
        return ParseInto(value, m.sensor, 0, 255);
    if (key == "max_rate")
        return ParseInto(value, m.maxRate, 0, 255);
    if (key == "battery")
        return ParseInto(value, m.battery, 0, 255);
    if (key == "charge")
        return ParseInto(value, m.charge, 0, 255);
    if (key == "firmware_major")
        return ParseInto(value, m.firmwareMajor, 0, 255);
    if (key == "firmware_minor")
        return ParseInto(value, m.firmwareMinor, 0, 255);
    if (key == "switched_on")
        return ParseBool(value, m.switchedOn);
    if (key == "report_rate")
        return ParseInto(value, m.reportRate, 0, 255);
    if (key == "dpi_count")
        return ParseInto(value, m.dpiCount, 0, 15);
    if (key == "dpi_index")
        return ParseInto(value, m.dpiIndex, 0, 15);
    if (key == "dpi_codes")
        return ParseList(value, m.dpiCodes, 0xFFFF);
    if (key == "dpi_colours")
        return ParseList(value, m.dpiColours, 0xFFFFFF);
    if (key == "light_mode")
        return ParseInto(value, m.lightMode, 0, 255);
    if (key == "light_brightness")
        return ParseInto(value, m.lightBrightness, 0, 15);
    if (key == "light_speed")
        return ParseInto(value, m.lightSpeed, 0, 15);
    if (key == "liftoff")
        return ParseInto(value, m.liftoff, 0, 255);
    if (key == "power")
        return ParseList(value, m.power, 255);
    if (key == "sensor_options")
        return ParseList(value, m.sensorOptions, 255);
    if (key == "connected")
        return ParseBool(value, m.infoConnected);
    return false;
}

bool SetDeviceKey(DeviceConfig& d, std::string_view key, std::string_view value) {
    if (key == "mouse") {
        d.mouse = std::string(value);
        return !d.mouse.empty();
    }
    if (key == "connection") {
        if (value == "cable")
            d.connection = kCable;
        else if (value == "receiver")
            d.connection = kReceiver;
        else
            return false;
        return true;
    }
    if (key == "vid")
        return ParseInto(value, d.vendorId, 0, 0xFFFF);
    if (key == "pid")
        return ParseInto(value, d.productId, 0, 0xFFFF);
    if (key == "release")
        return ParseInto(value, d.release, 0, 0xFFFF);
    if (key == "plugged")
        return ParseBool(value, d.plugged);
    if (key == "deny_open")
        return ParseBool(value, d.denyOpen);
    if (key == "answer_limit")
        return ParseInto(value, d.answerLimit, -1, 1 << 30);
    if (key == "drop_answers")
        return ParseInto(value, d.dropAnswers, 0, 1 << 30);
    if (key == "status")
        return ParseInto(value, d.status, 0, 255);
    if (key == "answer_delay_ms")
        return ParseInto(value, d.answerDelayMs, 0, 60000);
    if (key == "unplug_after")
        return ParseInto(value, d.unplugAfter, -1, 1 << 30);
    if (key == "fail_at")
        return ParseInto(value, d.failAt, 0, 1 << 30);
    if (key == "fail_with")
        return ParseCommandFault(value, d.failWith);
    if (key == "late_by_ms")
        return ParseInto(value, d.lateByMs, 0, 60000);
    if (key == "state_when_off")
        return ParseBool(value, d.stateWhenOff);
    if (key == "refuse_upgrade")
        return ParseUpgradeKinds(value, d.refuseUpgrade);
    return false;
}

}  // namespace

bool ParseCommandFault(std::string_view text, CommandFault& fault) {
    text = Trim(text);
    if (text == "no_answer")
        fault = CommandFault::kNoAnswer;
    else if (text == "refused")
        fault = CommandFault::kRefused;
    else if (text == "unplugged")
        fault = CommandFault::kUnplugged;
    else if (text == "late")
        fault = CommandFault::kLateAnswer;
    else
        return false;
    return true;
}

bool ParseSimConfig(std::string_view text, SimConfig& config, std::string& error) {
    SimConfig result;
    enum class Section { kTop, kMouse, kDevice } section = Section::kTop;
    std::size_t index = 0;
    bool sawSection = false;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("unterminated section header");
            std::string_view inner = Trim(line.substr(1, line.size() - 2));
            const auto space = inner.find(' ');
            const std::string_view kind = inner.substr(0, space);
            const std::string name =
                space == std::string_view::npos ? "" : std::string(Trim(inner.substr(space)));
            if (name.empty())
                return fail("a section needs a kind and a name: [mouse NAME] or [device NAME]");
            sawSection = true;
            if (kind == "mouse") {
                section = Section::kMouse;
                index = result.mice.size();
                for (std::size_t i = 0; i < result.mice.size(); ++i)
                    if (result.mice[i].name == name)
                        index = i;
                if (index == result.mice.size()) {
                    result.mice.push_back(MouseConfig{});
                    result.mice.back().name = name;
                }
            } else if (kind == "device") {
                section = Section::kDevice;
                index = result.devices.size();
                for (std::size_t i = 0; i < result.devices.size(); ++i)
                    if (result.devices[i].name == name)
                        index = i;
                if (index == result.devices.size()) {
                    result.devices.push_back(DeviceConfig{});
                    result.devices.back().name = name;
                }
            } else {
                return fail("unknown section kind \"" + std::string(kind) + "\"");
            }
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            return fail("expected key = value");
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        bool ok = false;
        switch (section) {
            case Section::kTop:
                if (key == "base") {
                    if (sawSection)
                        return fail("base must come before the first section");
                    if (value == "shipped") {
                        const int latency = result.latencyMs;
                        result = DefaultSimConfig();
                        result.latencyMs = latency;
                        ok = true;
                    } else {
                        ok = value == "empty";
                    }
                } else if (key == "latency_ms") {
                    ok = ParseInto(value, result.latencyMs, 0, 10000);
                }
                break;
            case Section::kMouse:
                ok = SetMouseKey(result.mice[index], key, value);
                break;
            case Section::kDevice:
                ok = SetDeviceKey(result.devices[index], key, value);
                break;
        }
        if (!ok)
            return fail("bad key or value: " + std::string(key) + " = " + std::string(value));
    }
    for (const auto& d : result.devices) {
        bool found = false;
        for (const auto& m : result.mice)
            found = found || m.name == d.mouse;
        if (!found) {
            error = "device " + d.name + " names an unknown mouse \"" + d.mouse + "\"";
            return false;
        }
    }
    config = std::move(result);
    return true;
}

bool LoadSimConfig(const std::filesystem::path& file, SimConfig& config, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!ParseSimConfig(text.str(), config, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

}  // namespace cursorial::sim
