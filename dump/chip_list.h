// The chip list as the chip selection shows it, and the "Find" detection
// that reads the attached chip and picks the catalogue rows it fits.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "config/catalogue/chip_catalogue.h"
#include "config/nand_options.h"

namespace Korvane_Exe {

inline constexpr std::size_t Chip_Column_Count = 8;
using Chip_Columns = std::array<std::wstring, Chip_Column_Count>;

// "Name", "ID", "Size", "Banks", "Company", "Bus", "Cmd", "DDR".
const Chip_Columns& Chip_Column_Names();
// A row's texts in those columns; "Size" throws what the "Banks" text throws.
Chip_Columns Chip_Column_Texts(const NAND_Config& config);

// Reads the IDs of banks 1 to 4 on every bus mode ("8", "16", "16-8") and
// returns the catalogue rows whose ID, bank count and bus fit, in that order.
std::vector<const NAND_Config*> Detect_Chips(const Chip_Catalogue& catalogue, const NAND_Options& options);

}  // namespace Korvane_Exe
