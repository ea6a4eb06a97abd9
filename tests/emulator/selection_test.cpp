#include "emulator/selection.h"

#include <gtest/gtest.h>

#include "framework/properties.h"
#include "tests/temp_folder.h"

using namespace Korvane_Emulator;

TEST(Emulator_Selection, ProfileFilesAndUnknownProfiles) {
    Temp_Folder folder;
    Write_Text_File(folder.Name(L"chip.txt"), L"Name  From File\r\nSim Data  erased");
    const Sim_Profile profile = Resolve_Profile(folder.Name(L"chip.txt"));
    EXPECT_EQ(profile.config.Name, L"From File");
    EXPECT_EQ(profile.sim.source.kind, Page_Source::Kind::Erased);

    auto message_of = [](const std::wstring& wanted) -> std::wstring {
        try {
            Resolve_Profile(wanted);
        } catch (const ZEKT_Exception& e) {
            return e.message;
        }
        return L"(no failure)";
    };
    EXPECT_EQ(message_of(L"No Such Chip"), L"Unknown emulator profile <No Such Chip>");
    EXPECT_EQ(message_of(folder.path.wstring()), L"Unknown emulator profile <" + folder.path.wstring() + L">");
    Write_Text_File(folder.Name(L"bad.txt"), L"Sim Data  sometimes");
    EXPECT_EQ(message_of(folder.Name(L"bad.txt")),
              L"Emulator profile <" + folder.Name(L"bad.txt") + L">: Wrong emulator key <Sim Data> value <sometimes>");
}

// Run a second time by ctest with KORVANE_SIMULATOR naming the demo profile.
TEST(Emulator_Environment, VariableSelectsTheProfile) {
    if (Simulator_Variable().empty()) GTEST_SKIP() << "KORVANE_SIMULATOR is not set in this run";
    const auto reader = Select_From_Environment();
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->Profile().config.Name, L"Demo WL 2 x 4 MB");
    EXPECT_EQ(reader->Profile().config.Cmd, L"WL");
    EXPECT_EQ(reader->Profile().config.Get_Bank_Count(), 2u);
    {
        Korvane_Internal::ZEKT_Reader2 link;
        EXPECT_TRUE(reader->Link_Open());
    }
    Select_Virtual_Reader(nullptr);
}

TEST(Emulator_Selection, CatalogueChipsByNameOrNameAndId) {
    const Sim_Profile by_name = Resolve_Profile(L"F4GMSAP");
    EXPECT_EQ(by_name.config.ID_Code, L"2c dc 90 95");
    EXPECT_EQ(by_name.config.Page, 2112u);
    const Sim_Profile by_id = Resolve_Profile(L"Unknown@98 de 98 92");
    EXPECT_EQ(by_id.config.Name, L"Unknown");
    EXPECT_EQ(by_id.config.Cmd, L"WL");
    EXPECT_EQ(by_id.config.Block, 0x244800u);
    EXPECT_THROW(Resolve_Profile(L"Unknown@45 de 98 99"), ZEKT_Exception);
    // Several different chips under one name: none is taken for them.
    EXPECT_THROW(Resolve_Profile(L"Unknown@45 de 98 92"), ZEKT_Exception);
}
