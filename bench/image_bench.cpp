// The image of a 1 GB dump (BCH m=13 t=8 over pages of 4096 + 224 bytes,
// read back from the page cache) against the ECC check (`ecc`, without
// --fix) over the same dump: the image must be at least as fast. Peak
// memory shows both flat. The image also writes 1 GB where TMPDIR points:
// on a RAM disk (TMPDIR=/dev/shm) the two passes compare, on a slow disk
// its writeback does.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bench/peak_memory.h"
#include "dump/ecc_pass.h"
#include "dump/image.h"
#include "ecc/codec.h"
#include "framework/media.h"
#include "framework/values.h"

namespace {

constexpr std::uint32_t Page_Bytes = 4320, Data_Bytes = 4096, Block_Pages = 64;
constexpr std::uint64_t Block_Bytes = std::uint64_t{Block_Pages} * Page_Bytes, Dump_Bytes = std::uint64_t{1} << 30;
const wchar_t* const Layout = L"bch step=512 m=13 t=8 poly=0x201b ecc=end";

std::filesystem::path Folder() { return std::filesystem::temp_directory_path() / "korvane-image-bench"; }

// One block of pages with data and their ECC, repeated; one bit flipped in
// every eighth page, so that mending is part of the work.
std::wstring Write_Dump(const Korvane_Ecc::Page_Codec& codec) {
    std::filesystem::create_directories(Folder());
    const std::wstring path = (Folder() / "01_01.dump").wstring();
    std::vector<std::uint8_t> block(Block_Bytes, 0xFF);
    for (std::uint32_t page = 0; page < Block_Pages; ++page) {
        std::uint8_t* bytes = block.data() + std::uint64_t{page} * Page_Bytes;
        for (std::uint32_t i = 0; i < Data_Bytes; ++i) bytes[i] = static_cast<std::uint8_t>((i * 2654435761u + page) >> 11);
        codec.Encode_Page(bytes);
        if (page % 8 == 3) bytes[page * 7 % Data_Bytes] ^= 0x04;
    }
    ZEKT_MediaFileWrite file(path);
    for (std::uint64_t at = 0; at < Dump_Bytes; at += Block_Bytes)
        file.Write(block.data(), std::min(Block_Bytes, Dump_Bytes - at));
    return path;
}

void Ecc_Check_1GB(benchmark::State& state) {
    const Korvane_Ecc::Ecc_Layout layout = Korvane_Ecc::Parse_Layout(Layout);
    const std::wstring path = Write_Dump(Korvane_Ecc::Page_Codec(layout, Data_Bytes, Page_Bytes - Data_Bytes));
    ZEKT_Progress progress;
    for (auto _ : state) {
        const Korvane_Exe::Ecc_Counts counts =
            Korvane_Exe::Check_Dump(path, {Page_Bytes, Data_Bytes, Block_Bytes}, layout, false, progress);
        benchmark::DoNotOptimize(counts.corrected);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Dump_Bytes));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder());
}

void Image_1GB(benchmark::State& state) {
    Korvane_Exe::Image_Settings settings;
    settings.geometry = {Page_Bytes, Data_Bytes, Block_Bytes};
    settings.layout = Korvane_Ecc::Parse_Layout(Layout);
    const Korvane_Ecc::Page_Codec codec(*settings.layout, Data_Bytes, Page_Bytes - Data_Bytes);
    const std::wstring path = Write_Dump(codec);
    ZEKT_Progress progress;
    for (auto _ : state) {
        const Korvane_Exe::Image_Result result =
            Korvane_Exe::Image_Dump(path, Korvane_Exe::Image_Path(path), L"", settings, progress, nullptr);
        benchmark::DoNotOptimize(result.mended);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Dump_Bytes));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder());
}

}  // namespace

BENCHMARK(Ecc_Check_1GB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Image_1GB)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
