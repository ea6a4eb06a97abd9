// The ECC pass over a dump file: the layout found from the dump's own pages,
// every codeword checked once, the list "NN_NN.dump.ecc" beside the dump and,
// when asked, the mended copy "NN_NN.fixed.dump".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dump/bank_map.h"
#include "ecc/codec.h"
#include "framework/errors.h"

namespace Korvane_Exe {

struct Ecc_Counts {
    std::uint32_t t = 0;  // bits a codeword can have corrected
    std::uint64_t codewords = 0, clean = 0;
    std::uint64_t corrected = 0, corrected_bits = 0;
    std::uint64_t uncorrectable = 0;
    std::uint64_t erased = 0, erased_bits = 0;
    std::uint64_t bad_blocks = 0;
    std::vector<std::uint64_t> by_bits;  // [k - 1]: corrected or erased codewords with k flipped bits, k = 1..t
};

// Up to `count` pages of the dump that hold data (at least 64 bytes not ff),
// spread evenly over it, for the layout search.
std::vector<std::vector<std::uint8_t>> Sample_Pages(const std::wstring& dump_path, const Map_Geometry& geometry,
                                                    std::size_t count);

// The layout of the dump at `dump_path`, searched over its sampled pages
// (how many in `sampled_pages`); throws when no page holds data.
Korvane_Ecc::Search_Result Find_Dump_Layout(const std::wstring& dump_path, const Map_Geometry& geometry,
                                            std::size_t& sampled_pages);

// Checks every codeword of the dump under `layout` in one pass, on every
// core, and writes `dump_path` + ".ecc"; with `fix` also the dump with every
// correctable codeword mended as "NN_NN.fixed.dump". Pages of bad blocks
// (their first page's marker not ff) are skipped. Each file is written under
// a new name and put in place when complete.
Ecc_Counts Check_Dump(const std::wstring& dump_path, const Map_Geometry& geometry,
                      const Korvane_Ecc::Ecc_Layout& layout, bool fix, ZEKT_Progress& progress);

// "NN_NN.fixed.dump" for "NN_NN.dump".
std::wstring Fixed_Dump_Path(const std::wstring& dump_path);

// "ECC: 8 codewords, 5 clean, 1 corrected (2 bits), 1 uncorrectable, 1 erased (0 bits), 0 bad blocks".
std::wstring Ecc_Text(const Ecc_Counts& counts);
// "codewords with 1 bit: 3, 2 bits: 1, 3 bits: 0, 4 bits: 0".
std::wstring Ecc_Bits_Text(const Ecc_Counts& counts);
// "bch step=512 m=13 t=4 poly=0x201b ecc=end fits 100.0% of the codewords of 64 sampled pages; runner-up: ... 2.5%".
std::wstring Search_Text(const Korvane_Ecc::Search_Result& result, std::size_t sampled_pages);

// One block's codewords as a ".ecc" lists them.
struct Ecc_Block {
    std::uint64_t corrected = 0, uncorrectable = 0, erased = 0;  // erased: with flips
    std::uint32_t worst_bits = 0;                                // of its corrected and erased codewords
};
struct Ecc_Listing {
    Korvane_Ecc::Ecc_Layout layout;  // of its header line
    std::uint32_t t = 0;
    std::map<std::uint64_t, Ecc_Block> blocks;  // only blocks with a listed codeword
    // Corrected bits per data line (IO0 first), for `data_lines` 8 or 16.
    std::vector<std::uint64_t> line_bits;
    std::uint64_t corrected_bits = 0;
};
// Reads `ecc_path` (a ".ecc" of this pass) line by line; blocks of
// `pages_per_block` pages (0: none kept), lines of `page_bytes`-byte pages.
Ecc_Listing Read_Ecc_Listing(const std::wstring& ecc_path, std::uint64_t pages_per_block, std::uint32_t page_bytes,
                             std::uint32_t data_lines);

// A page the ".ecc" lists with an uncorrectable codeword or one of more
// than `above` bits.
struct Ecc_Page {
    std::uint64_t page = 0;
    std::uint32_t uncorrectable = 0;  // codewords
    std::uint32_t worst_bits = 0;  // of its listed codewords that are not uncorrectable
};
std::vector<Ecc_Page> Ecc_Pages_Above(const std::wstring& ecc_path, std::uint32_t above);

// Rewrites the ".ecc" at `ecc_path` with the lines of every page in `pages`
// (ascending) replaced by the reports `reports_of` gives for it (none: all
// clean), one page at a time.
using Page_Reports = std::function<std::vector<Korvane_Ecc::Codeword_Report>(std::uint64_t page)>;
void Replace_Ecc_Pages(const std::wstring& ecc_path, std::uint32_t t, const std::vector<std::uint64_t>& pages,
                       const Page_Reports& reports_of);

}  // namespace Korvane_Exe
