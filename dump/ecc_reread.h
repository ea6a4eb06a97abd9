// Reading until the ECC is satisfied: every page whose codewords the ECC
// list beside a dump finds uncorrectable, or worse than a threshold, is
// read again, plainly and then at each read-retry level, until a read of it
// decodes within the threshold; only such a read replaces the page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dump/reader_master.h"
#include "ecc/layout.h"

namespace Korvane_Exe {

// One retry level given by the user: register keys as the emulator's
// "Sim Retry Clean" writes them (plain addresses 00-FF, SET FEATURES
// 0x100 + address) and the values they take.
using Retry_Level = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

// "ac=00 ad=06; ac=04 ad=0a": levels separated by ";". Throws
// ZEKT_Exception_DataCorrupt "Wrong retry levels <...>".
std::vector<Retry_Level> Parse_Retry_Levels(const std::wstring& text);

struct Ecc_Reread_Choices {
    std::optional<Korvane_Ecc::Ecc_Layout> layout;  // else the ".ecc" header's
    std::optional<std::uint32_t> above;             // bits; else three quarters of t
    std::uint32_t plain_reads = 2;
    std::vector<Retry_Level> levels;                // else the strategy's own
    std::uint32_t data_bytes = 0;                   // 0: as for map
};

struct Ecc_Reread_Result {
    std::uint64_t pages = 0;                                       // read again
    std::uint64_t plain = 0;                                       // passed at a plain read
    std::vector<std::pair<std::uint32_t, std::uint64_t>> levels;   // level number, pages passed at it
    std::vector<std::pair<std::uint32_t, std::uint64_t>> voltages; // hundredths of a volt, pages passed at it
    std::uint64_t still_fail = 0;
    std::uint64_t uncorrectable = 0;  // codewords left uncorrectable in the dump
};

// "3 pages read again: 2 now pass (at retry level 5: 1, at 1.75 V: 1, plain: 0),
// 1 still fail".
std::wstring Ecc_Reread_Text(const Ecc_Reread_Result& result);

// `verify --ecc` for one bank. The levels: the user's, else the built-in
// sets of the configuration's "Retry" strategy (Micron: modes 1 to 7), else
// none. After them, when the option "Voltage" puts the chip on the power
// adapter, the other voltages of its supply class. A page that passes is saved first in "NN_NN.dump.undo", then
// written as read; "NN_NN.dump.ecc" gets its new codeword lines, and
// "NN_NN.dump.diff" says for each page read again what made it pass, or
// that it still fails. Codewords left uncorrectable are the bank's error.
void Ecc_Reread_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                     std::uint32_t bank, const Ecc_Reread_Choices& choices, Ecc_Reread_Result& result);

// After pages of the dump were put back: its ".ecc", when there is one,
// made again under the layout of its header line, or removed when it
// cannot be.
void Renew_Ecc_List(const std::wstring& dump_path, const NAND_Config& config);

}  // namespace Korvane_Exe
