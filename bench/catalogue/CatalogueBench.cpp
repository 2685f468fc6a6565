// Reading the shipped catalogue and one model's description, as a device selection does.
#include <benchmark/benchmark.h>

#include "catalogue/DescriptionRules.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/DeviceDescription.h"

namespace cursorial {
namespace {

const std::filesystem::path kData = std::filesystem::path(CURSORIAL_SOURCE_DIR) / "data";

void BM_LoadCatalogue(benchmark::State& state) {
    for (auto _ : state) {
        DeviceCatalogue catalogue;
        if (catalogue.Load(kData, u"dark") != DataFileStatus::kOk) {
            state.SkipWithError("config.xml did not load");
            break;
        }
        benchmark::DoNotOptimize(catalogue.Connections().data());
    }
}
BENCHMARK(BM_LoadCatalogue);

// The window's view of a description (run on every device selection).
void BM_DescriptionLoad(benchmark::State& state, const char16_t* model) {
    const auto path = DescriptionFilePath(kData, model);
    for (auto _ : state) {
        DescriptionLoad load;
        if (ReadDescriptionLoad(path, load) != DataFileStatus::kOk) {
            state.SkipWithError("description did not load");
            break;
        }
        benchmark::DoNotOptimize(load.keys->data());
    }
}
BENCHMARK_CAPTURE(BM_DescriptionLoad, AERO, u"AERO");
BENCHMARK_CAPTURE(BM_DescriptionLoad, TERRA, u"TERRA");

// config.xml, then the selected model's description three ways, as the start-up and a new
// database see them: window load, full defaults with their write plan, report-rate restore.
void BM_CatalogueAndDescription(benchmark::State& state) {
    for (auto _ : state) {
        DeviceCatalogue catalogue;
        catalogue.Load(kData, u"dark");
        const DeviceEntry* model = catalogue.FindModel(201);
        if (!model) {
            state.SkipWithError("model 201 missing");
            break;
        }
        const auto path = DescriptionFilePath(kData, model->modelKey);
        DescriptionLoad load;
        ReadDescriptionLoad(path, load);
        DescriptionDefaults defaults;
        ReadDescriptionDefaults(path, defaults);
        DefaultSettingPlan plan = PlanDefaultSettings(defaults, false);
        std::u16string rate;
        ReadDefaultReportRate(path, rate);
        benchmark::DoNotOptimize(plan.writes.data());
        benchmark::DoNotOptimize(rate.data());
    }
}
BENCHMARK(BM_CatalogueAndDescription);

}  // namespace
}  // namespace cursorial

BENCHMARK_MAIN();
