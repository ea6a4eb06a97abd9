#include "cli/speed_meter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct Case {
    const char* what;
    std::vector<std::pair<std::uint32_t, std::uint64_t>> samples;  // (tick, bytes done)
    std::uint64_t total;
    std::wstring line;
};

class Speed_Line : public testing::TestWithParam<Case> {};

TEST_P(Speed_Line, FiguresFromTheClock) {
    const Case& c = GetParam();
    SCOPED_TRACE(c.what);
    std::uint32_t now = 5000;
    Korvane_Cli::Speed_Meter meter([&now] { return now; });
    for (const auto& [tick, done] : c.samples) {
        now = tick;
        meter.Sample(done);
    }
    EXPECT_EQ(meter.Text(c.total), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Speed_Line,
    testing::Values(
        Case{"nothing measured yet", {}, 1000, L""},
        Case{"steady", {{6000, 38200000}}, 38200000 * 43ull, L"38.2 MB/s  0:42 left"},
        // 40 MB/s, then one second at 10 MB/s moves a quarter of the way.
        Case{"smoothed", {{6000, 40000000}, {7000, 50000000}}, 50000000 + 32500000 * 90ull, L"32.5 MB/s  1:30 left"},
        Case{"a stalled update changes nothing", {{6000, 40000000}, {6000, 90000000}}, 40000000 * 2ull,
             L"40.0 MB/s  0:01 left"},
        Case{"hours", {{6000, 1000000}}, 1000000 * 3662ull, L"1.0 MB/s  1:01:01 left"},
        Case{"the tick count wraps", {{0xFFFFFF00u, 0}, {0x000002E8u, 1000000}}, 1000000 * 2ull,
             L"1.0 MB/s  0:01 left"}),
    [](const testing::TestParamInfo<Case>& info) { return "case_" + std::to_string(info.index); });

TEST(Speed_Line, AverageOverThePass) {
    std::uint32_t now = 100;
    Korvane_Cli::Speed_Meter meter([&now] { return now; });
    now = 2100;
    EXPECT_EQ(meter.Average_Text(84000000), L"42.0 MB/s average");
}

}  // namespace
