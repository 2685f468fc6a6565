// The worker's latency and idle cost against the simulated mouse at 1 ms latency:
//   QueuedTaskToWire   a queued write reaching the mouse while the worker sits in its
//                      notification read (p50/p99 over the samples)
//   ReloadA            start with the mouse on its receiver to the settings read into the store,
//                      as a ratio to the reports it needs at the simulator's latency
//   Idle               CPU and context switches of the running worker, without a mouse and with
//                      one (CURSORIAL_IDLE_SECONDS, default 5)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "catalogue/DeviceCatalogue.h"
#include "catalogue/SelectedDeviceType.h"
#include "controller/core/Controller.h"
#include "controller/core/TaskCode.h"
#include "platform/KeyValueStore.h"
#include "sim/SimBackend.h"
#include "sim/Simulator.h"
#include "store/ConfigDatabase.h"

namespace cursorial {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// One program's worth of controller on a simulated world.
struct Rig {
    explicit Rig(std::vector<std::string> devices) {
        sim::SimConfig config = sim::DefaultSimConfig();
        config.latencyMs = 1;
        std::erase_if(config.devices, [&](const sim::DeviceConfig& d) {
            return std::find(devices.begin(), devices.end(), d.name) == devices.end();
        });
        world = std::make_shared<sim::Simulator>(config);
        link = std::make_unique<DeviceLink>(std::make_unique<sim::SimBackend>(world));
        folder = fs::temp_directory_path() / ("cursorial-bench-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "db");
        settings = std::make_unique<KeyValueStore>(folder / "settings");
        settings->OpenOrCreate();
        catalogue.Load(CURSORIAL_OUTPUT_DIR, u"dark");
        ControllerContext context;
        context.dataFolder = CURSORIAL_OUTPUT_DIR;
        context.appDataFolder = folder;
        context.settings = settings.get();
        context.link = link.get();
        context.db = &db;
        context.text = [](int) { return std::u16string(u"Profile"); };
        controller = Controller::Create(context);
        controller->AttachView(&view);
        controller->SetCatalogue(catalogue.Models(), catalogue.Connections());
        WriteSelectedType(*settings, kInitialDeviceType);
    }
    ~Rig() {
        controller->Stop();
        controller->DetachView();
        fs::remove_all(folder);
    }
    std::size_t Received(const char* device) const { return world->Received(device).size(); }

    std::shared_ptr<sim::Simulator> world;
    std::unique_ptr<DeviceLink> link;
    fs::path folder;
    std::unique_ptr<KeyValueStore> settings;
    DeviceCatalogue catalogue;
    ConfigDatabase db;
    HeadlessView view;
    std::shared_ptr<Controller> controller;
};

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * v.size()))];
}

void QueuedTaskToWire(benchmark::State& state) {
    Rig rig({"aero-receiver"});
    rig.controller->QueueTask(task::kSelectAndReload);
    rig.controller->Start();
    while (!rig.controller->IsSynchronised(201))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::vector<double> ms;
    for (auto _ : state) {
        // Somewhere inside the 100 ms notification read.
        std::this_thread::sleep_for(std::chrono::milliseconds(7 + ms.size() % 37));
        const std::size_t before = rig.Received("aero-receiver");
        const auto start = Clock::now();
        rig.controller->QueueTask(task::kWriteReportRate);
        while (rig.Received("aero-receiver") == before)
            std::this_thread::yield();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        state.SetIterationTime(ms.back() / 1000.0);
    }
    state.counters["p50_ms"] = Percentile(ms, 0.50);
    state.counters["p99_ms"] = Percentile(ms, 0.99);
}
BENCHMARK(QueuedTaskToWire)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void ReloadA(benchmark::State& state) {
    double ratio = 0;
    for (auto _ : state) {
        Rig rig({"aero-receiver"});
        const auto start = Clock::now();
        rig.controller->RunTask(task::kSelectAndReload);
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        // Every command crosses the bus twice at 1 ms each way.
        const double floor = 2.0 * static_cast<double>(rig.Received("aero-receiver"));
        ratio = took / floor;
        state.SetIterationTime(took / 1000.0);
        state.counters["reports"] = static_cast<double>(rig.Received("aero-receiver"));
    }
    state.counters["ratio_to_reports"] = ratio;
}
BENCHMARK(ReloadA)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void Idle(benchmark::State& state) {
    const char* env = std::getenv("CURSORIAL_IDLE_SECONDS");
    const int seconds = env ? std::max(1, std::atoi(env)) : 5;
    const bool mouse = state.range(0) != 0;
    for (auto _ : state) {
        Rig rig(mouse ? std::vector<std::string>{"aero-receiver"} : std::vector<std::string>{});
        rig.controller->QueueTask(task::kSelectAndReload);
        rig.controller->Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const auto cpu = [](const rusage& r) {
            return r.ru_utime.tv_sec + r.ru_stime.tv_sec +
                   (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
        };
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * (cpu(after) - cpu(before)) / wall;
        // The sleeping main thread adds one switch.
        state.counters["wakeups_per_s"] =
            static_cast<double>(after.ru_nvcsw - before.ru_nvcsw - 1) / wall;
    }
}
BENCHMARK(Idle)->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace cursorial

BENCHMARK_MAIN();
