// Fuzz target: the simulator's file (CURSORIAL_SIM). Tests and users write it by hand, so any
// text must give either a world or a message naming the fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/SimConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cursorial::sim;
    SimConfig config;
    std::string error;
    const bool ok =
        ParseSimConfig(std::string_view(reinterpret_cast<const char*>(data), size), config, error);
    if (ok == !error.empty())
        std::abort();
    return 0;
}
