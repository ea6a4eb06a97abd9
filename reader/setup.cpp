#include "reader/setup.h"

namespace Korvane_Internal {

namespace {

void Put_32(Setup_Block& block, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

const Setup_Block& Reader_Setup::Make_Setup_Block() {
    Setup_Block block{};  // bytes 12 and 13 carry nothing and stay zero
    Put_32(block, 0, first_row);
    Put_32(block, 4, end_row);
    block[8] = static_cast<std::uint8_t>(transfer_count);
    block[9] = static_cast<std::uint8_t>(transfer_count >> 8);
    std::uint8_t flags = 0;
    if (wide_bus) flags |= 0x02;
    if (id_mode) flags |= 0x04;
    if (ignore_busy) flags |= 0x08;
    if (special_read) flags |= 0x10;
    if (ddr) flags |= 0x40;
    if (bus_16_8) flags |= 0x80;
    block[10] = flags;
    block[11] = static_cast<std::uint8_t>(chip_enable);
    block[14] = 0x35;
    // "Slow" stores 0x77 in both halves; the sum then wraps to 0xE7.
    block[15] = static_cast<std::uint8_t>((timing_high << 4) + timing_low);
    Put_32(block, 16, skip_mask_1);
    Put_32(block, 20, skip_page_1);
    Put_32(block, 24, skip_mask_2);
    Put_32(block, 28, skip_page_2);
    setup_block = block;
    return *setup_block;
}

}  // namespace Korvane_Internal
