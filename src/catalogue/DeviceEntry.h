// The records built from the device catalogue (config.xml): one DeviceEntry per model or per
// connection of a model, and the software's own information.
#pragma once

#include <filesystem>
#include <string>

namespace cursorial {

// Connection kinds carried by `mode value=`.
inline constexpr int kConnectionCable = 0;
inline constexpr int kConnectionReceiver = 1;

// One model (model list) or one connection of a model (connection list). Text fields start
// empty and numbers 0; a model-list entry keeps the connection fields at those values.
struct DeviceEntry {
    std::u16string name;            // mouse name=, shown in the device list
    int deviceType = 0;             // mouse device_type=, decimal
    std::u16string modelKey;        // mouse device_attr=, names the description file and database
    std::filesystem::path picture;  // skin device folder followed by mouse image=
    int connectionKind = 0;         // mode value=: kConnectionCable or kConnectionReceiver
    int vendorId = 0;               // mode vid=, hexadecimal
    int productId = 0;              // mode pid=, hexadecimal
    std::u16string deviceId;        // mode dev_id=, matched against what the mouse reports
    std::u16string description;     // mode desc=, kept only
    std::u16string hidInterface;    // mode hid_interface=, kept only

    bool operator==(const DeviceEntry&) const = default;
};

// The `software` element. An absent child element leaves its text empty.
struct SoftwareInfo {
    std::u16string caption;
    std::u16string version;
    std::u16string website;
    std::u16string feedback;
    std::u16string qa;
    std::u16string store;
    std::u16string upgradeUrl;  // base address of the update server
    std::u16string copyright;

    bool operator==(const SoftwareInfo&) const = default;
};

}  // namespace cursorial
