// What an ID that no chip answers with says about the connection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/nand_config.h"
#include "config/nand_options.h"

namespace Korvane_Exe {

// A hint for the ID text of a read ("98 de 94 93 "), or empty when the bytes
// could be a chip's: all 0xFF, all 0x00, or one byte on every cycle are not.
std::wstring Id_Hint(const std::wstring& id);

// For a configuration of one chip on one chip-enable line whose ID looked
// like a chip's: reads the ID on the other seven lines and gives a hint when
// every line answers with that same ID (chip enables tied); empty otherwise.
std::wstring Tied_Enables_Hint(const NAND_Config& config, const NAND_Options& options, const std::wstring& id);

}  // namespace Korvane_Exe
