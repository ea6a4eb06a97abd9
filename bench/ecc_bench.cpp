// ECC check throughput over dump-sized runs of pages, and the layout search on the
// sample of a 64 MB dump. Per-core figures with one thread, the machine's with two.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "ecc/codec.h"

using namespace Korvane_Ecc;

namespace {

double Thread_Cpu_Seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

constexpr std::uint32_t data_bytes = 2048, spare_bytes = 64, page_bytes = data_bytes + spare_bytes;

// 16 MB of written pages (beyond every cache), one codeword in `flip_every` with one bit flipped.
std::vector<std::uint8_t> Written_Pages(const Page_Codec& codec, std::size_t pages, std::uint32_t flip_every,
                                        unsigned seed) {
    std::mt19937_64 random(seed);
    std::vector<std::uint8_t> dump(pages * page_bytes, 0xff);
    for (std::size_t p = 0; p < pages; ++p) {
        std::uint8_t* page = &dump[p * page_bytes];
        for (std::uint32_t i = 0; i < data_bytes; i += 8) {
            const std::uint64_t value = random();
            std::memcpy(page + i, &value, 8);
        }
        codec.Encode_Page(page);
        if (flip_every)
            for (std::uint32_t c = 0, n = data_bytes / codec.Layout().step_bytes; c < n; ++c)
                if ((p * n + c) % flip_every == 0) page[c * codec.Layout().step_bytes + random() % 256] ^= 0x04;
    }
    return dump;
}

void Check_Pages(benchmark::State& state, const wchar_t* layout, std::uint32_t flip_every) {
    const Page_Codec codec(Parse_Layout(layout), data_bytes, spare_bytes);
    const std::vector<std::uint8_t> dump = Written_Pages(codec, 16 * 1024 * 1024 / page_bytes, flip_every, 1);
    std::vector<std::uint8_t> page(page_bytes);
    std::vector<Codeword_Report> reports;
    const double cpu_start = Thread_Cpu_Seconds();
    for (auto _ : state) {
        for (std::size_t offset = 0; offset < dump.size(); offset += page_bytes) {
            std::memcpy(page.data(), &dump[offset], page_bytes);  // as the pass reads a chunk of the file
            reports.clear();
            codec.Check_Page(page.data(), false, reports);
        }
        benchmark::DoNotOptimize(reports.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * dump.size()));
    // On a machine shared with other work, one core's own rate tells more than the wall clock.
    state.counters["core_MB_per_cpu_s"] = benchmark::Counter(
        double(state.iterations() * dump.size()) / 1e6 / (Thread_Cpu_Seconds() - cpu_start), benchmark::Counter::kAvgThreads);
}
BENCHMARK_CAPTURE(Check_Pages, bch_m13_t8_clean, L"bch step=512 m=13 t=8", 0)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK_CAPTURE(Check_Pages, bch_m13_t8_1_in_16_flipped, L"bch step=512 m=13 t=8", 16)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK_CAPTURE(Check_Pages, bch_m14_t8_step1024_clean, L"bch step=1024 t=8", 0)->Threads(1)->UseRealTime();
BENCHMARK_CAPTURE(Check_Pages, hamming_256_clean, L"hamming step=256", 0)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK_CAPTURE(Check_Pages, hamming_512_1_in_16_flipped, L"hamming step=512", 16)->Threads(1)->UseRealTime();

// The sample the pass takes of a 64 MB dump: 256 written pages. A layout the search
// cannot find (nullptr) makes it sweep every polynomial of m = 13 and 14.
void Search(benchmark::State& state, const wchar_t* layout) {
    const Page_Codec codec(Parse_Layout(layout ? layout : L"bch t=4"), data_bytes, spare_bytes);
    std::vector<std::uint8_t> dump = Written_Pages(codec, 256, 64, 2);
    if (!layout)
        for (std::size_t i = 0; i < dump.size(); ++i) dump[i] = static_cast<std::uint8_t>(i * 7 + i / 4096);
    std::vector<std::vector<std::uint8_t>> pages;
    for (std::size_t p = 0; p < 256; ++p)
        pages.emplace_back(dump.begin() + p * page_bytes, dump.begin() + (p + 1) * page_bytes);
    for (auto _ : state) {
        const Search_Result result = Find_Layout(pages, data_bytes, spare_bytes, 2);
        if (result.found != (layout != nullptr)) state.SkipWithError("the search did not end as expected");
    }
}
BENCHMARK_CAPTURE(Search, linux_default_bch8, L"bch step=512 m=13 t=8")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Search, other_polynomial_m13, L"bch step=512 m=13 t=4 poly=0x2a21 ecc=interleaved bits=swap")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Search, nothing_fits_every_polynomial, nullptr)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
