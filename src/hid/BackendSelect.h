// Which HID backend a program uses, chosen by its environment:
//   CURSORIAL_HID=sim          the simulator (devices described by CURSORIAL_SIM=<file>, or the
//                              shipped models when unset)
//   CURSORIAL_HID unset/hidapi real devices through hidapi
//   CURSORIAL_HID_TRACE=<file> wrap the chosen backend in the report trace
//
// Start-up installs it once: DeviceLink::InstallBackendFactory([] {
//     return hid::CreateBackendFromEnvironment("cursorialctl"); });
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceLink.h"
#include "device/HidBackend.h"

namespace cursorial::hid {

// The choice without side effects: `notes` are problems the program works around (an unknown
// CURSORIAL_HID value, a trace file that cannot be opened), `choice.failure` one it cannot (a
// simulator file that cannot be read or parsed; the simulator then has no devices).
struct Selection {
    BackendChoice choice;
    std::vector<std::string> notes;
};
Selection SelectBackend();

// SelectBackend, with every note and the failure printed on stderr as "<program>: <text>".
BackendChoice CreateBackendFromEnvironment(std::string_view program);

// Wraps `backend` in the trace when CURSORIAL_HID_TRACE names a file; a note when that file
// cannot be opened (the backend is then returned as it is).
std::unique_ptr<HidBackend> TraceFromEnvironment(std::unique_ptr<HidBackend> backend,
                                                 std::vector<std::string>& notes);

}  // namespace cursorial::hid
