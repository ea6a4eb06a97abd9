#include "reader/setup.h"

#include <gtest/gtest.h>

using Korvane_Internal::Reader_Setup;
using Korvane_Internal::Setup_Block;

TEST(Setup_Block, FreshRecord) {
    Reader_Setup setup;
    EXPECT_FALSE(setup.setup_block.has_value());
    const Setup_Block expected = {0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                                  0,    0,    0,    0x35, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(setup.Make_Setup_Block(), expected);
    EXPECT_EQ(setup.setup_block, expected);
}

TEST(Setup_Block, FieldsAreLittleEndianAtTheirOffsets) {
    Reader_Setup setup;
    setup.first_row = 0x01020304;
    setup.end_row = 0xA0B0C0D0;
    setup.transfer_count = 0x12345678;  // only the low 16 bits go out
    setup.chip_enable = 0x1FE;          // only the low byte
    setup.skip_mask_1 = 0x11223344;
    setup.skip_page_1 = 0x55667788;
    setup.skip_mask_2 = 0x99AABBCC;
    setup.skip_page_2 = 0x0000FFEE;
    const Setup_Block expected = {0x04, 0x03, 0x02, 0x01, 0xD0, 0xC0, 0xB0, 0xA0, 0x78, 0x56, 0x00,
                                  0xFE, 0x00, 0x00, 0x35, 0x77, 0x44, 0x33, 0x22, 0x11, 0x88, 0x77,
                                  0x66, 0x55, 0xCC, 0xBB, 0xAA, 0x99, 0xEE, 0xFF, 0x00, 0x00};
    EXPECT_EQ(setup.Make_Setup_Block(), expected);
}

TEST(Setup_Block, Flags) {
    struct Case {
        bool Reader_Setup::*flag;
        std::uint8_t bit;
    };
    const Case cases[] = {{&Reader_Setup::wide_bus, 0x02},    {&Reader_Setup::id_mode, 0x04},
                          {&Reader_Setup::ignore_busy, 0x08}, {&Reader_Setup::special_read, 0x10},
                          {&Reader_Setup::ddr, 0x40},         {&Reader_Setup::bus_16_8, 0x80}};
    Reader_Setup all;
    for (const Case& c : cases) {
        Reader_Setup one;
        one.*c.flag = true;
        EXPECT_EQ(one.Make_Setup_Block()[10], c.bit);
        all.*c.flag = true;
    }
    EXPECT_EQ(all.Make_Setup_Block()[10], 0xDE);  // never 0x01 or 0x20
}

TEST(Setup_Block, TimingByte) {
    Reader_Setup setup;
    EXPECT_EQ(setup.Make_Setup_Block()[15], 0x77);
    setup.timing_high = 0x77;  // what "Slow" stores
    setup.timing_low = 0x77;
    EXPECT_EQ(setup.Make_Setup_Block()[15], 0xE7);
    setup.timing_high = 5;
    setup.timing_low = 3;
    EXPECT_EQ(setup.Make_Setup_Block()[15], 0x53);
}

TEST(Setup_Block, ResetRestoresDefaults) {
    Reader_Setup setup;
    setup.timing_low = 1;
    setup.skip_page_2 = 0;
    setup.retry_name = L"Micron";
    setup.retry_parameters.push_back({5, true});
    setup.Make_Setup_Block();
    setup.Reset();
    EXPECT_EQ(setup.timing_low, 7);
    EXPECT_EQ(setup.skip_page_2, 0xFFFFFFFFu);
    EXPECT_TRUE(setup.retry_name.empty());
    EXPECT_TRUE(setup.retry_parameters.empty());
    EXPECT_FALSE(setup.setup_block.has_value());
}
