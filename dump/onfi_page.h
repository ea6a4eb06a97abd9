// The ONFI parameter page from the bytes the chip sent to the screen and the
// configuration: the report, the proof by CRC (a good copy or the majority of
// three), the verdict line and a chip configuration made from a proven page.
// The read itself is a chip operation (dump/chip_operations.h).
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
    std::vector<std::uint8_t> raw;   // the bytes as the reader returned them: 256, or 768 for three copies
    std::vector<std::uint8_t> page;  // the 256 bytes to report on
    std::uint32_t good_copy = 0;     // 1 to 3: the first copy that passes its CRC; 0: none does
    bool majority_good = false;      // no copy passes, but their majority does
    bool Proven() const { return good_copy != 0 || majority_good; }
};

// The first 256-byte copy in `copies` that passes its CRC; when none does,
// the bitwise two-of-three majority of the first three copies (equal to
// their bytewise majority wherever two copies agree), checked by its CRC.
Onfi_Proof Prove_Onfi_Copies(const std::vector<std::uint8_t>& copies);

// Reads bank 1's parameter page; only when its first copy fails the CRC,
// reads the three copies (768 bytes) and proves them.
Onfi_Proof Read_Proven_Parameter_Page(const NAND_Config& config, const NAND_Options& options);

// "CRC good: copy 1", "CRC good: majority of three copies", ...
std::wstring Onfi_Verdict(const Onfi_Proof& proof);

// The ONFI report of a parameter page into `log`; throws "Wrong Header".
void Print_Onfi_Report(const std::vector<std::uint8_t>& page, ZEKT_Log& log);

// Reads and proves the page, writes the raw bytes to `page_out` when one is
// named, then prints the report and its verdict line, or the failure, into
// `log`; the proof when the report could be made.
std::optional<Onfi_Proof> Proven_Onfi_Report(const NAND_Config& config, const NAND_Options& options, ZEKT_Log& log,
                                             const std::wstring& page_out = L"");

// `base` with what the page and the ID text tell: "Company", "Name", "ID code",
// "Bus", "Page", "Block", "Blocks", the size in "Banks" (its count stays),
// "Col", "Row" and the skip rules for the holes in the row addresses. Throws
// for a geometry that the configuration cannot read exactly.
NAND_Config Config_From_Onfi(const NAND_Config& base, const std::vector<std::uint8_t>& page, const std::wstring& id);

// Fields of a parameter page: a little-endian number; a text up to its first
// zero byte, each byte the character of its value, control characters escaped.
std::uint32_t Onfi_Number(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t bytes);
std::wstring Onfi_Text(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t width);

}  // namespace Korvane_Exe
