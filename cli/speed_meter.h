// Speed and time left of a pass, smoothed so that the figures do not jump.
#pragma once

#include <cstdint>
#include <string>

#include "framework/errors.h"

namespace Korvane_Cli {

class Speed_Meter {
public:
    // Starts timing at construction.
    explicit Speed_Meter(ZEKT_Tick_Source clock = ZEKT_Tick_Count);

    // `done` bytes are through at the clock's present time.
    void Sample(std::uint64_t done);
    // "38.2 MB/s  0:42 left" for `total` bytes; empty before a speed is known.
    std::wstring Text(std::uint64_t total) const;
    // "38.2 MB/s average" over everything since construction; empty when no
    // time has passed.
    std::wstring Average_Text(std::uint64_t done) const;

private:
    ZEKT_Tick_Source clock;
    std::uint32_t start_tick;
    std::uint32_t last_tick;
    std::uint64_t last_done = 0;
    double bytes_per_ms = 0;  // smoothed; 0 until the first interval
};

}  // namespace Korvane_Cli
