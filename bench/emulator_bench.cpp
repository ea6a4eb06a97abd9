// How fast the emulator streams a bank through the link, and whether its
// memory stays flat: peak resident memory is reported after each bank size.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/peak_memory.h"
#include "config/nand_config.h"
#include "emulator/virtual_reader.h"
#include "reader/images.h"
#include "reader/programs.h"

namespace {

namespace KI = Korvane_Internal;
using namespace Korvane_Emulator;


void Stream_Bank(benchmark::State& state, Page_Source::Kind kind) {
    NAND_Config config;
    config.Set_ID_Code(L"98 de 94 93");
    config.Page = 16384;  // a power of two, so the dump is exactly the bank size
    config.Banks = L"1 x " + std::to_wstring(state.range(0)) + L" MB";
    Sim_Profile profile = Profile_From_Config(config, L"bench");
    profile.sim.source.kind = kind;
    auto reader = std::make_shared<Virtual_Reader>(profile);
    Select_Virtual_Reader(reader);
    const std::uint64_t size = config.Get_Bank_Dump_Size();
    std::vector<std::uint8_t> chunk(0x20000);
    for (auto _ : state) {
        KI::Reader_Setup setup;
        std::int64_t start = 0, end = static_cast<std::int64_t>(size);
        config.Get_Real_Page_Range(start, end, setup.first_row, setup.end_row);
        setup.command_set = L"Std";
        setup.column_cycles = 2;
        setup.row_cycles = 3;
        setup.transfer_count = config.Page;
        setup.chip_enable = 1;
        KI::NAND_Assembler::Assembler_Code code;
        KI::NAND_Assembler::Build_Program(code, setup);
        KI::ZEKT_Reader2 link;
        link.Load_Image(KI::Configuration_Image(KI::Image::Read));
        const auto wire = code.Wire_Bytes();
        link.Write(wire.data(), wire.size());
        const auto& block = setup.Make_Setup_Block();
        link.Write(block.data(), block.size());
        for (std::uint64_t at = 0; at < size; at += chunk.size()) link.Read(chunk.data(), chunk.size());
        benchmark::DoNotOptimize(chunk.data());
    }
    Select_Virtual_Reader(nullptr);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
}

void Erased_Bank(benchmark::State& state) { Stream_Bank(state, Page_Source::Kind::Erased); }
void Seeded_Bank(benchmark::State& state) { Stream_Bank(state, Page_Source::Kind::Seeded); }

}  // namespace

BENCHMARK(Erased_Bank)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(Seeded_Bank)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
