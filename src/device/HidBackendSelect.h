// Which HID backend a program uses, chosen by its environment:
//   CURSORIAL_HID=sim          the simulator (devices described by CURSORIAL_SIM=<file>, or the
//                              shipped models when unset)
//   CURSORIAL_HID unset/hidapi real devices through hidapi
//   CURSORIAL_HID_TRACE=<file> wrap the chosen backend in the report trace
#pragma once

#include <memory>

#include "device/HidBackend.h"

namespace cursorial {

std::unique_ptr<HidBackend> CreateBackendFromEnvironment();

// Wraps `backend` in the trace when CURSORIAL_HID_TRACE names a file that can be opened.
std::unique_ptr<HidBackend> TraceFromEnvironment(std::unique_ptr<HidBackend> backend);

}  // namespace cursorial
