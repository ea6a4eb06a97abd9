// The chip list builds the catalogue when it opens and filters it on every
// keystroke in its name and ID boxes; a filter pass must stay well under 1 ms.
#include <benchmark/benchmark.h>

#include "config/catalogue/chip_catalogue.h"

namespace {

void Build_And_Sort(benchmark::State& state) {
    for (auto _ : state) {
        Chip_Catalogue catalogue;
        benchmark::DoNotOptimize(catalogue.size());
    }
}
BENCHMARK(Build_And_Sort)->Unit(benchmark::kMillisecond);

// One pass per typical input: nothing typed, a name fragment, an ID prefix, both.
void Filter(benchmark::State& state, const wchar_t* name, const wchar_t* id) {
    const Chip_Catalogue catalogue;
    for (auto _ : state) {
        auto shown = catalogue.Filter(name, id);
        benchmark::DoNotOptimize(shown.data());
    }
}
BENCHMARK_CAPTURE(Filter, Empty, L"", L"")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filter, Name, L"TH58", L"")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filter, Id, L"", L"2c dc 90 95")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filter, Both, L"Monolith", L"45 de")->Unit(benchmark::kMicrosecond);

}  // namespace
