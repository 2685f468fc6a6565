// The real HID backend: the hidraw build of hidapi, loaded at run time so the programs start
// (and find no devices) on a system without it. A missing library is looked for again at the
// next enumeration or open.
#pragma once

#include <memory>

#include "device/HidBackend.h"

namespace cursorial {

// Name of the shared library looked up at run time.
inline constexpr const char* kHidapiLibrary = "libhidapi-hidraw.so.0";

// Creates the backend. When CURSORIAL_HID_FORBID_REAL=1 (every test runs with it) this prints
// why and aborts the process: a test must never reach real hardware.
std::unique_ptr<HidBackend> CreateHidapiBackend();

// Why opening `node` failed, learned from the node itself (hidapi does not keep errno).
HidOpenError ClassifyOpenFailure(const char* node);

}  // namespace cursorial
