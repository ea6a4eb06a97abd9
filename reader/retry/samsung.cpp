#include "reader/retry/samsung.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

namespace {

// Register i of "Samsung v1" is addressed by the pair (P[i], Q[i]).
constexpr std::uint8_t V1_P[12] = {0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x00, 0x03, 0x03, 0x03};
constexpr std::uint8_t V1_Q[12] = {0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0x12, 0xC8, 0xA0, 0xAB};

const std::vector<std::uint8_t> V3_Addresses{0xA7, 0xA4, 0xA5, 0xA6};

}  // namespace

// 60h with a zero row, then the AAh 55h AAh 55h unlock and 01h, then the
// register pair and the value.
void Samsung_v1::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    for (std::size_t i = 0; i < 12; ++i) {
        const Register& reg = Parameter(setup, i);
        if (!reg.is_set) continue;
        code.Cmd_Step(0x60);
        code.Addr_Step(0x00);
        code.Addr_Step(0x00);
        code.Addr_Step(0x00);
        code.Cmd_Step(0xAA);
        code.Cmd_Step(0x55);
        code.Cmd_Step(0xAA);
        code.Cmd_Step(0x55);
        code.Cmd_Step(0x01);
        code.Data_Step(V1_P[i]);
        code.Data_Step(V1_Q[i]);
        code.Data_Step(reg.value);
        code.Wait_Step();
    }
}

// Our own generator: set 0 is the default; sets 1..8 lower the eight read
// levels (registers 0-7) by 6 per set, and leave the four control
// registers (8-11) at zero.
void Samsung_v1::Known_Sets(std::vector<Register_List>& sets) const {
    for (int k = 0; k < 9; ++k) {
        Register_List set;
        for (int r = 0; r < 12; ++r) set.push_back({static_cast<std::uint8_t>(r < 8 ? (0x100 - 6 * k) & 0xFF : 0), true});
        sets.push_back(set);
    }
}

Samsung_v3::Samsung_v3() : addresses(V3_Addresses) {}

// A1h, 00h, the register and its value, as data cycles.
void Samsung_v3::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const Register& reg = Parameter(setup, i);
        if (!reg.is_set) continue;
        code.Cmd_Step(0xA1);
        code.Data_Step(0x00);
        code.Data_Step(addresses[i]);
        code.Data_Step(reg.value);
        code.Wait_Step();
    }
}

// Our own 14 sets: the default, then the four levels lowered together, the
// upper levels a little more than the lower ones.
void Samsung_v3::Known_Sets(std::vector<Register_List>& sets) const {
    for (int k = 0; k < 14; ++k) {
        Register_List set;
        for (int r = 0; r < 4; ++r) set.push_back({static_cast<std::uint8_t>((0x100 - k * (4 + 2 * r)) & 0xFF), true});
        sets.push_back(set);
    }
}

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
