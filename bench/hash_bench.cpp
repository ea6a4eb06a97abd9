// SHA-256 throughput on one core, over the chunk size a dump hashes.
#include <benchmark/benchmark.h>

#include <vector>

#include "framework/sha256.h"

namespace {

void Sha256_Chunks(benchmark::State& state, ZEKT_Sha256::Engine engine) {
    std::vector<std::uint8_t> chunk(0x20000);
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<std::uint8_t>(i * 131);
    ZEKT_Sha256 hash(engine);
    for (auto _ : state) {
        hash.Update(chunk.data(), chunk.size());
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(hash.Final());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chunk.size()));
}
BENCHMARK_CAPTURE(Sha256_Chunks, best, ZEKT_Sha256::Engine::Best);
BENCHMARK_CAPTURE(Sha256_Chunks, portable, ZEKT_Sha256::Engine::Portable);

}  // namespace

BENCHMARK_MAIN();
