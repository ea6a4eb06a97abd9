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

// The first of those rows.
std::optional<NAND_Config> Find_Catalogue_Chip(const std::wstring& wanted);
