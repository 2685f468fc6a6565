// The HID backend that serves the simulator's devices, selected with CURSORIAL_HID=sim.
#pragma once

#include <memory>

#include "device/HidBackend.h"
#include "sim/Simulator.h"

namespace cursorial::sim {

class SimBackend final : public HidBackend {
public:
    explicit SimBackend(std::shared_ptr<Simulator> simulator);

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenError* error) override;
    std::unique_ptr<HotplugSource> CreateHotplugSource() override;
    const char* Name() const override { return "sim"; }

    Simulator& World() { return *simulator_; }

private:
    std::shared_ptr<Simulator> simulator_;
};

// The backend for CURSORIAL_HID=sim: the devices of the file named by CURSORIAL_SIM, or the
// shipped models when it is unset. A file that cannot be read or parsed leaves the simulator
// without devices and says why in `error` (empty otherwise); the caller reports it.
std::unique_ptr<HidBackend> CreateSimulatorBackendFromEnvironment(std::string& error);

// The simulator the environment backend serves (null before one was created), so a test or a
// tool in the same process can plug, unplug and inject faults.
std::shared_ptr<Simulator> ProcessSimulator();

}  // namespace cursorial::sim
