#include "hid/BackendSelect.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "device/HidTrace.h"
#include "device/HidapiBackend.h"
#include "sim/SimBackend.h"

namespace cursorial::hid {

std::unique_ptr<HidBackend> TraceFromEnvironment(std::unique_ptr<HidBackend> backend,
                                                 std::vector<std::string>& notes) {
    const char* file = std::getenv("CURSORIAL_HID_TRACE");
    if (!file || !*file)
        return backend;
    auto trace = HidTrace::Open(file);
    if (!trace) {
        notes.push_back(std::string("cannot open the HID trace file ") + file);
        return backend;
    }
    return WrapWithTrace(std::move(backend), std::move(trace));
}

Selection SelectBackend() {
    Selection selection;
    const char* value = std::getenv("CURSORIAL_HID");
    const std::string_view name = value ? value : "";
    std::unique_ptr<HidBackend> backend;
    if (name == "sim") {
        std::string error;
        backend = sim::CreateSimulatorBackendFromEnvironment(error);
        if (!error.empty())
            selection.choice.failure = "simulator: " + error;
    } else {
        if (!name.empty() && name != "hidapi")
            selection.notes.push_back("unknown CURSORIAL_HID value \"" + std::string(name) +
                                      "\"; using hidapi");
        backend = CreateHidapiBackend();
    }
    selection.choice.backend = TraceFromEnvironment(std::move(backend), selection.notes);
    return selection;
}

BackendChoice CreateBackendFromEnvironment(std::string_view program) {
    Selection selection = SelectBackend();
    auto print = [&](const std::string& text) {
        std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(),
                     text.c_str());
    };
    for (const std::string& note : selection.notes)
        print(note);
    if (!selection.choice.failure.empty())
        print(selection.choice.failure);
    return std::move(selection.choice);
}

}  // namespace cursorial::hid
