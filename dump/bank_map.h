// The block map of a dump: every block's state (bad, weak, mended, erased,
// data) drawn as a grid of cells in an SVG picture beside the dump.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/nand_config.h"
#include "dump/reader_master.h"

namespace Korvane_Exe {

// In the order of precedence: a block takes the first state that applies.
// Uncorrectable and Corrected come from the ECC list beside the dump.
enum class Block_State { Bad, Weak, Mended, Uncorrectable, Corrected, Erased, Data };
constexpr std::size_t Block_State_Count = 7;

// How a dump divides into blocks and pages.
struct Map_Geometry {
    std::uint32_t page_bytes = 0;   // data and spare area
    std::uint32_t data_bytes = 0;   // the data area at the start of every page
    std::uint64_t block_bytes = 0;  // whole pages; 0: the whole dump is one block
    std::uint64_t bank_bytes = 0;   // what a whole dump holds; 0: not known
};

struct Map_Result {
    std::uint64_t blocks = 0;
    std::array<std::uint64_t, Block_State_Count> counts{};
    std::uint64_t left_over_bytes = 0;  // after the last whole block
    std::uint64_t missing_blocks = 0;   // of the bank, after the end of a partial dump
    bool ecc = false;                   // a ".ecc" list coloured the blocks
};

// The geometry of a configuration's dumps; `data_bytes` 0 takes the largest
// power of two not above "Page". Throws when "Block" is missing (unless
// "Blocks" is 1), not whole pages, or the data area does not fit a page.
Map_Geometry Bank_Map_Geometry(const NAND_Config& config, std::uint32_t data_bytes);

// Maps the dump at `dump_path`, with the pages its ".diff" lists and the
// codewords its ".ecc" lists (a block by its worst codeword), into
// `dump_path` + ".svg": one pass, a chunk at a time. `chip` and `bank` label
// the picture. A failure leaves no picture.
Map_Result Map_Dump(const std::wstring& dump_path, const Map_Geometry& geometry, const std::wstring& chip,
                    std::uint32_t bank, ZEKT_Progress& progress);

// "2 blocks: 0 bad, 0 weak, 0 mended, 0 erased, 2 data" (with the ECC states
// when a ".ecc" was read), the bytes left over and the blocks not in the dump.
std::wstring Map_Text(const Map_Result& result);

// The map action for one bank: "%02d_%02d.dump" into "%02d_%02d.dump.svg";
// an old picture goes first, whatever stops the run.
void Map_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const Map_Geometry& geometry,
              std::uint32_t bank);

}  // namespace Korvane_Exe
