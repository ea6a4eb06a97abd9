// A whole dump through the workflow: an erased emulated bank into a file,
// against plain writes of the same bytes (what dd does); the bit-map
// packing; peak memory for a small and a large bank.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/peak_memory.h"
#include "dump/reader_master.h"
#include "emulator/virtual_reader.h"
#include "framework/media.h"

namespace {

using namespace Korvane_Emulator;


// A user interface that shows nothing.
class Silent_User : public Korvane_Exe::Bank_List, public Korvane_Exe::Question, public Korvane_Exe::Messages {
public:
    std::vector<std::uint32_t> Selected_Banks() override { return {1}; }
    void Set_Status(std::uint32_t, const std::wstring&) override {}
    void Set_Error(std::uint32_t, const std::wstring& text) override { error = text; }
    std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t) override { return std::make_unique<ZEKT_Progress>(); }
    bool Ask_Yes_No(const std::wstring&) override { return true; }
    std::unique_ptr<ZEKT_Log> Message_Box() override { return std::make_unique<ZEKT_wstring_Log>(); }
    std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring&) override { return std::make_unique<ZEKT_wstring_Log>(); }
    std::wstring error;
};

std::filesystem::path Bench_Folder() {
    const auto folder = std::filesystem::temp_directory_path() / "korvane-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

void Dump_Erased_Bank(benchmark::State& state) {
    NAND_Config config;
    config.Set_ID_Code(L"98 de 94 93");
    config.Page = 16384;
    config.Banks = L"1 x " + std::to_wstring(state.range(0)) + L" MB";
    Sim_Profile profile = Profile_From_Config(config, L"bench");
    profile.sim.source.kind = Page_Source::Kind::Erased;
    Select_Virtual_Reader(std::make_shared<Virtual_Reader>(profile));
    NAND_Options options;
    options.Check_ID = false;
    options.Work_Folder = Bench_Folder().wstring() + L"/";
    std::uint32_t chip_number = 1;
    Silent_User user;
    Korvane_Exe::Reader_Master master(&options, &config, &chip_number, &user, &user, &user);
    for (auto _ : state) {
        master.Read_Action();
        if (!user.error.empty()) state.SkipWithError("dump failed");
    }
    Select_Virtual_Reader(nullptr);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * config.Get_Bank_Dump_Size()));
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Bench_Folder());
}

// The same bytes written in the same chunks with nothing else: the floor.
void Write_Zeros(benchmark::State& state) {
    const std::uint64_t size = std::uint64_t(state.range(0)) << 20;
    std::vector<std::uint8_t> chunk(0x20000, 0xFF);
    const std::wstring name = (Bench_Folder() / "zeros.bin").wstring();
    for (auto _ : state) {
        ZEKT_MediaFileWrite file(name);
        for (std::uint64_t at = 0; at < size; at += chunk.size()) file.Write(chunk.data(), chunk.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    std::filesystem::remove_all(Bench_Folder());
}

void Pack_Bits(benchmark::State& state) {
    std::vector<std::uint8_t> stream(0x20000);
    for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<std::uint8_t>(i * 37);
    std::vector<std::uint8_t> bits(stream.size() / 8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Korvane_Exe::Pack_Bit_Map(stream.data(), stream.size(), bits.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}

}  // namespace

BENCHMARK(Write_Zeros)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Dump_Erased_Bank)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Pack_Bits);

BENCHMARK_MAIN();
