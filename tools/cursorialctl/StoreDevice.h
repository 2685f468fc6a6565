// The store commands' traffic with the mouse: what a button change sends, and writing a whole
// stored profile. Plain values in, an exit code out (failures already printed).
#pragma once

#include <array>
#include <span>

#include "store/Records.h"

namespace cursorial {
class ConfigDatabase;
}

namespace cursorial::cli {

struct DeviceTarget {
    int deviceType = 0;  // the model to select among the connected devices
    int waitMs = 1500;   // how long to wait for each answer
};

// The pending macro of `pendingKey` (a button just given a macro; -1 for none), then the button
// function table of `profile` over the model's default assignments.
int SendButtonChange(ConfigDatabase& db, const DeviceTarget& target, int profile, int pendingKey,
                     std::span<const KeyAssignment> modelDefaults);

// Asks the mouse for its information (sensor and DPI limits), then writes `profile` as the
// write-all task does: 0x09, 0x05 (with lighting), 0x03, 0x04, 0x02, 0x06, 0x07. A profile of a
// model with lighting gets its lighting rows first when it has none (from `lightEffects`).
int ApplyProfile(ConfigDatabase& db, const DeviceTarget& target, int profile, bool hasLighting,
                 const std::array<bool, 6>& lightEffects,
                 std::span<const KeyAssignment> modelDefaults);

}  // namespace cursorial::cli
