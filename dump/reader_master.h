// The controller of everything that touches the chips of the selected banks:
// ID check, dump with bit map and "Chip.txt", USB self-test, ONFI report.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "config/nand_config.h"
#include "config/nand_options.h"
#include "dump/dump_hashes.h"
#include "dump/user.h"

namespace Korvane_Exe {

class Reader_Master {
public:
    // Holds pointers only; their owner (the main window) outlives it.
    Reader_Master(NAND_Options* options, NAND_Config* config, const std::uint32_t* chip_number, Bank_List* banks,
                  Question* question, Messages* messages);

    // The user actions. The two reports answer whether they succeeded, for
    // front ends that keep a status.
    void ID_Action();
    void Read_Action();
    bool Test_USB();
    bool Read_ONFI();

    // Runs `action` for every selected bank; a failing bank shows its error
    // in its row and the next bank goes on.
    void For_Each_Selected_Bank(const std::function<void(std::uint32_t)>& action);
    void Check_Bank_ID(std::uint32_t bank);
    // The ID check before a pass: the ID, then, on the first bank the action
    // checks, the chip's proven parameter page against the configuration;
    // every bank of the action fails when they disagree.
    void Check_Bank_Chip(std::uint32_t bank);
    void Dump_Bank(std::uint32_t bank);
    // The bb pass; a resumed one keeps the map of the first `keep` stream
    // bytes (whole units, checked against the chip) and reads the rest.
    void Read_bb(std::uint32_t bank, std::uint64_t keep = 0);
    // True when nothing would be overwritten or the user agrees.
    bool Confirm_Overwrite();

    std::wstring Dump_Path(std::uint32_t bank) const;
    std::wstring Bb_Path(std::uint32_t bank) const;
    std::wstring Config_Folder() const;
    std::wstring Config_Path() const;
    void Save_Chip_Config();

    // When set, sees every file a dump writes (for hashes); not owned.
    Dump_File_Watch* file_watch = nullptr;
    // The banks whose last dump came back as one byte value, with it.
    std::map<std::uint32_t, std::uint8_t> uniform_banks;
    // The banks whose last dump repeated itself, with the hint that says so.
    std::map<std::uint32_t, std::wstring> repeat_hints;
    // When set, "Read" continues each dump file where it stopped instead of
    // reading the bank anew; it overwrites no dump, so it asks nothing.
    bool resume = false;
    // The bytes of the bank's dump file that a resumed read keeps: its whole
    // units. Throws when the file holds more than the bank.
    std::uint64_t Kept_Bytes(std::uint32_t bank, std::uint64_t bank_bytes) const;

private:
    const std::wstring& Work_Folder() const;
    // A resumed bank whose dump is whole: only a missing or short bit map is read.
    void Leave_Complete_Bank(std::uint32_t bank);

    NAND_Options* options;
    NAND_Config* config;
    const std::uint32_t* chip_number;
    Bank_List* banks;
    Question* question;
    Messages* messages;
    // What the chip's parameter page said in this action; empty: not read yet.
    std::optional<std::wstring> page_verdict;
};

// "Dump file <PATH> holds N bytes, the bank M": a dump that is not the bank's.
ZEKT_Exception Dump_Size_Error(const std::wstring& path, std::uint64_t held, std::uint64_t bank_bytes);

// Packs bit 0 of every stream byte, most significant bit first; returns the
// number of bit-map bytes written, ceil(count / 8).
std::size_t Pack_Bit_Map(const std::uint8_t* stream, std::size_t count, std::uint8_t* bits);

// For a dump whose every byte is `value`: the remark after its row's
// "Reading done (...)", and the hint that says what to check.
std::wstring Uniform_Dump_Remark(std::uint8_t value);
std::wstring Uniform_Dump_Hint(std::uint8_t value);

// The period of a dump that repeats itself, in the configuration's blocks
// when it has them, else in pages; `unit_bytes` is that block or page.
std::wstring Repeat_Dump_Remark(std::uint64_t period, bool blocks);
std::wstring Repeat_Dump_Hint(std::uint64_t period, bool blocks, std::uint64_t period_bytes);

}  // namespace Korvane_Exe
