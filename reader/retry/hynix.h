// Hynix families: registers written between 36h and 16h, some behind an
// opened register window.
#pragma once

#include "reader/retry/retry.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

class Hynix_v1 : public Base, public Library, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Known_Sets(std::vector<Register_List>& sets) const override;
};

class Hynix_v2 : public Base, public Library, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Known_Sets(std::vector<Register_List>& sets) const override;
};

class Hynix_v3 : public Base, public Continuous, public Best_at_Saddle {
public:
    Hynix_v3();
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;

private:
    std::vector<std::uint8_t> addresses;
};

class Hynix_v4 : public Base, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
};

class Hynix_v5 : public Base, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
};

class Hynix_v6 : public Base, public Continuous, public Best_at_Saddle {
public:
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;
};

class Hynix_v7 : public Base, public Continuous, public Best_at_Saddle {
public:
    Hynix_v7();
    std::uint32_t Parameter_Count() const override;
    void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const override;
    void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const override;

private:
    std::vector<std::uint8_t> addresses;
};

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
