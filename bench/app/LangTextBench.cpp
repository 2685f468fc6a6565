// Cost of a text lookup, which reads and scans the language file on every call. The window
// re-applies a few hundred texts after a language change, so this bounds that pause.
#include <benchmark/benchmark.h>

#include "app/LanguageTexts.h"

namespace {

// A text near the start and one near the end of the shipped English file.
void BM_LangText(benchmark::State& state) {
    const cursorial::LanguageTexts texts(CURSORIAL_SOURCE_DIR "/data", 1033);
    const int id = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(texts.Text(id));
}
BENCHMARK(BM_LangText)->Arg(5)->Arg(616);

}  // namespace

BENCHMARK_MAIN();
