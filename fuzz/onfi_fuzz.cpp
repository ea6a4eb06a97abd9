// Arbitrary bytes as a parameter page read from a chip: the proof, the
// report, the verdict and the configuration made from the page, then the
// bank geometry of that configuration. Refusals are fine; crashes, undefined
// behaviour, control characters in the texts and a configuration that reads
// other rows than the page's address layout are not.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "shown_text.h"
#include "config/nand_config.h"
#include "dump/chip_operations.h"
#include "dump/onfi_page.h"
#include "framework/errors.h"

namespace {

bool Shown_Safely(const std::wstring& text) {
    for (wchar_t c : text)
        if (Unsafe_Character(c, false)) return false;
    return true;
}

// The row address of a unit (a row of one or three pages) as the ONFI
// layout places it: row, block and LUN fields, each a power of two wide.
std::uint64_t Onfi_Row(std::uint64_t unit, std::uint64_t rows, std::uint64_t blocks_per_lun) {
    const std::uint64_t lun = unit / (rows * blocks_per_lun);
    const std::uint64_t block = unit / rows % blocks_per_lun;
    return (lun * std::bit_ceil(blocks_per_lun) + block) * std::bit_ceil(rows) + unit % rows;
}

void Check_Geometry(const NAND_Config& config, const std::vector<std::uint8_t>& page) {
    if (!Shown_Safely(config.Company) || !Shown_Safely(config.Name)) std::abort();
    const std::uint64_t dump = config.Get_Bank_Dump_Size();
    if (dump != std::uint64_t{config.Block} * config.Blocks) std::abort();
    const std::uint64_t pages = Korvane_Exe::Onfi_Number(page, 92, 4);
    const std::uint64_t rows = config.Is_Triple_Page() ? pages / 3 : pages;
    const std::uint64_t blocks_per_lun = Korvane_Exe::Onfi_Number(page, 96, 4);
    const std::uint64_t units = rows * config.Blocks;
    // The edges of the first block, of the first LUN and of the whole bank.
    for (std::uint64_t unit : {std::uint64_t{0}, rows - 1, rows, rows * blocks_per_lun - 1, rows * blocks_per_lun,
                               units - 1}) {
        if (unit >= units) continue;
        if (static_cast<std::uint64_t>(config.Get_Real_Page(static_cast<std::int64_t>(unit))) !=
            Onfi_Row(unit, rows, blocks_per_lun))
            std::abort();
    }
    try {
        Korvane_Internal::Korvane medium(1, config, NAND_Options());
    } catch (const ZEKT_Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    NAND_Config base;
    base.Cmd = data[0] & 1 ? L"WL" : L"Std";
    std::vector<std::uint8_t> copies(data + 1, data + std::min<std::size_t>(size, 769));
    if (copies.size() < 256) copies.resize(256, 0xFF);

    const Korvane_Exe::Onfi_Proof proof = Korvane_Exe::Prove_Onfi_Copies(copies);
    if (proof.page.size() != 256) std::abort();
    ZEKT_wstring_Log log;
    try {
        Korvane_Exe::Print_Onfi_Report(proof.page, log);
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
    for (wchar_t c : log.text + Korvane_Exe::Onfi_Verdict(proof))
        if (c != L'\n' && !Shown_Safely(std::wstring(1, c))) std::abort();
    try {
        Check_Geometry(Korvane_Exe::Config_From_Onfi(base, proof.page, L"2c 64 44 4b a9"), proof.page);
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
    return 0;
}
