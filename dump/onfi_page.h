// The parameter page from the bytes the chip sent to the screen and the
// configuration: the report, the proof by CRC (a good copy or the majority of
// three), the verdict line and a chip configuration made from a proven page.
// ONFI pages and JEDEC pages (toggle-mode parts) share the fields reported;
// they differ in signature, address, copy size and the span of the CRC.
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

enum class Parameter_Page_Kind { Onfi, Jedec };

struct Parameter_Layout {
    Parameter_Page_Kind kind;
    const char* signature;   // the four letters at byte 0
    std::uint8_t address;    // the address cycle after command ECh
    std::size_t copy_bytes;  // one copy, its CRC-16 in the last two bytes
};

const Parameter_Layout& Layout_Of(Parameter_Page_Kind kind);

struct Onfi_Proof {
    Parameter_Page_Kind kind = Parameter_Page_Kind::Onfi;
    std::vector<std::uint8_t> raw;   // the bytes as the reader returned them: one copy, or three
    std::vector<std::uint8_t> page;  // the copy to report on (256 bytes ONFI, 512 JEDEC)
    std::uint32_t good_copy = 0;     // 1 to 3: the first copy that passes its CRC; 0: none does
    bool majority_good = false;      // no copy passes, but their majority does
    bool Proven() const { return good_copy != 0 || majority_good; }
    // The page begins with its kind's signature.
    bool Signed() const;
};

// The first copy in `copies` that passes its CRC; when none does, the
// bitwise two-of-three majority of the first three copies (equal to their
// bytewise majority wherever two copies agree), checked by its CRC.
Onfi_Proof Prove_Onfi_Copies(const std::vector<std::uint8_t>& copies,
                             Parameter_Page_Kind kind = Parameter_Page_Kind::Onfi);

// Reads the bank's ONFI page, else its JEDEC page. Of each, one copy is read
// first; the three copies only when that one fails its CRC but carries
// something of the signature. Neither signed: the ONFI answer, unless only
// the JEDEC answer looks like a page.
Onfi_Proof Read_Proven_Parameter_Page(const NAND_Config& config, const NAND_Options& options,
                                      std::uint32_t bank = 1);

// "CRC good: copy 1", "CRC good: majority of three copies", ...
std::wstring Onfi_Verdict(const Onfi_Proof& proof);

// The report of a parameter page into `log`; throws "Wrong Header" for an
// ONFI page without its signature, and names what a JEDEC page carried.
void Print_Onfi_Report(const std::vector<std::uint8_t>& page, ZEKT_Log& log,
                       Parameter_Page_Kind kind = Parameter_Page_Kind::Onfi);

// Where a proven page and the configuration disagree on the page size, the
// pages per block, the blocks or the LUNs, one line naming both values
// ("Page 4320, the chip's parameter page says 8640"); empty when they agree.
// A bank of several chip enables is judged on its page and block only.
std::wstring Parameter_Page_Disagreement(const NAND_Config& config, const std::vector<std::uint8_t>& page,
                                        bool one_chip_enable = true);

// Reads and proves the page, writes the raw bytes to `page_out` when one is
// named, then prints the report and its verdict line, or the failure, into
// `log`; the proof when the report was made, or failed only for the page's
// signature.
std::optional<Onfi_Proof> Proven_Onfi_Report(const NAND_Config& config, const NAND_Options& options, ZEKT_Log& log,
                                             const std::wstring& page_out = L"");

// `base` with what the page and the ID text tell: "Company", "Name", "ID code",
// "Bus", "Page", "Block", "Blocks", the size in "Banks" (its count stays),
// "Col", "Row" and the skip rules for the holes in the row addresses. Throws
// for a geometry that the configuration cannot read exactly, or that its
// address cycles do not reach.
NAND_Config Config_From_Onfi(const NAND_Config& base, const std::vector<std::uint8_t>& page, const std::wstring& id);

// Fields of a parameter page: a little-endian number; a text up to its first
// zero byte, each byte the character of its value, control characters escaped.
std::uint32_t Onfi_Number(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t bytes);
std::wstring Onfi_Text(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t width);

}  // namespace Korvane_Exe
