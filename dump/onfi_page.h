// The ONFI parameter page proven by its CRC, and what a proven page tells
// about the chip: the verdict line and a chip configuration.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/nand_config.h"
#include "config/nand_options.h"
#include "framework/errors.h"

namespace Korvane_Exe {

struct Onfi_Proof {
    std::vector<std::uint8_t> page;  // the 256 bytes to report on
    std::uint32_t good_copy = 0;     // 1 to 3: the first copy that passes its CRC; 0: none does
};

// The first 256-byte copy in `copies` that passes its CRC; when none does,
// the bitwise two-of-three majority of the first three copies (equal to
// their bytewise majority wherever two copies agree).
Onfi_Proof Prove_Onfi_Copies(const std::vector<std::uint8_t>& copies);

// Reads bank 1's parameter page; only when its first copy fails the CRC,
// reads the three copies (768 bytes) and proves them.
Onfi_Proof Read_Proven_Parameter_Page(const NAND_Config& config, const NAND_Options& options);

// "CRC good: copy 1", "CRC good: copy 2 (copy 1 fails its CRC)", ...
std::wstring Onfi_Verdict(const Onfi_Proof& proof);

// The ONFI report of a proven page followed by its verdict line, or the
// failure, into `log`; the proof when the report could be made.
std::optional<Onfi_Proof> Proven_Onfi_Report(const NAND_Config& config, const NAND_Options& options, ZEKT_Log& log);

// `base` with what the page and the ID text tell: "Company", "Name", "ID code",
// "Bus", "Page", "Block", "Blocks", the size in "Banks" (its count stays),
// "Col" and "Row".
NAND_Config Config_From_Onfi(const NAND_Config& base, const std::vector<std::uint8_t>& page, const std::wstring& id);

// Fields of a parameter page: a little-endian number, an ASCII text up to
// its first zero byte.
std::uint32_t Onfi_Number(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t bytes);
std::string Onfi_Text(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t width);

}  // namespace Korvane_Exe
