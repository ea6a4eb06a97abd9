#include "reader/retry/hynix.h"

#include <gtest/gtest.h>

#include "tests/reader/retry/retry_helpers.h"

using namespace Retry_Test;

namespace {

const char* Open_Window = "Addr 96; Data 04; Addr 7D; Data 01;";
const char* Close_Window = "Addr 7D; Data 00; Addr 96; Data 00;";

}  // namespace

TEST(Hynix_v1, SkipsUnsetRegistersBeforeEveryPage) {
    EXPECT_EQ(Before_Page(L"Hynix v1", "00 -- 0A --"), Steps("Cmd 36; Addr AC; Data 00; Addr AE; Data 0A; Cmd 16"));
    EXPECT_EQ(Before_Page(L"Hynix v1", "01 02 03 04"),
              Steps("Cmd 36; Addr AC; Data 01; Addr AD; Data 02; Addr AE; Data 03; Addr AF; Data 04; Cmd 16"));
    EXPECT_EQ(Before_Loop(L"Hynix v1", "01 02 03 04"), Words{});
    EXPECT_EQ(Before_Page(L"Hynix v1", "-- -- -- --"), Steps("Cmd 36; Cmd 16"));
}

TEST(Hynix_v2, NineRegisters) {
    EXPECT_EQ(Before_Page(L"Hynix v2", "1 2 3 4 5 6 7 8 9"),
              Steps("Cmd 36; Addr 28; Data 1; Addr 39; Data 2; Addr 3A; Data 3; Addr 3B; Data 4; Addr 3C; Data 5;"
                    "Addr 3D; Data 6; Addr 3E; Data 7; Addr 3F; Data 8; Addr 29; Data 9; Cmd 16"));
    EXPECT_EQ(Before_Loop(L"Hynix v2", "1 2 3 4 5 6 7 8 9"), Words{});
}

TEST(Hynix_v3, RegisterWindowOncePerProgram) {
    const Words all = Before_Loop(L"Hynix v3", "10 11 12 13 14 15 16 17");
    EXPECT_EQ(all, Steps(std::string("Cmd 36;") + Open_Window +
                         "Addr B0; Data 10; Addr B1; Data 11; Addr B2; Data 12; Addr B3; Data 13;"
                         "Addr B4; Data 14; Addr B5; Data 15; Addr B6; Data 16; Addr B7; Data 17;" +
                         Close_Window + "Cmd 16; Wait"));
    EXPECT_EQ(all.size(), 54u);
    EXPECT_EQ(Before_Loop(L"Hynix v3", "-- 11 -- -- -- -- -- --"),
              Steps(std::string("Cmd 36;") + Open_Window + "Addr B1; Data 11;" + Close_Window + "Cmd 16; Wait"));
    EXPECT_EQ(Before_Page(L"Hynix v3", "10 11 12 13 14 15 16 17"), Words{});
}

TEST(Hynix_v4, SixRegistersAndAWait) {
    EXPECT_EQ(Before_Loop(L"Hynix v4", "1 2 3 -- 5 6"),
              Steps("Cmd 36; Addr BF; Data 1; Addr AA; Data 2; Addr AB; Data 3; Addr AE; Data 5; Addr AF; Data 6;"
                    "Cmd 16; Wait"));
    EXPECT_EQ(Before_Page(L"Hynix v4", "1 2 3 4 5 6"), Words{});
}

TEST(Hynix_v5, FiveRegistersPerPage) {
    EXPECT_EQ(Before_Page(L"Hynix v5", "A -- C D E"),
              Steps("Cmd 36; Addr 03; Data A; Addr 05; Data C; Addr 06; Data D; Addr 07; Data E; Cmd 16"));
    EXPECT_EQ(Before_Loop(L"Hynix v5", "A B C D E"), Words{});
}

TEST(Hynix_v6, FourteenRegistersInTheWindow) {
    EXPECT_EQ(Before_Loop(L"Hynix v6", "1 2 3 4 5 6 7 8 9 A B C D E"),
              Steps(std::string("Cmd 36;") + Open_Window +
                    "Addr 0F; Data 1; Addr 10; Data 2; Addr 11; Data 3; Addr 12; Data 4; Addr 13; Data 5;"
                    "Addr 14; Data 6; Addr 15; Data 7; Addr 29; Data 8; Addr 2A; Data 9; Addr 2B; Data A;"
                    "Addr 2C; Data B; Addr 2D; Data C; Addr 2E; Data D; Addr 2F; Data E;" +
                    Close_Window + "Cmd 16; Wait"));
}

TEST(Hynix_v7, FourteenRegistersNever38) {
    const Words words = Before_Loop(L"Hynix v7", "1 2 3 4 5 6 7 8 9 A B C D E");
    EXPECT_EQ(words, Steps("Cmd 36; Addr 31; Data 1; Addr 32; Data 2; Addr 33; Data 3; Addr 34; Data 4;"
                           "Addr 35; Data 5; Addr 36; Data 6; Addr 37; Data 7; Addr 39; Data 8; Addr 3A; Data 9;"
                           "Addr 3B; Data A; Addr 3C; Data B; Addr 3D; Data C; Addr 3E; Data D; Addr 3F; Data E;"
                           "Cmd 16; Wait"));
    EXPECT_EQ(std::count(words.begin(), words.end(), 0x1038), 0);
    EXPECT_EQ(Before_Page(L"Hynix v7", "1 2 3 4 5 6 7 8 9 A B C D E"), Words{});
}

TEST(Hynix_Known_Sets, Counts) {
    const auto v1 = Known_Sets(L"Hynix v1");
    EXPECT_EQ(v1.size(), 14u);
    const auto v2 = Known_Sets(L"Hynix v2");
    EXPECT_EQ(v2.size(), 27u);
    // The first set is the default threshold; no two sets are the same.
    for (const auto& reg : v1[0]) EXPECT_EQ(reg.value, 0);
    for (std::size_t i = 1; i < v2.size(); ++i) EXPECT_NE(v2[i][0].value, v2[i - 1][0].value);
}
