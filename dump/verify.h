// The re-read check: a bank read once more and compared with its dump file,
// and, when asked, the differing pages read again and mended by majority.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dump/reader_master.h"
#include "framework/media.h"
#include "framework/sha256.h"

namespace Korvane_Exe {

struct Verify_Result {
    std::uint64_t pages = 0;            // pages of the bank
    std::uint64_t differing_pages = 0;
    std::uint64_t first_page = 0;       // the first differing page, counted from 0
    std::uint64_t differing_bits = 0;   // over all differing pages
    std::vector<std::uint64_t> line_bits;  // differing bits per data line, IO0 first
    std::uint32_t reread = 0;           // extra reads of each differing page; 0: none asked
    std::uint64_t mended_pages = 0;     // pages whose every bit had a clear majority
    std::uint64_t unsure_bits = 0;      // bits with a tie or less than two thirds agreeing
    std::uint64_t steady_pages = 0;     // pages whose fresh reads all agreed, against the dump
    std::vector<std::uint64_t> corrected_line_bits;  // bits the ECC list beside the dump corrected, per line
};

// Called for every differing page: its number, its differing bits and,
// when asked for (else empty), its differing 64-bit words: pairs of word
// index and difference, bit i of the page's byte 8w + j at 8j + i.
using Differing_Page_Sink =
    std::function<void(std::uint64_t page, std::uint64_t bits, const std::vector<std::uint64_t>& words)>;

// Compares the bank's stream with as many bytes of the dump, page by page
// ("Page" bytes each), chunk by chunk in fixed buffers, counting differing
// bits per data line (`data_lines` 8 or 16: a bit's line is its position in
// the stream modulo the bus width).
// `prefix_hash`, when given, is fed the dump's bytes before its first
// differing page (all of them when none differs).
Verify_Result Compare_Bank(ZEKT_Media& bank, ZEKT_Media& dump, std::uint32_t page_bytes, std::uint32_t data_lines,
                           ZEKT_Progress& progress, bool pass_words, const Differing_Page_Sink& differs,
                           ZEKT_Sha256* prefix_hash = nullptr);

// "Identical (384 pages)" or "7 of 384 pages differ, first page 12, 21 bits",
// after a re-read followed by "; 7 pages mended, 0 bits unsure" and, when
// some pages read alike every time, "; 2 pages read differently every
// time: not mended".
std::wstring Verify_Text(const Verify_Result& result);

// When at least 16 bits differ or were corrected by ECC (the ".ecc" beside
// the dump) and one or two data lines carry 80% of them or more: which
// lines, and to check their contacts. Else empty.
std::wstring Data_Line_Hint(const Verify_Result& result);

// Called with each page's index in the list read and the bank's bytes of it
// (a last page may be short).
using Grouped_Page_Sink = std::function<void(std::size_t index, const std::uint8_t* bytes)>;

// Reads the pages numbered in `pages` (ascending) from the bank under
// `config` in as few reading runs as their spacing allows: one run covers
// neighbouring units, reading through gaps of up to 1 MiB rather than
// opening another run (a run costs an upload and a program).
void Read_Pages_Grouped(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                        std::uint64_t total, const std::vector<std::uint64_t>& pages, ZEKT_Progress& progress,
                        const Grouped_Page_Sink& take);

// "2026-12-08 21:04:05 UTC": when a list was made, in every time zone alike.
std::wstring Utc_Now_Text();

// The verify action for one bank: the ID check when "Check ID" is on, then
// the bank read against "%02d_%02d.dump". Beside it "%02d_%02d.dump.diff"
// (UTF-8, line feeds) says first "# verify --reread K, DATE TIME UTC", then
// lists the differing pages ("page bits", with `reread` also "mended",
// "unsure N" or "not mended") and then the differing bits per data line
// ("IO3 41"). With `reread` (1 to 99) every differing page is read that
// many times more; a page whose fresh reads disagree among themselves is
// replaced by the bitwise majority of all its reads, its old bytes saved
// first in "%02d_%02d.dump.undo" (dump/undo_file.h), and a ".sha256"
// beside the dump follows what is on disk. A missing dump file, one of
// another size and any difference not mended with a clear majority are the
// bank's error. `result` holds what was found, also when it throws.
void Verify_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                 std::uint32_t bank, std::uint32_t reread, Verify_Result& result);

// `verify --undo` for one bank: every page of the undo file put back, the
// undo file and the ".diff" deleted, a ".sha256" written for what is on disk.
void Undo_Bank(Reader_Master& master, Bank_List& banks, std::uint32_t bank);

}  // namespace Korvane_Exe
