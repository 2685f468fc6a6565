// The configuration store with `PRAGMA synchronous` OFF (what the program uses) next to FULL:
// creating a model's database with its four seeded profiles, and a profile export and import.
// The files live on disk below the system's temporary folder, so FULL pays for its flushes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/DeviceCatalogue.h"
#include "exchange/MacroExchange.h"
#include "exchange/ProfileExchange.h"
#include "exchange/ProfileManager.h"
#include "store/ConfigDatabase.h"

namespace cursorial {
namespace {

struct Scratch {
    Scratch() {
        folder = std::filesystem::temp_directory_path() /
                 ("cursorial-bench-store-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "db");
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
};

const std::filesystem::path kDescription =
    DescriptionFilePath(std::filesystem::path(CURSORIAL_SOURCE_DIR) / "data", u"AERO");

SyncMode ModeOf(const benchmark::State& state) {
    return state.range(0) ? SyncMode::kFull : SyncMode::kOff;
}

void Label(benchmark::State& state) {
    state.SetLabel(state.range(0) ? "synchronous FULL" : "synchronous OFF");
}

// A new model database: the file and its schema, four profiles with forty settings each, and
// the description's defaults written into every profile, in the one transaction of an open.
void BM_CreateModelDatabase(benchmark::State& state) {
    Scratch scratch;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(ConfigDatabase::DatabasePath(scratch.folder, u"AERO"));
        ConfigDatabase db;
        db.SetSyncMode(ModeOf(state));
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            OpenProfileStore(db, scratch.folder, u"AERO", u"Profile", kDescription));
    }
    Label(state);
}
BENCHMARK(BM_CreateModelDatabase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A profile with eight stored buttons and six lighting modes.
void FillProfile(ConfigDatabase& db) {
    EnsureProfiles(db, u"Profile", kDescription);
    for (int key = 0; key < 8; ++key) {
        KeyAssignment record;
        record.profile = 1;
        record.keyCode = key;
        record.type = 2;
        record.value = 4 + key;
        record.value2 = 1;
        record.description = u"Ctrl + A";
        db.SaveKeyAssignment(record);
    }
    for (int mode = 0; mode < 6; ++mode) {
        LightSetting light;
        light.profile = 1;
        light.mode = mode;
        db.AddLightSetting(light);
    }
    db.SetActiveLightMode(1, 1);
}

void BM_ExportProfile(benchmark::State& state) {
    Scratch scratch;
    ConfigDatabase db;
    db.SetSyncMode(ModeOf(state));
    db.OpenForDevice(scratch.folder, u"AERO");
    FillProfile(db);
    const auto file = scratch.folder / "Export.xml";
    for (auto _ : state) {
        if (ExportProfile(db, 1, u"Profile 1", true, file) != ExchangeResult::kOk) {
            state.SkipWithError("export failed");
        }
    }
    Label(state);
}
BENCHMARK(BM_ExportProfile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ImportProfile(benchmark::State& state) {
    Scratch scratch;
    ConfigDatabase db;
    db.SetSyncMode(ModeOf(state));
    db.OpenForDevice(scratch.folder, u"AERO");
    FillProfile(db);
    const auto file = scratch.folder / "Import.xml";
    ExportProfile(db, 1, u"Profile 1", true, file);
    for (auto _ : state) {
        if (ImportProfile(db, 2, file, true) != ExchangeResult::kOk) {
            state.SkipWithError("import failed");
        }
    }
    Label(state);
}
BENCHMARK(BM_ImportProfile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The largest macro set file an import accepts: ten macros of 10000 events, 100000 in all. The
// store part runs in one write transaction, so this bounds how long an import can keep the
// other program from writing.
void BM_ImportLargestMacroSet(benchmark::State& state) {
    Scratch scratch;
    ConfigDatabase db;
    db.SetSyncMode(ModeOf(state));
    db.OpenForDevice(scratch.folder, u"AERO");
    std::string text = "<macro>";
    for (int m = 0; m * ExchangeLimits::kMaxEventsPerMacro < ExchangeLimits::kMaxEventsPerFile;
         ++m) {
        text += "<macro_item macro_name=\"M\"><record_item>";
        for (int e = 0; e < ExchangeLimits::kMaxEventsPerMacro; ++e) {
            text += "<item desc=\"d\" index=\"" + std::to_string(e) +
                    "\" type=\"2\" value=\"65\" timestamp=\"1\"/>";
        }
        text += "</record_item></macro_item>";
    }
    text += "</macro>";
    const auto file = scratch.folder / "Set.xml";
    std::ofstream(file, std::ios::binary) << text;
    for (auto _ : state) {
        if (ImportMacroSet(db, file) != ExchangeResult::kOk)
            state.SkipWithError("import failed");
    }
    Label(state);
}
BENCHMARK(BM_ImportLargestMacroSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cursorial

BENCHMARK_MAIN();
