#include "cli/speed_meter.h"

#include <cmath>

#include "framework/format.h"

namespace Korvane_Cli {

namespace {

// How long the smoothing remembers: a stall or a burst moves the figures by
// a fraction each update instead of at once.
constexpr double Memory_Ms = 3000;

std::wstring Rate_Text(double bytes_per_ms) { return Format(L"%.1f MB/s", bytes_per_ms / 1000); }

}  // namespace

Speed_Meter::Speed_Meter(ZEKT_Tick_Source tick_source)
    : clock(std::move(tick_source)), start_tick(clock()), last_tick(start_tick) {}

void Speed_Meter::Sample(std::uint64_t done) {
    const std::uint32_t now = clock();
    // Unsigned differences stay right when the tick count wraps.
    const std::uint32_t elapsed = now - last_tick;
    if (elapsed == 0 || done < last_done) return;
    const double rate = static_cast<double>(done - last_done) / elapsed;
    const double weight = bytes_per_ms == 0 ? 1 : elapsed / (elapsed + Memory_Ms);
    bytes_per_ms += weight * (rate - bytes_per_ms);
    last_tick = now;
    last_done = done;
}

std::wstring Speed_Meter::Text(std::uint64_t total) const {
    if (bytes_per_ms <= 0) return L"";
    const std::uint64_t left_bytes = total > last_done ? total - last_done : 0;
    const auto seconds = static_cast<std::uint64_t>(std::ceil(left_bytes / bytes_per_ms / 1000));
    const std::wstring left = seconds >= 3600 ? Format(L"%I64u:%02I64u:%02I64u left", seconds / 3600, seconds / 60 % 60,
                                                       seconds % 60)
                                              : Format(L"%I64u:%02I64u left", seconds / 60, seconds % 60);
    return Rate_Text(bytes_per_ms) + L"  " + left;
}

std::wstring Speed_Meter::Average_Text(std::uint64_t done) const {
    const std::uint32_t elapsed = clock() - start_tick;
    return elapsed ? Rate_Text(static_cast<double>(done) / elapsed) + L" average" : L"";
}

}  // namespace Korvane_Cli
