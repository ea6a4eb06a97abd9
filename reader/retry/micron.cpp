#include "reader/retry/micron.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

namespace {

// SET FEATURES: EFh, the feature address, P1 = the value, P2-P4 = 0, then the
// chip is busy until the feature is taken.
void Set_Feature(Assembler_Code& code, std::uint8_t feature, std::uint8_t value) {
    code.Cmd_Step(0xEF);
    code.Addr_Step(feature);
    code.Data_Steps(value, 0x00, 0x00, 0x00);
    code.Wait_Step();
}

constexpr std::uint8_t Feature_Read_Retry = 0x89;
constexpr std::uint8_t Feature_Read_Retry_2 = 0x96;

}  // namespace

void Micron::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Set_Feature(code, Feature_Read_Retry, Register_Value(Parameter(setup, 0)));
}

// The retry option of these chips runs from 0 (default) to 15.
void Micron::Known_Sets(std::vector<Register_List>& sets) const {
    for (std::uint8_t mode = 0; mode < 16; ++mode) sets.push_back({{mode, true}});
}

void Micron_v2::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    // Both registers are read before anything is appended, so an unset one
    // leaves no half sequence behind.
    const std::uint8_t first = Register_Value(Parameter(setup, 0));
    const std::uint8_t second = Register_Value(Parameter(setup, 1));
    Set_Feature(code, Feature_Read_Retry, first);
    Set_Feature(code, Feature_Read_Retry_2, second);
}

// Every pair of two 4-bit modes: n gives (low nibble, high nibble).
void Micron_v2::Known_Sets(std::vector<Register_List>& sets) const {
    for (unsigned n = 0; n < 256; ++n)
        sets.push_back({{static_cast<std::uint8_t>(n & 0x0F), true}, {static_cast<std::uint8_t>(n >> 4), true}});
}

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
