// The ONFI parameter page a modelled chip answers to EC 00: generated from
// the chip's geometry, or replayed from a captured page; or the JEDEC page a
// toggle-mode chip answers to EC 40 instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reader/onfi_crc.h"

namespace Korvane_Emulator {

inline constexpr std::size_t Onfi_Page_Bytes = 256;
inline constexpr std::size_t Jedec_Page_Bytes = 512;
using Onfi_Page = std::array<std::uint8_t, Onfi_Page_Bytes>;

struct Onfi_Geometry {
    std::string manufacturer;  // at most 12 characters are kept
    std::string model;         // at most 20 characters are kept
    std::uint8_t jedec_id = 0;
    std::uint32_t data_bytes = 0;
    std::uint16_t spare_bytes = 0;
    std::uint32_t pages_per_block = 0;
    std::uint32_t blocks_per_lun = 0;
    std::uint8_t luns = 1;
    std::uint8_t column_cycles = 2;
    std::uint8_t row_cycles = 3;
    std::uint8_t bits_per_cell = 1;
    bool wide_bus = false;
};

using Korvane_Internal::Onfi_CRC16;

// One 256-byte copy with its CRC in bytes 254 and 255, little-endian.
Onfi_Page Make_Onfi_Page(const Onfi_Geometry& geometry);

// One 512-byte JEDEC copy: "JESD", the same fields at the same offsets, its
// CRC over bytes 0-509 in bytes 510 and 511.
std::vector<std::uint8_t> Make_Jedec_Page(const Onfi_Geometry& geometry);

// The three copies a chip answers, one after another: `page` three times, or
// a captured page from a file, whose one copy is repeated and whose three
// copies are taken as they are, damage included.
std::vector<std::uint8_t> Onfi_Copies(const Onfi_Page& page);

// A captured page: 256 or 768 bytes are ONFI copies, 512 or 1536 JEDEC ones.
struct Captured_Page {
    bool jedec = false;
    std::vector<std::uint8_t> copies;  // three copies
};
Captured_Page Parameter_Copies_From_File(const std::wstring& path);

}  // namespace Korvane_Emulator
