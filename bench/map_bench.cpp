// The block map of a 1 GB dump read back from the page cache: an erased
// chip (every byte looked at) and a chip full of data (the first bytes and
// the factory marks of each block); peak memory shows it flat.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "bench/peak_memory.h"
#include "dump/bank_map.h"
#include "framework/media.h"

namespace {

// Pages of 16896 bytes (16384 of data), 256 to a block: 248 blocks in 1 GB.
constexpr std::uint32_t Page_Bytes = 16896, Data_Bytes = 16384;
constexpr std::uint64_t Block_Bytes = 256 * Page_Bytes, Dump_Bytes = std::uint64_t{1} << 30;

std::wstring Write_Dump(bool erased) {
    const auto folder = std::filesystem::temp_directory_path() / "korvane-map-bench";
    std::filesystem::create_directories(folder);
    const std::wstring path = (folder / "01_01.dump").wstring();
    std::vector<std::uint8_t> block(Block_Bytes, erased ? 0xFF : 0x5A);
    for (std::uint64_t page = 0; page < 256; ++page) block[page * Page_Bytes + Data_Bytes] = 0xFF;
    ZEKT_MediaFileWrite file(path);
    for (std::uint64_t at = 0; at < Dump_Bytes; at += Block_Bytes)
        file.Write(block.data(), std::min(Block_Bytes, Dump_Bytes - at));
    return path;
}

void Map_1GB_Dump(benchmark::State& state) {
    const std::wstring path = Write_Dump(state.range(0) == 0);
    ZEKT_Progress progress;
    for (auto _ : state) {
        const Korvane_Exe::Map_Result result =
            Korvane_Exe::Map_Dump(path, {Page_Bytes, Data_Bytes, Block_Bytes}, L"Bench chip", 1, progress);
        benchmark::DoNotOptimize(result.counts);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Dump_Bytes));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

}  // namespace

// 0: erased, 1: data.
BENCHMARK(Map_1GB_Dump)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
