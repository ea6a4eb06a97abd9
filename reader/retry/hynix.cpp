#include "reader/retry/hynix.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

namespace {

enum class Hook { Before_Loop, Before_Page };

// One family: where its sequence goes, the register addresses in parameter
// order, and whether the registers sit behind the register window.
struct Hynix_Recipe {
    Hook hook;
    std::vector<std::uint8_t> addresses;
    bool window;
};

const Hynix_Recipe V1{Hook::Before_Page, {0xAC, 0xAD, 0xAE, 0xAF}, false};
const Hynix_Recipe V2{Hook::Before_Page, {0x28, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x29}, false};
const Hynix_Recipe V3{Hook::Before_Loop, {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7}, true};
const Hynix_Recipe V4{Hook::Before_Loop, {0xBF, 0xAA, 0xAB, 0xAD, 0xAE, 0xAF}, false};
const Hynix_Recipe V5{Hook::Before_Page, {0x03, 0x04, 0x05, 0x06, 0x07}, false};
const Hynix_Recipe V6{Hook::Before_Loop,
                      {0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F},
                      true};
// 38h is not a retry register on these chips.
const Hynix_Recipe V7{Hook::Before_Loop,
                      {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F},
                      false};

// 36h opens parameter setting, 16h applies it. Once-per-program sequences
// wait for the chip afterwards; per-page ones are followed by the read itself.
void Append(const Hynix_Recipe& recipe, const std::vector<std::uint8_t>& addresses, Hook at, Assembler_Code& code,
            const Reader_Setup& setup) {
    if (recipe.hook != at) return;
    code.Cmd_Step(0x36);
    if (recipe.window) {
        code.Addr_Step(0x96);
        code.Data_Step(0x04);
        code.Addr_Step(0x7D);
        code.Data_Step(0x01);
    }
    Set_Register_Pairs(code, setup, addresses);
    if (recipe.window) {
        code.Addr_Step(0x7D);
        code.Data_Step(0x00);
        code.Addr_Step(0x96);
        code.Data_Step(0x00);
    }
    code.Cmd_Step(0x16);
    if (at == Hook::Before_Loop) code.Wait_Step();
}

// These chips keep their factory retry tables in their own OTP area, so no
// single table fits every chip. The built-in sets are our sweep instead: set
// 0 is the default threshold, each further set lowers every register by a
// step that grows with the register's position (higher levels drift more).
std::vector<Register_List> Threshold_Sweep(std::size_t set_count, std::size_t register_count) {
    std::vector<Register_List> sets;
    for (std::size_t k = 0; k < set_count; ++k) {
        Register_List set;
        for (std::size_t r = 0; r < register_count; ++r)
            set.push_back({static_cast<std::uint8_t>(0x100 - (k * (2 + r)) % 0x100), true});
        sets.push_back(set);
    }
    return sets;
}

void Append_Sets(std::vector<Register_List>& sets, const std::vector<Register_List>& more) {
    sets.insert(sets.end(), more.begin(), more.end());
}

}  // namespace

std::uint32_t Hynix_v1::Parameter_Count() const { return static_cast<std::uint32_t>(V1.addresses.size()); }
void Hynix_v1::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V1, V1.addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v1::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V1, V1.addresses, Hook::Before_Page, code, setup);
}
void Hynix_v1::Known_Sets(std::vector<Register_List>& sets) const { Append_Sets(sets, Threshold_Sweep(14, 4)); }

std::uint32_t Hynix_v2::Parameter_Count() const { return static_cast<std::uint32_t>(V2.addresses.size()); }
void Hynix_v2::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V2, V2.addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v2::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V2, V2.addresses, Hook::Before_Page, code, setup);
}
void Hynix_v2::Known_Sets(std::vector<Register_List>& sets) const { Append_Sets(sets, Threshold_Sweep(27, 9)); }

Hynix_v3::Hynix_v3() : addresses(V3.addresses) {}
std::uint32_t Hynix_v3::Parameter_Count() const { return static_cast<std::uint32_t>(addresses.size()); }
void Hynix_v3::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V3, addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v3::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V3, addresses, Hook::Before_Page, code, setup);
}

std::uint32_t Hynix_v4::Parameter_Count() const { return static_cast<std::uint32_t>(V4.addresses.size()); }
void Hynix_v4::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V4, V4.addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v4::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V4, V4.addresses, Hook::Before_Page, code, setup);
}

std::uint32_t Hynix_v5::Parameter_Count() const { return static_cast<std::uint32_t>(V5.addresses.size()); }
void Hynix_v5::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V5, V5.addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v5::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V5, V5.addresses, Hook::Before_Page, code, setup);
}

std::uint32_t Hynix_v6::Parameter_Count() const { return static_cast<std::uint32_t>(V6.addresses.size()); }
void Hynix_v6::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V6, V6.addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v6::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V6, V6.addresses, Hook::Before_Page, code, setup);
}

Hynix_v7::Hynix_v7() : addresses(V7.addresses) {}
std::uint32_t Hynix_v7::Parameter_Count() const { return static_cast<std::uint32_t>(addresses.size()); }
void Hynix_v7::Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V7, addresses, Hook::Before_Loop, code, setup);
}
void Hynix_v7::Before_Page(Assembler_Code& code, const Reader_Setup& setup) const {
    Append(V7, addresses, Hook::Before_Page, code, setup);
}

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
