// Micron families: the retry mode is a feature (EFh) that every read uses
// until it is set again.
#pragma once

#include "reader/retry/retry.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

class Micron : public Base, public Library {
public:
    std::uint32_t Parameter_Count() const override { return 1; }
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code&, const Reader_Setup&) const override {}
    void Known_Sets(std::vector<Register_List>& sets) const override;
};

class Micron_v2 : public Base, public Library {
public:
    std::uint32_t Parameter_Count() const override { return 2; }
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code&, const Reader_Setup&) const override {}
    void Known_Sets(std::vector<Register_List>& sets) const override;
};

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
