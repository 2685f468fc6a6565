#include "device/HidBackendSelect.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "device/HidTrace.h"
#include "device/HidapiBackend.h"
#include "sim/SimBackend.h"

namespace cursorial {

std::unique_ptr<HidBackend> TraceFromEnvironment(std::unique_ptr<HidBackend> backend) {
    const char* file = std::getenv("CURSORIAL_HID_TRACE");
    if (!file || !*file)
        return backend;
    auto trace = HidTrace::Open(file);
    if (!trace) {
        std::fprintf(stderr, "cursorial: cannot open the HID trace file %s\n", file);
        return backend;
    }
    return WrapWithTrace(std::move(backend), std::move(trace));
}

std::unique_ptr<HidBackend> CreateBackendFromEnvironment() {
    const char* choice = std::getenv("CURSORIAL_HID");
    const std::string_view name = choice ? choice : "";
    std::unique_ptr<HidBackend> backend;
    if (name == "sim") {
        backend = sim::CreateSimulatorBackendFromEnvironment();
    } else {
        if (!name.empty() && name != "hidapi")
            std::fprintf(stderr, "cursorial: unknown CURSORIAL_HID value \"%s\"; using hidapi\n",
                         choice);
        backend = CreateHidapiBackend();
    }
    return TraceFromEnvironment(std::move(backend));
}

}  // namespace cursorial
