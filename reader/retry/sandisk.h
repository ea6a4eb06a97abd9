// SanDisk families: registers written with 55h after the 5Ch C5h unlock, and
// 5Dh before a page read to read with them.
#pragma once

#include "reader/retry/retry.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

class Sandisk_v1 : public Base, public Library, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override { return 7; }
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Known_Sets(std::vector<Register_List>& sets) const override;
};

class Sandisk_v2 : public Base, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override { return 3; }
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
};

class Sandisk_v3 : public Base, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override { return 7; }
    void Before_Loop(Assembler_Code&, const Reader_Setup&) const override {}
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
};

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
