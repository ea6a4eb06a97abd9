// A readable listing of a micro-program: one mnemonic line per step, for the
// emulator's transcript and for people who write "After Reset" and
// "Before Read" scripts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Korvane_Internal::NAND_Assembler {

// Lines "0012  Cmd 30", "0006  Loop head -> 32", ... up to and including the
// End step; a word outside the instruction set is listed as "Word 0x1234".
std::vector<std::wstring> Program_Listing(const std::vector<std::uint16_t>& words);

}  // namespace Korvane_Internal::NAND_Assembler
