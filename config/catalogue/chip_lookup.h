// Picking catalogue chips by what a user types: its exact "Name", "Name@ID"
// when several chips share a name, or "#N" for the row numbered N.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/catalogue/chip_catalogue.h"
#include "config/nand_config.h"

// The indexes of every row `wanted` names, in catalogue order: "#N" the row
// numbered N (counted from 1 in catalogue order); else the rows whose "Name"
// is `wanted`; else, for "Name@ID", the rows whose "Name" and stored ID code
// equal the two parts exactly.
std::vector<std::size_t> Find_Catalogue_Rows(const Chip_Catalogue& catalogue, const std::wstring& wanted);

// The one chip those rows hold; nothing when there is no row; throws when
// the rows differ.
std::optional<NAND_Config> Find_Catalogue_Chip(const std::wstring& wanted);

// The rows `Chip_Catalogue::Filter` lists, with the letter O and the digit 0
// taken as one character in the name: part numbers are often written with
// one where the other is meant ("K9G8G08UOM").
std::vector<const NAND_Config*> Filter_O_Or_Zero(const Chip_Catalogue& catalogue, const std::wstring& name,
                                                 const std::wstring& id);
