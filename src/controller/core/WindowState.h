// The states a device refresh leaves the main window in, and the rule that picks one.
#pragma once

namespace cursorial {

enum class WindowState {
    kNoDevice,    // no supported mouse or receiver listed at all
    kOtherModel,  // devices listed, none of the selected model reachable
    kCable,       // the selected model on its cable
    kReceiver,    // the selected model through its receiver
};

// `anyListed`: the enumeration listed at least one supported interface; `connectionMode`: the
// link's connection of the selected model (0 cable, 1 receiver, -1 none).
constexpr WindowState DecideWindowState(bool anyListed, int connectionMode) {
    if (!anyListed)
        return WindowState::kNoDevice;
    if (connectionMode == 0)
        return WindowState::kCable;
    if (connectionMode == 1)
        return WindowState::kReceiver;
    return WindowState::kOtherModel;
}

// Polling for unasked reports runs whenever something is listed; the device view shows only
// with a connection of the selected model.
constexpr bool PollsIn(WindowState state) {
    return state != WindowState::kNoDevice;
}
constexpr bool ShowsDevice(WindowState state) {
    return state == WindowState::kCable || state == WindowState::kReceiver;
}

}  // namespace cursorial
