// The check every chip configuration passes before a reader runs with it:
// its address cycles reach every row and column it reads.
#pragma once

#include "config/nand_config.h"

// Throws one line naming the configured value and what it must reach: the
// row cycles hold the highest row the bank and its skip rules address, the
// column cycles the page, and the page has a data area.
void Check_Config_Geometry(const NAND_Config& config);
