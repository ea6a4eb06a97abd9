// `verify --ecc` through korvane-cli itself against a plain verify: a 1 GB
// erased bank whose 100 pages per million read uncorrectable until the
// Micron retry mode 5 is set, so every page is read plainly twice and then
// at modes 1 to 5, in one reading run per setting.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/cli_session.h"
#include "bench/peak_memory.h"

namespace {

const std::filesystem::path Folder = std::filesystem::temp_directory_path() / "korvane-ecc-reread-bench";
constexpr const char* Layout = "bch step=512 m=13 t=8 poly=0x201b ecc=end";

// Pages of 8832 bytes (8 KiB and 640 spare) or 2112 (2 KiB and 64): BCH t=8 fits both.
std::string Profile(std::uint32_t page) {
    std::filesystem::create_directories(Folder);
    const std::filesystem::path path = Folder / "chip.txt";
    NAND_Config config;
    config.Set_ID_Code(L"2c 64 44 4b");
    config.Page = page;
    config.Block = 128 * page;
    config.Blocks = (1u << 30) / config.Block;  // about 1 GB
    config.Banks = L"1 x 1024 MB";
    config.Retry = L"Micron/00";
    Write_Text_File(path.wstring(),
                    Export_Properties(config) + L"\r\nSim Data     erased\r\nSim Retry Pages  100 189=05");
    return path.string();
}

std::vector<std::string> Command(const std::string& profile, std::vector<std::string> command) {
    command.insert(command.begin(), "--simulate");
    command.insert(command.end(), {"--config", profile, "--folder", Folder.string()});
    return command;
}

// Args: 0 plain verify or 1 verify --ecc, which mends the failing pages; the page size.
// Each reading run uploads the configuration image, so the 2 KiB pages'
// 69 runs per setting (against the 8 KiB pages' 12) weigh most.
void Verify_Ecc(benchmark::State& state) {
    const std::string profile = Profile(static_cast<std::uint32_t>(state.range(1)));
    const std::filesystem::path dump = Folder / "01_01.dump", kept = Folder / "kept.dump";
    Run_Quietly(Command(profile, {"read", "--yes"}));
    std::filesystem::copy_file(dump, kept, std::filesystem::copy_options::overwrite_existing);
    const std::vector<std::string> verify =
        Command(profile, state.range(0) ? std::vector<std::string>{"verify", "--ecc"} : std::vector<std::string>{"verify"});
    int status = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each run starts from the dump as read and its list.
        std::filesystem::copy_file(kept, dump, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(Folder / "01_01.dump.undo");
        if (state.range(0)) Run_Quietly(Command(profile, {"ecc", "--layout", Layout}));
        state.ResumeTiming();
        status = Run_Quietly(verify);
    }
    // Plain: 0, the failing pages misread alike on every read; --ecc: 0 once every page passed.
    state.counters["exit"] = status;
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

}  // namespace

BENCHMARK(Verify_Ecc)->ArgsProduct({{0, 1}, {8832, 2112}})->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
