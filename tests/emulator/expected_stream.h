// What an emulated seeded chip must deliver for a bank: every page of every
// existing row, in order, and the special read's bytes for the bit map.
#pragma once

#include <cstdint>
#include <vector>

#include "config/nand_config.h"
#include "emulator/nand_chip.h"

inline std::vector<std::uint8_t> Expected_Dump(const NAND_Config& config, std::uint64_t seed, std::uint32_t bank,
                                               bool special = false) {
    const std::uint64_t size = config.Get_Bank_Dump_Size();
    const std::uint32_t pages_per_row = config.Is_Triple_Page() ? 3 : 1;
    std::vector<std::uint8_t> stream;
    stream.reserve(size + 3 * config.Page);
    for (std::int64_t logical = 0; stream.size() < size; ++logical) {
        const auto row = static_cast<std::uint32_t>(config.Get_Real_Page(logical));
        for (std::uint32_t page = 0; page < pages_per_row; ++page) {
            const std::size_t at = stream.size();
            stream.resize(at + config.Page);
            Korvane_Emulator::Fill_Seeded(seed, Get_Bank_Enable(bank, config), row, page, config.Page, 0,
                                          stream.data() + at, config.Page);
        }
    }
    stream.resize(size);
    if (special)
        for (std::uint8_t& byte : stream) byte = Korvane_Emulator::Special_Byte(byte);
    return stream;
}
