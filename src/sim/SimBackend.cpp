#include "sim/SimBackend.h"

#include <cstdlib>
#include <mutex>
#include <utility>

namespace cursorial::sim {

namespace {

class SimHandle final : public HidHandle {
public:
    SimHandle(std::shared_ptr<Simulator> simulator, Simulator::Opened opened, std::string path)
        : simulator_(std::move(simulator)), opened_(std::move(opened)), path_(std::move(path)) {}
    ~SimHandle() override { simulator_->Detach(opened_); }
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;

    int Write(const std::uint8_t* data, std::size_t length) override {
        return simulator_->Write(opened_, data, length);
    }
    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        return opened_.queue->Pop(data, length, timeoutMs);
    }
    const std::string& Path() const override { return path_; }

private:
    std::shared_ptr<Simulator> simulator_;
    Simulator::Opened opened_;
    std::string path_;
};

std::mutex processMutex;
std::shared_ptr<Simulator> processSimulator;

}  // namespace

SimBackend::SimBackend(std::shared_ptr<Simulator> simulator) : simulator_(std::move(simulator)) {}

std::vector<HidInterfaceInfo> SimBackend::Enumerate() {
    return simulator_->Enumerate();
}

std::unique_ptr<HidHandle> SimBackend::Open(const std::string& path, HidOpenError* error) {
    auto opened = simulator_->Open(path, error);
    if (!opened)
        return nullptr;
    return std::make_unique<SimHandle>(simulator_, std::move(*opened), path);
}

std::unique_ptr<HotplugSource> SimBackend::CreateHotplugSource() {
    return simulator_->CreateHotplugSource();
}

std::unique_ptr<HidBackend> CreateSimulatorBackendFromEnvironment(std::string& error) {
    error.clear();
    SimConfig config = DefaultSimConfig();
    if (const char* file = std::getenv("CURSORIAL_SIM"); file && *file) {
        if (!LoadSimConfig(file, config, error))
            config = SimConfig{};
    }
    auto simulator = std::make_shared<Simulator>(std::move(config));
    {
        std::lock_guard lock(processMutex);
        processSimulator = simulator;
    }
    return std::make_unique<SimBackend>(std::move(simulator));
}

std::shared_ptr<Simulator> ProcessSimulator() {
    std::lock_guard lock(processMutex);
    return processSimulator;
}

}  // namespace cursorial::sim
