// Everything a reading run needs besides the micro-program, and its 32-byte
// wire image.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "reader/retry/register.h"

namespace Korvane_Internal {

inline constexpr std::size_t Setup_Block_Bytes = 32;
using Setup_Block = std::array<std::uint8_t, Setup_Block_Bytes>;

struct Reader_Setup {
    std::uint8_t column_cycles = 0;
    std::uint8_t row_cycles = 0;
    std::uint32_t first_row = 0;
    std::uint32_t end_row = 0;  // not read itself
    std::uint32_t transfer_count = 0;
    std::uint32_t chip_enable = 0;  // only the low byte reaches the reader
    std::uint8_t timing_high = 7;   // "RE_Down", high nibble of the timing byte
    std::uint8_t timing_low = 7;    // "RE_Up"
    std::uint32_t skip_mask_1 = 0xFFFFFFFF;
    std::uint32_t skip_page_1 = 0xFFFFFFFF;
    std::uint32_t skip_mask_2 = 0xFFFFFFFF;
    std::uint32_t skip_page_2 = 0xFFFFFFFF;
    std::uint32_t power_kind = 0;  // 1: the TSOP-48 power module
    std::uint32_t power_value = 0;
    std::uint32_t power_extra = 0;
    std::uint32_t voltage = 0;  // power adapter, hundredths of a volt; 0: not used
    std::wstring retry_name;
    NAND_Assembler::Read_Retry::Register_List retry_parameters;
    std::wstring after_reset;
    std::wstring before_read;
    std::wstring command_set;
    bool wide_bus = false;
    bool id_mode = false;
    bool ignore_busy = false;
    bool special_read = false;
    bool ddr = false;
    bool bus_16_8 = false;
    std::optional<Setup_Block> setup_block;

    // Every field back to its default.
    void Reset() { *this = Reader_Setup{}; }
    // Computes setup_block from the fields and returns it.
    const Setup_Block& Make_Setup_Block();
};

}  // namespace Korvane_Internal
