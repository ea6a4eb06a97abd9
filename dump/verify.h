// The re-read check: a bank read once more and compared with its dump file.
#pragma once

#include <cstdint>
#include <string>

#include "dump/reader_master.h"
#include "framework/media.h"

namespace Korvane_Exe {

struct Verify_Result {
    std::uint64_t pages = 0;            // pages of the bank
    std::uint64_t differing_pages = 0;
    std::uint64_t first_page = 0;       // the first differing page, counted from 0
    std::uint64_t differing_bits = 0;   // over all differing pages
};

// Compares the bank's stream with as many bytes of the dump, page by page
// ("Page" bytes each), chunk by chunk in fixed buffers. Each differing page becomes a line "page bits" of the
// UTF-16 text file `diff_path`, which is deleted when nothing differs and
// when the comparison fails half-way.
Verify_Result Compare_Bank(ZEKT_Media& bank, ZEKT_Media& dump, std::uint32_t page_bytes, const std::wstring& diff_path,
                           ZEKT_Progress& progress);

// "Identical (384 pages)" or "7 of 384 pages differ, first page 12, 21 bits".
std::wstring Verify_Text(const Verify_Result& result);

// The verify action for one bank: the ID check when "Check ID" is on, then
// the bank read against "%02d_%02d.dump" beside which "%02d_%02d.dump.diff"
// lists the differences. A missing dump file, one of another size and any
// difference are the bank's error.
void Verify_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                 std::uint32_t bank);

}  // namespace Korvane_Exe
