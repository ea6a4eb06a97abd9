#include "reader/retry/sandisk.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

namespace {

const std::vector<std::uint8_t> V1_Addresses{0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};
const std::vector<std::uint8_t> V2_Addresses{0x21, 0x22, 0x24};

// 5Ch C5h unlocks the parameter registers; register 00h = 01h enables them.
// Each set register is then one 55h write.
void Unlock_And_Write(Assembler_Code& code, const Reader_Setup& setup, const std::vector<std::uint8_t>& addresses) {
    code.Cmd_Step(0x5C);
    code.Cmd_Step(0xC5);
    code.Cmd_Step(0x55);
    code.Addr_Step(0x00);
    code.Data_Step(0x01);
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const Register& reg = Parameter(setup, i);
        if (!reg.is_set) continue;
        code.Cmd_Step(0x55);
        code.Addr_Step(addresses[i]);
        code.Data_Step(reg.value);
    }
    code.Wait_Step();
}

// An unset register reads as 00h, the default threshold.
std::uint8_t Value_Or_Zero(const Reader_Setup& setup, std::size_t i) {
    const Register& reg = Parameter(setup, i);
    return reg.is_set ? reg.value : 0x00;
}

}  // namespace

void Sandisk_v1::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Unlock_And_Write(code, setup, V1_Addresses);
}

// 5Dh: the next read uses the shifted thresholds.
void Sandisk_v1::Before_Page(Assembler_Code& code, const Reader_Setup&) const { code.Cmd_Step(0x5D); }

// Our own generator: set 0 is the default; sets 1..15 move all seven
// thresholds together, alternately down and up by growing steps of 4
// (-4, +4, -8, +8 ...), as a saddle search would try them.
void Sandisk_v1::Known_Sets(std::vector<Register_List>& sets) const {
    for (int k = 0; k < 16; ++k) {
        const int step = ((k + 1) / 2) * 4;
        const int offset = (k % 2 == 1) ? -step : step;
        Register_List set;
        for (int r = 0; r < 7; ++r) set.push_back({static_cast<std::uint8_t>(offset & 0xFF), true});
        sets.push_back(set);
    }
}

void Sandisk_v2::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Unlock_And_Write(code, setup, V2_Addresses);
}

void Sandisk_v2::Before_Page(Assembler_Code& code, const Reader_Setup&) const { code.Cmd_Step(0x5D); }

// D5h writes four bytes to a register group (00h, group); groups 12h and 13h
// hold the seven thresholds, the eighth byte is unused.
void Sandisk_v3::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    std::uint8_t values[7];
    for (std::size_t i = 0; i < 7; ++i) values[i] = Value_Or_Zero(setup, i);
    code.Cmd_Step(0xD5);
    code.Addr_Step(0x00);
    code.Addr_Step(0x12);
    code.Data_Steps(values[0], values[1], values[2], values[3]);
    code.Wait_Step();
    code.Cmd_Step(0xD5);
    code.Addr_Step(0x00);
    code.Addr_Step(0x13);
    code.Data_Steps(values[4], values[5], values[6], 0x00);
    code.Wait_Step();
    code.Cmd_Step(0x5D);
    code.Wait_Step();
}

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
