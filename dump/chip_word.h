// What an attached chip that no catalogue row fits says about itself: its ID,
// decoded, and its ONFI (else JEDEC) parameter page when it has a proven one;
// and the chip configuration those make, checked before it is given out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/id_decode.h"
#include "config/nand_config.h"
#include "config/nand_options.h"
#include "dump/onfi_page.h"

namespace Korvane_Exe {

struct Chip_Word {
    std::vector<std::uint8_t> id;       // bank 1's ID bytes, as long as the chip's ID when that shows
    std::uint32_t chip_enables = 1;     // banks 1 to 4 that answer the same ID
    Id_Decoding decoding;
    std::optional<Onfi_Proof> onfi;     // only a signed page that its CRC proves, ONFI or JEDEC
};

// Reads the ID of banks 1 to 4 (eight bytes of bank 1, for the ID's length)
// and bank 1's parameter page.
Chip_Word Read_Chip_Word(const NAND_Options& options);

// One line for the ID, one for what it decodes to, one for the parameter page.
std::vector<std::wstring> Chip_Word_Lines(const Chip_Word& word);

// The configuration the parameter page and the ID describe (the page wins),
// passed through Check_Config_Geometry; throws "No configuration from the ID
// <id>: it does not tell the page size" when there is no page and the ID does
// not tell page, spare and size.
NAND_Config Config_From_Chip_Word(const Chip_Word& word);

}  // namespace Korvane_Exe
