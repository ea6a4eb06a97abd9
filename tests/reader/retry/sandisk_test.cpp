#include "reader/retry/sandisk.h"

#include <gtest/gtest.h>

#include "tests/reader/retry/retry_helpers.h"

using namespace Retry_Test;

TEST(Sandisk_v1, UnlockThenSetRegisters) {
    EXPECT_EQ(Before_Loop(L"Sandisk v1", "10 -- 12 -- -- -- 16"),
              Steps("Cmd 5C; Cmd C5; Cmd 55; Addr 00; Data 01;"
                    "Cmd 55; Addr 04; Data 10; Cmd 55; Addr 06; Data 12; Cmd 55; Addr 0A; Data 16; Wait"));
    EXPECT_EQ(Before_Page(L"Sandisk v1", "10 -- 12 -- -- -- 16"), Steps("Cmd 5D"));
}

TEST(Sandisk_v2, ThreeRegisters) {
    EXPECT_EQ(Before_Loop(L"Sandisk v2", "0A 0B 0C"),
              Steps("Cmd 5C; Cmd C5; Cmd 55; Addr 00; Data 01; Cmd 55; Addr 21; Data 0A; Cmd 55; Addr 22; Data 0B;"
                    "Cmd 55; Addr 24; Data 0C; Wait"));
    EXPECT_EQ(Before_Loop(L"Sandisk v2", "-- 0B --"),
              Steps("Cmd 5C; Cmd C5; Cmd 55; Addr 00; Data 01; Cmd 55; Addr 22; Data 0B; Wait"));
    EXPECT_EQ(Before_Page(L"Sandisk v2", "0A 0B 0C"), Steps("Cmd 5D"));
}

TEST(Sandisk_v3, TwoGroupsPerPageUnsetAsZero) {
    EXPECT_EQ(Before_Page(L"Sandisk v3", "1 2 3 4 5 6 7"),
              Steps("Cmd D5; Addr 00; Addr 12; Data 1; Data 2; Data 3; Data 4; Wait;"
                    "Cmd D5; Addr 00; Addr 13; Data 5; Data 6; Data 7; Data 00; Wait; Cmd 5D; Wait"));
    EXPECT_EQ(Before_Page(L"Sandisk v3", "-- -- -- -- -- -- --"),
              Steps("Cmd D5; Addr 00; Addr 12; Data 0; Data 0; Data 0; Data 0; Wait;"
                    "Cmd D5; Addr 00; Addr 13; Data 0; Data 0; Data 0; Data 00; Wait; Cmd 5D; Wait"));
    EXPECT_EQ(Before_Loop(L"Sandisk v3", "1 2 3 4 5 6 7"), Words{});
}

TEST(Sandisk_Known_Sets, Generator) {
    const auto sets = Known_Sets(L"Sandisk v1");
    ASSERT_EQ(sets.size(), 16u);
    EXPECT_EQ(sets[0][0].value, 0x00);
    EXPECT_EQ(sets[1][6].value, 0xFC);  // -4
    EXPECT_EQ(sets[2][3].value, 0x04);
}
