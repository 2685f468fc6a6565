// Command traffic against the simulator with its USB latency: command round trips, the full
// settings read of a synchronisation, and a firmware image upload. Each report takes the
// simulator's latency to cross the bus, so one round trip (request out, answer in) costs at
// least two latencies: at 1 ms, no more than 500 round trips per second are possible.
#include <benchmark/benchmark.h>

#include <memory>

#include "device/DeviceLink.h"
#include "device/FirmwareTransfer.h"
#include "device/InfoDecoders.h"
#include "exchange/ProfileCommands.h"
#include "sim/SimBackend.h"

namespace cursorial {
namespace {

struct Rig {
    std::shared_ptr<sim::Simulator> world;
    std::unique_ptr<DeviceLink> link;

    explicit Rig(int latencyMs) {
        sim::SimConfig config = sim::DefaultSimConfig();
        config.latencyMs = latencyMs;
        world = std::make_shared<sim::Simulator>(config);
        link = std::make_unique<DeviceLink>(std::make_unique<sim::SimBackend>(world));
        link->AddSupportedModel(0x1209, 0x0001, u"", 201, 0, u"AE01");
        link->AddSupportedModel(0x1209, 0x0002, u"", 201, 1, u"AE01");
        link->AddSupportedModel(0x1209, 0x0003, u"", 202, 0, u"TR01");
        link->EnumerateDevice();
        link->SetOpen(true);
        link->SetCurrentType(201);
    }
};

void BM_CommandRoundTrip(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Command c = MakeReadCommand(command::kReadReportRate);
        if (!rig.link->Send(c))
            state.SkipWithError("no answer");
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["round_trips_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (state.range(0) > 0)
        state.counters["limit_per_s"] = 1000.0 / (2.0 * static_cast<double>(state.range(0)));
}
BENCHMARK(BM_CommandRoundTrip)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The information command and the seven reads of a first synchronisation, decoded.
void BM_FullSettingsRead(benchmark::State& state) {
    Rig rig(1);
    for (auto _ : state) {
        Command info = MakeReadCommand(command::kInfo);
        if (!rig.link->Send(info))
            state.SkipWithError("no answer");
        SettingsRead read;
        for (std::uint8_t id : kSettingsReadOrder) {
            Command c = MakeReadCommand(id);
            if (rig.link->Send(c))
                AddSettingsAnswer(read, id, c.report.bytes, info.report[10]);
        }
        benchmark::DoNotOptimize(SettingsToStore(read));
    }
    state.counters["limit_ms"] = 8 * 2.0;  // eight round trips of two 1 ms reports
}
BENCHMARK(BM_FullSettingsRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// 64 KiB: 1366 data reports plus start and finish, each one write of one latency.
void BM_FirmwareUpload64K(benchmark::State& state) {
    Rig rig(1);
    std::vector<std::uint8_t> image(64 * 1024);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 13);
    for (auto _ : state) {
        if (TransferFirmwareImage(*rig.link, image, nullptr) != FirmwareTransferResult::kDone ||
            rig.world->Upgrade("aero-cable").failed)
            state.SkipWithError("upload failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.size()));
    state.counters["limit_KiB_per_s"] = 48.0 * 1000.0 / 1024.0;  // 48 bytes per 1 ms report
}
BENCHMARK(BM_FirmwareUpload64K)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace cursorial

BENCHMARK_MAIN();
