// Weak chips through korvane-cli itself: a 1 GB bank resumed at its half
// against a full read, and `verify --reread 3` of a bank with 100 flaky
// pages per million against a plain verify, each with its peak memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/cli_session.h"
#include "bench/peak_memory.h"
#include "framework/media.h"

namespace {

const std::filesystem::path Folder = std::filesystem::temp_directory_path() / "korvane-weak-bench";

// An erased one-bank chip of `megabytes`, with 100 flaky pages per million.
std::string Profile(std::int64_t megabytes) { return Erased_Profile(Folder, megabytes, L"\r\nSim Flaky Pages  100"); }

int Cli(const std::vector<std::string>& arguments) { return Run_Quietly(arguments); }

std::vector<std::string> Command(const std::string& profile, const std::string& command) {
    return {"--simulate=" + profile, command, "--config", profile, "--folder", Folder.string()};
}

// Arg 0: a full read; arg 1: the dump cut at its half first, then resumed.
void Read_Or_Resume(benchmark::State& state) {
    const std::string profile = Profile(1024);
    const std::wstring dump = (Folder / "01_01.dump").wstring();
    std::vector<std::string> read = Command(profile, "read");
    read.push_back(state.range(0) ? "--resume" : "--yes");
    for (auto _ : state) {
        state.PauseTiming();
        if (state.range(0)) {
            if (!std::filesystem::exists(dump)) Cli(Command(profile, "read"));
            ZEKT_MediaFileUpdate(dump).Truncate(std::uint64_t{512} << 20);
        }
        state.ResumeTiming();
        if (Cli(read) != 0) state.SkipWithError("read failed");
    }
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

// Arg 0: plain verify; arg 3: verify --reread 3. Both find the flaky pages.
void Verify_Flaky(benchmark::State& state) {
    const std::string profile = Profile(1024);
    Cli(Command(profile, "read"));
    std::vector<std::string> verify = Command(profile, "verify");
    if (state.range(0)) verify.insert(verify.end(), {"--reread", std::to_string(state.range(0))});
    int status = 0;
    for (auto _ : state) status = Cli(verify);
    // 1: the flaky pages differ; 0: every one of them was mended.
    state.counters["exit"] = status;
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

}  // namespace

BENCHMARK(Verify_Flaky)->Arg(0)->Arg(3)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Read_Or_Resume)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
