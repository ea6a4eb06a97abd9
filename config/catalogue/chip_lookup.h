// Picking one catalogue chip by what a user types: its exact "Name", or
// "Name@ID" when several chips share a name.
#pragma once

#include <optional>
#include <string>

#include "config/nand_config.h"

// The first row in catalogue order whose "Name" is `wanted`, or, for
// "Name@ID", whose "Name" and stored ID code equal the two parts exactly.
std::optional<NAND_Config> Find_Catalogue_Chip(const std::wstring& wanted);
