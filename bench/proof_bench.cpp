// Proving a dump through korvane-cli itself: `read --hash` of an erased
// bank against dd plus sha256sum over the same bytes, and the peak memory of
// `verify` for a small and a large bank (it must not grow with the bank).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/cli_session.h"
#include "bench/peak_memory.h"

namespace {

const std::filesystem::path Folder = std::filesystem::temp_directory_path() / "korvane-proof-bench";

bool Cli(const std::vector<std::string>& arguments) { return Run_Quietly(arguments) == 0; }

void Read_Hash(benchmark::State& state) {
    const std::string profile = Erased_Profile(Folder, state.range(0));
    for (auto _ : state)
        if (!Cli({"--simulate=" + profile, "read", "--config", profile, "--folder", Folder.string(), "--yes", "--hash"}))
            state.SkipWithError("read --hash failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (state.range(0) << 20));
    std::filesystem::remove_all(Folder);
}

// The floor: the same bytes written by dd in the same chunk size, then
// hashed by sha256sum, one after the other.
void Dd_Then_Sha256sum(benchmark::State& state) {
    std::filesystem::create_directories(Folder);
    const std::string file = (Folder / "dd.bin").string();
    const std::string command = "dd if=/dev/zero of=" + file + " bs=128k count=" + std::to_string(state.range(0) * 8) +
                                " status=none && sha256sum " + file + " >/dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("dd or sha256sum failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (state.range(0) << 20));
    std::filesystem::remove_all(Folder);
}

void Verify_Memory(benchmark::State& state) {
    const std::string profile = Erased_Profile(Folder, state.range(0));
    if (!Cli({"--simulate=" + profile, "read", "--config", profile, "--folder", Folder.string(), "--yes"}))
        state.SkipWithError("read failed");
    for (auto _ : state)
        if (!Cli({"--simulate=" + profile, "verify", "--config", profile, "--folder", Folder.string()}))
            state.SkipWithError("verify failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (state.range(0) << 20));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

}  // namespace

// Memory first, while the high-water mark is still the verify's own.
BENCHMARK(Verify_Memory)->Arg(64)->Arg(1024)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Read_Hash)->Arg(1024)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Dd_Then_Sha256sum)->Arg(1024)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
