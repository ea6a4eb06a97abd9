// korvane-cli image: the switches of the command and its run over the banks.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "config/nand_config.h"
#include "dump/reader_master.h"

namespace CLI {
class App;
}

namespace Korvane_Cli {

struct Image_Choices {
    std::string layout;          // empty: the dump's ECC report, if any
    std::string bad = "skip";    // skip | keep | pad
    std::string spare;           // a file for the spare areas
    std::string range;           // "FROM-TO" in blocks
    bool swap16 = false, trim = false;
    std::uint32_t data_bytes = 0;  // 0: the largest power of two not above "Page"
};

// Adds the image switches to `command`; their texts are checked as they are parsed.
void Add_Image_Options(CLI::App& command, Image_Choices& choices);

// Images every selected bank's dump; each uncorrectable codeword is named
// on `err` as it is met. False when any codeword was uncorrectable.
bool Image_Banks(Korvane_Exe::Reader_Master& master, Korvane_Exe::Bank_List& banks, const NAND_Config& config,
                 const Image_Choices& choices, const std::vector<std::uint32_t>& selected, std::ostream& err);

}  // namespace Korvane_Cli
