// The ECC pass over a 1 GB dump read back from the page cache (every
// codeword checked on every core, a few flipped bits in each block), and the
// layout search over a 64 MB dump; peak memory shows the pass flat.
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <random>
#include <vector>

#include "bench/peak_memory.h"
#include "dump/ecc_pass.h"
#include "framework/media.h"

namespace {

// Pages of 4096 + 224 bytes, 64 to a block, as 4 KiB-page chips carry them.
constexpr std::uint32_t Page_Bytes = 4320, Data_Bytes = 4096, Block_Pages = 64;
constexpr std::uint64_t Block_Bytes = std::uint64_t{Block_Pages} * Page_Bytes;

const wchar_t* const Layouts[] = {L"bch step=512 m=13 t=8 poly=0x201b ecc=end",
                                  L"hamming step=256 ecc=end order=linux"};

// A dump of `bytes` whose blocks all repeat one block of random data with
// its ECC and one flipped bit in every fourth page.
std::wstring Write_Dump(const wchar_t* layout_text, std::uint64_t bytes) {
    const auto folder = std::filesystem::temp_directory_path() / "korvane-ecc-bench";
    std::filesystem::create_directories(folder);
    const std::wstring path = (folder / "01_01.dump").wstring();
    const Korvane_Ecc::Page_Codec codec(Korvane_Ecc::Parse_Layout(layout_text), Data_Bytes, Page_Bytes - Data_Bytes);
    std::vector<std::uint8_t> block(Block_Bytes, 0xFF);
    std::mt19937 random(13);
    for (std::uint32_t page = 0; page < Block_Pages; ++page) {
        std::uint8_t* bytes_of_page = block.data() + std::uint64_t{page} * Page_Bytes;
        for (std::uint32_t i = 0; i < Data_Bytes; ++i) bytes_of_page[i] = static_cast<std::uint8_t>(random());
        bytes_of_page[Data_Bytes] = 0xFF;  // no bad-block mark
        codec.Encode_Page(bytes_of_page);
        if (page % 4 == 1) bytes_of_page[random() % Data_Bytes] ^= 0x10;
    }
    ZEKT_MediaFileWrite file(path);
    for (std::uint64_t at = 0; at < bytes; at += Block_Bytes)
        file.Write(block.data(), std::min(Block_Bytes, bytes - at));
    return path;
}

void Ecc_Pass_1GB(benchmark::State& state) {
    const wchar_t* layout = Layouts[state.range(0)];
    const std::uint64_t bytes = std::uint64_t{1} << 30;
    const std::wstring path = Write_Dump(layout, bytes);
    ZEKT_Progress progress;
    const Korvane_Exe::Map_Geometry geometry{Page_Bytes, Data_Bytes, Block_Bytes, 0};
    // The CPU time of every thread of the process: on a machine shared with
    // other work, bytes per CPU second times the cores is what it reaches idle.
    const std::clock_t cpu_start = std::clock();
    for (auto _ : state) {
        const Korvane_Exe::Ecc_Counts counts =
            Korvane_Exe::Check_Dump(path, geometry, Korvane_Ecc::Parse_Layout(layout), false, progress);
        benchmark::DoNotOptimize(counts.corrected);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    const double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    state.counters["gb_per_cpu_s"] = static_cast<double>(state.iterations() * bytes) / 1e9 / cpu_seconds;
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

// One core's share: the codec alone over one block in memory (CPU time is
// what the pass can reach per core on an idle machine).
void Check_Block_One_Core(benchmark::State& state) {
    const wchar_t* layout = Layouts[state.range(0)];
    const std::wstring path = Write_Dump(layout, Block_Bytes);
    std::vector<std::uint8_t> block(Block_Bytes);
    ZEKT_MediaFileReadProtect(path).Read(block.data(), block.size());
    const Korvane_Ecc::Page_Codec codec(Korvane_Ecc::Parse_Layout(layout), Data_Bytes, Page_Bytes - Data_Bytes);
    std::vector<Korvane_Ecc::Codeword_Report> reports;
    for (auto _ : state) {
        reports.clear();
        for (std::uint32_t page = 0; page < Block_Pages; ++page)
            codec.Check_Page(block.data() + std::uint64_t{page} * Page_Bytes, false, reports);
        benchmark::DoNotOptimize(reports.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Block_Bytes));
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

void Find_Layout_64MB(benchmark::State& state) {
    const std::wstring path = Write_Dump(Layouts[state.range(0)], std::uint64_t{64} << 20);
    const Korvane_Exe::Map_Geometry geometry{Page_Bytes, Data_Bytes, Block_Bytes, 0};
    for (auto _ : state) {
        std::size_t sampled = 0;
        const Korvane_Ecc::Search_Result result = Korvane_Exe::Find_Dump_Layout(path, geometry, sampled);
        if (!result.found) state.SkipWithError("no layout found");
        benchmark::DoNotOptimize(result.share);
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

}  // namespace

// 0: BCH m=13 t=8, 1: Hamming.
BENCHMARK(Ecc_Pass_1GB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Check_Block_One_Core)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Find_Layout_64MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
