// korvane-cli ecc: each selected bank's dump checked codeword by codeword
// under an ECC layout, given or found from the dump itself.
#pragma once

#include <iosfwd>
#include <optional>

#include "cli/console.h"
#include "config/nand_config.h"
#include "dump/reader_master.h"
#include "ecc/layout.h"

namespace Korvane_Cli {

// Per bank: the layout found ("Bank_N  layout: ...", without `layout`), the
// ECC row and the codewords by their bits on `out`; failures, and what the
// search tried when nothing fits, on `err`. `data_bytes` 0: the largest
// power of two not above "Page". True when every bank was checked and no
// codeword is uncorrectable.
bool Ecc_Command(Korvane_Exe::Reader_Master& master, Console_User& user, const NAND_Config& config,
                 const std::optional<Korvane_Ecc::Ecc_Layout>& layout, bool fix, std::uint32_t data_bytes,
                 std::ostream& out, std::ostream& err);

}  // namespace Korvane_Cli
