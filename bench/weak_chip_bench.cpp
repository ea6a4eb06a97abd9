// Weak chips through korvane-cli itself: a 1 GB bank resumed at its half
// against a full read, with and without bit maps, and `verify --reread 3`
// of a bank with 100 flaky pages per million and a hash file, and
// `verify --reread 2` of a bank with a weak data line, against a plain
// verify, each with its peak memory.
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

std::vector<std::string> Command(const std::string& profile, const std::string& command,
                                 std::vector<std::string> more = {}) {
    std::vector<std::string> arguments = {"--simulate=" + profile, command, "--config", profile, "--folder",
                                          Folder.string()};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// A word-line chip with its bit-map pass, which takes most of a read's time;
// the emulated chip is the one configured, with every --set.
std::vector<std::string> Bit_Map_Command(const std::string& profile, std::vector<std::string> more) {
    std::vector<std::string> arguments = Command(profile, "read", {"--set", "Cmd=WL v2", "--opt", "Read bb=true"});
    arguments.front() = "--simulate";
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
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

// Arg 0: a full read with bit maps; arg 1: a read stopped half-way through
// its bit-map pass (the reader gone after 1.5 GB of its 2 GB), then resumed.
void Bit_Map_Read_Or_Resume(benchmark::State& state) {
    const std::string profile = Profile(1024);
    const std::vector<std::string> read = Bit_Map_Command(profile, {state.range(0) ? "--resume" : "--yes"});
    const std::vector<std::string> stopped =
        Bit_Map_Command(profile, {"--yes", "--set", "Sim Unplug After=" + std::to_string(std::uint64_t{3} << 29)});
    for (auto _ : state) {
        state.PauseTiming();
        const int stop_status = state.range(0) ? Cli(stopped) : 1;
        state.ResumeTiming();
        if (stop_status != 1) state.SkipWithError("the stopped read did not stop");
        if (Cli(read) != 0) state.SkipWithError("read failed");
    }
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

// Arg 0: plain verify; arg 3: verify --reread 3, which renews the hash file.
// Both find the flaky pages.
void Verify_Flaky(benchmark::State& state) {
    const std::string profile = Profile(1024);
    Cli(Command(profile, "read", {"--hash"}));
    std::vector<std::string> verify = Command(profile, "verify");
    if (state.range(0)) verify.insert(verify.end(), {"--reread", std::to_string(state.range(0))});
    int status = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each run mends the dump as read, beside its hash.
        if (state.range(0)) Cli(Command(profile, "read", {"--hash", "--yes"}));
        state.ResumeTiming();
        status = Cli(verify);
    }
    // 1: the flaky pages differ; 0: every one of them was mended.
    state.counters["exit"] = status;
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

// Arg 0: plain verify; arg 2: verify --reread 2 of a bank whose data line
// IO3 reads wrong now and then, so nearly every page differs and is read
// again. Arg 1 is the bank's size in MB.
void Verify_Weak_Line(benchmark::State& state) {
    const std::string profile = Erased_Profile(Folder, state.range(1), L"\r\nSim Weak Line  3");
    std::vector<std::string> verify = Command(profile, "verify");
    if (state.range(0)) verify.insert(verify.end(), {"--reread", std::to_string(state.range(0))});
    std::int64_t status = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each run starts from a dump as read through the weak line.
        Cli(Command(profile, "read", {"--yes"}));
        std::filesystem::remove(Folder / "01_01.dump.undo");
        state.ResumeTiming();
        status = Cli(verify);
    }
    // 1 when pages differ or bits stayed unsure; 0 once every page was mended.
    state.counters["exit"] = static_cast<double>(status);
    state.counters["peak_rss_mb"] = Peak_Resident_MB();
    std::filesystem::remove_all(Folder);
}

}  // namespace

BENCHMARK(Verify_Weak_Line)->ArgsProduct({{0, 2}, {64}})->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Verify_Flaky)->Arg(0)->Arg(3)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Read_Or_Resume)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Bit_Map_Read_Or_Resume)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
