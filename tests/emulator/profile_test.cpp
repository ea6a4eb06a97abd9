#include "emulator/profile.h"

#include <gtest/gtest.h>

#include "framework/values.h"

using namespace Korvane_Emulator;

namespace {

std::wstring Message_Of(const std::wstring& text) {
    try {
        Parse_Profile(text, L"t");
    } catch (const ZEKT_Exception& e) {
        return e.message;
    }
    return L"(no failure)";
}

}  // namespace

TEST(Emulator_Profile, ConfigurationKeysAreOptionalAndSimKeysParsed) {
    const Sim_Profile profile = Parse_Profile(
        L"Name  X\r\nPage  0x840\r\nID code  2c dc 90 95\r\nSim Data  file /tmp/image.bin\r\nSim ONFI  false\r\n"
        L"Sim Unplug After  0x1000\r\nSim Dead CE  2-4\r\nSim Retry Clean  ac=00 189=0f\r\nSim Adapter  false\r\n"
        L"Sim Voltage Offset  -7\r\nSim Module  false\r\nSim Self-Test  corrupt\r\nSim ONFI Damage  1-3\r\n"
        L"Sim Flaky Pages  250\r\nSim Weak Line  0-15\r\nSim Retry Pages  40 189=05 1.75V",
        L"file");
    EXPECT_EQ(profile.config.Name, L"X");
    EXPECT_EQ(profile.config.Page, 2112u);
    EXPECT_EQ(profile.config.ID_Code, L"2c dc 90 95");
    EXPECT_EQ(profile.config.Banks, L"4 x 256 MB");  // not given: the default
    EXPECT_EQ(profile.sim.source.kind, Page_Source::Kind::File);
    EXPECT_EQ(profile.sim.source.file, L"/tmp/image.bin");
    EXPECT_FALSE(profile.sim.onfi);
    EXPECT_EQ(profile.sim.unplug_after, 0x1000u);
    EXPECT_EQ(profile.sim.dead_lines, (std::array<bool, 8>{false, true, false, true}));
    EXPECT_EQ(profile.sim.clean_registers,
              (std::vector<std::pair<std::uint32_t, std::uint8_t>>{{0xAC, 0x00}, {0x189, 0x0F}}));
    EXPECT_FALSE(profile.sim.adapter);
    EXPECT_EQ(profile.sim.voltage_offset, -7);
    EXPECT_FALSE(profile.sim.module);
    EXPECT_TRUE(profile.sim.self_test_corrupt);
    EXPECT_EQ(profile.sim.onfi_damage, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(profile.sim.flaky_per_million, 250u);
    EXPECT_EQ(profile.sim.retry_pages_per_million, 40u);
    EXPECT_EQ(profile.sim.retry_page_registers, (std::vector<std::pair<std::uint32_t, std::uint8_t>>{{0x189, 0x05}}));
    EXPECT_EQ(profile.sim.retry_page_voltage, 175u);
    EXPECT_TRUE(profile.sim.weak_lines[0] && profile.sim.weak_lines[15] && !profile.sim.weak_lines[3]);

    const Sim_Profile plain = Parse_Profile(L"", L"empty");
    EXPECT_EQ(plain.sim.source.kind, Page_Source::Kind::Seeded);
    EXPECT_EQ(plain.sim.source.seed, 1u);
    EXPECT_TRUE(plain.sim.onfi);
}

TEST(Emulator_Profile, BadKeysAreNamed) {
    EXPECT_EQ(Message_Of(L"Sim Colour  red"), L"Unknown emulator key <Sim Colour>");
    EXPECT_EQ(Message_Of(L"Sim Data  random"), L"Wrong emulator key <Sim Data> value <random>");
    EXPECT_EQ(Message_Of(L"Sim ONFI  yes"), L"Wrong emulator key <Sim ONFI> value <yes>");
    EXPECT_EQ(Message_Of(L"Sim Dead CE  9"), L"Wrong emulator key <Sim Dead CE> value <9>");
    EXPECT_EQ(Message_Of(L"Sim Retry Clean  ac"), L"Wrong emulator key <Sim Retry Clean> value <ac>");
    EXPECT_EQ(Message_Of(L"Sim Retry Clean  ac=100"), L"Wrong emulator key <Sim Retry Clean> value <ac=100>");
    EXPECT_EQ(Message_Of(L"Sim Retry Pages  ac=05"), L"Wrong emulator key <Sim Retry Pages> value <ac=05>");
    EXPECT_EQ(Message_Of(L"Sim Retry Pages  5 189"), L"Wrong emulator key <Sim Retry Pages> value <5 189>");
    EXPECT_EQ(Message_Of(L"Sim Retry Pages  5 1.855V"), L"Wrong emulator key <Sim Retry Pages> value <5 1.855V>");
    EXPECT_EQ(Message_Of(L"Sim ONFI Damage  4"), L"Wrong emulator key <Sim ONFI Damage> value <4>");
    EXPECT_EQ(Message_Of(L"Sim Flaky Pages  1000001"), L"Wrong emulator key <Sim Flaky Pages> value <1000001>");
    EXPECT_EQ(Message_Of(L"Sim Weak Line  16"), L"Wrong emulator key <Sim Weak Line> value <16>");
    EXPECT_EQ(Message_Of(L"Page  many"), L"Can't convert <many> to integer");
}

TEST(Emulator_Profile, ChipModelFromTheConfiguration) {
    Sim_Profile profile = Parse_Profile(L"ID code  98 * de\r\nPage  18336\r\nCmd  WL v2\r\nCol  2\r\nRow  3", L"t");
    const Chip_Model model = Make_Chip_Model(profile);
    EXPECT_EQ(model.id, (std::vector<std::uint8_t>{0x98, 0x00, 0xDE}));
    EXPECT_EQ(model.pages_per_row, 3u);
    EXPECT_EQ(model.onfi_copies[80] | model.onfi_copies[81] << 8, 16384);
    EXPECT_EQ(model.onfi_copies[84] | model.onfi_copies[85] << 8, 1952);
    EXPECT_EQ(model.onfi_copies[101], 0x23);
    profile.config.Set_ID_Code(L"98 zz");
    EXPECT_THROW(Make_Chip_Model(profile), ZEKT_Exception);
}
