// Samsung families: each register is written on its own, with a wait.
#pragma once

#include "reader/retry/retry.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

class Samsung_v1 : public Base, public Library, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override { return 12; }
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code&, const Reader_Setup&) const override {}
    void Known_Sets(std::vector<Register_List>& sets) const override;
};

class Samsung_v3 : public Base, public Library, public Continuous, public Best_at_Saddle {
public:
    Samsung_v3();
    std::uint32_t Parameter_Count() const override { return static_cast<std::uint32_t>(addresses.size()); }
    void Before_Loop(Assembler_Code&, const Reader_Setup&) const override {}
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Known_Sets(std::vector<Register_List>& sets) const override;

private:
    std::vector<std::uint8_t> addresses;
};

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
