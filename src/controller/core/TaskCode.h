// The units of work the window thread hands to the worker, one small integer each. A code that
// has no entry here does nothing when it comes out of the queue.
#pragma once

namespace cursorial::task {

inline constexpr int kSelectAndReload = 1;      // start: select the device, reload sequence A
inline constexpr int kDeviceArrived = 2;        // hot-plug arrival: the same after 1 ms
inline constexpr int kDeviceRemoved = 3;        // hot-plug removal: reload sequence B
inline constexpr int kResynchronise = 4;        // device list click on a receiver: sequence C
inline constexpr int kWriteProfile = 5;         // profile switch or import: write everything
inline constexpr int kWriteButtons = 6;         // button page
inline constexpr int kWriteLighting = 8;        // lighting page
inline constexpr int kWriteDpiStages = 9;       // performance page
inline constexpr int kWriteDpiColours = 10;     // stage colour
inline constexpr int kWriteReportRate = 11;     // report rate, its restore
inline constexpr int kWriteLiftSensor = 12;     // lift-off distance, sensor options
inline constexpr int kWritePower = 13;          // sleep, wake on movement, button response
inline constexpr int kLightingReset = 17;       // confirmed lighting reset
inline constexpr int kRestoreDpiDefaults = 18;  // DPI defaults of the description
inline constexpr int kFactoryReset = 20;        // confirmed factory reset
inline constexpr int kCheckSoftware = 23;       // software update check
inline constexpr int kCheckFirmware = 24;       // firmware update check
inline constexpr int kInstallSoftware = 26;     // download and start the installer
inline constexpr int kUpgradeFirmware = 27;     // download the firmware and upgrade the mouse

}  // namespace cursorial::task
