#include <gtest/gtest.h>

#include "config/nand_config.h"
#include "tests/message_of.h"

namespace {


NAND_Config With_Banks(const std::wstring& banks) {
    NAND_Config config;
    config.Banks = banks;
    return config;
}

struct Rows {
    std::int64_t start, end;
    std::uint32_t first_row, end_row;
    bool operator==(const Rows&) const = default;
};

Rows Range(const NAND_Config& config, std::int64_t start, std::int64_t end) {
    Rows rows{start, end, 0, 0};
    config.Get_Real_Page_Range(rows.start, rows.end, rows.first_row, rows.end_row);
    return rows;
}

}  // namespace

TEST(Banks_Text, CountsSizesAndSizeTexts) {
    const NAND_Config config = With_Banks(L"4 x 256 MB");
    EXPECT_EQ(config.Get_Bank_Count(), 4u);
    EXPECT_EQ(config.Get_Bank_Size_MB(), 256);
    EXPECT_EQ(config.Get_Size_Text(), L"1 GB");
    EXPECT_EQ(With_Banks(L"2 x 512 MB").Get_Size_Text(), L"1 GB");
    EXPECT_EQ(With_Banks(L"1 x 512 MB").Get_Size_Text(), L"512 MB");
    EXPECT_EQ(With_Banks(L"3 x 512 MB").Get_Size_Text(), L"1 GB");
    EXPECT_EQ(With_Banks(L"1 x 16 GB").Get_Bank_Size_MB(), 16384);
    EXPECT_EQ(With_Banks(L"1 x 16 GB").Get_Size_Text(), L"16 GB");
    EXPECT_EQ(With_Banks(L" 2x16GB ").Get_Bank_Size_MB(), 16384);
    EXPECT_EQ(With_Banks(L"4 x 256 KB").Get_Bank_Size_MB(), 256);
    EXPECT_EQ(With_Banks(L"4 x 2 gb").Get_Bank_Size_MB(), 2);
    EXPECT_EQ(With_Banks(L"8 x 1 GB x junk").Get_Bank_Size_MB(), 1024);
}

TEST(Banks_Text, Malformed) {
    const NAND_Config alone = With_Banks(L"4");
    EXPECT_EQ(alone.Get_Bank_Count(), 4u);
    EXPECT_EQ(Message_Of([&] { alone.Get_Bank_Size_MB(); }), L"Wrong Banks format");
    EXPECT_EQ(Message_Of([&] { With_Banks(L"4 x MB").Get_Bank_Size_MB(); }), L"Wrong Banks format");
    const NAND_Config upper = With_Banks(L"4 X 256 MB");
    EXPECT_EQ(Message_Of([&] { upper.Get_Bank_Size_MB(); }), L"Wrong Banks format");
    EXPECT_EQ(Message_Of([&] { upper.Get_Bank_Count(); }), L"Can't convert <4 X 256 MB> to integer");
    EXPECT_THROW(upper.Get_Bank_Count(), ZEKT_Exception_DataCorrupt);
    EXPECT_EQ(Message_Of([&] { With_Banks(L"").Get_Bank_Count(); }), L"Wrong Banks format");
    EXPECT_EQ(Message_Of([&] { With_Banks(L"4 x 1.5 GB").Get_Bank_Size_MB(); }), L"Can't convert <1.5> to integer");
}

TEST(Dump_Size, FromBanksOrFromBlocks) {
    NAND_Config config = With_Banks(L"1 x 512 MB");
    config.Page = 2112;
    EXPECT_EQ(config.Get_Bank_Dump_Size(), 553648128u);
    config.Block = 0x21000;
    config.Blocks = 0x1000;
    config.Banks = L"not parsed";
    EXPECT_EQ(config.Get_Bank_Dump_Size(), 553648128u);
    // One of the two alone does not count.
    config.Blocks = 0;
    EXPECT_EQ(Message_Of([&] { config.Get_Bank_Dump_Size(); }), L"Wrong Banks format");
    NAND_Config tiny = With_Banks(L"1 x 0 MB");
    tiny.Page = 528;
    EXPECT_EQ(tiny.Get_Bank_Dump_Size(), 528u);
}

TEST(Dump_Size, ZeroPageIsRejectedNotDividedBy) {
    NAND_Config config = With_Banks(L"1 x 512 MB");
    config.Page = 0;
    EXPECT_EQ(Message_Of([&] { config.Get_Bank_Dump_Size(); }), L"Can't divide a bank into pages of <0> bytes");
    config.Block = 0x21000;
    config.Blocks = 0x10;
    EXPECT_EQ(config.Get_Bank_Dump_Size(), 0x210000u);
    std::int64_t start = 0, end = 0x210000;
    std::uint32_t first = 0, last = 0;
    EXPECT_EQ(Message_Of([&] { config.Get_Real_Page_Range(start, end, first, last); }),
              L"Can't divide a bank into pages of <0> bytes");
    // Sizes beyond any chip are refused, not an overflow ("0x" cannot
    // appear in "Banks": the text splits at every "x").
    EXPECT_EQ(Message_Of([&] { With_Banks(L"1 x 0xFFFFFFFFFFFF GB").Get_Bank_Dump_Size(); }), L"Wrong Banks format");
    EXPECT_EQ(Message_Of([&] { With_Banks(L"1 x 1099511627776 MB").Get_Bank_Dump_Size(); }),
              L"Bank size <1099511627776 MB> is more than any chip holds");
}

TEST(Page_Units, TriplePageCommandSets) {
    NAND_Config config;
    config.Page = 100;
    for (const wchar_t* cmd : {L"WL", L"WL v2", L"HYBRIDx3", L"WLanything"}) {
        config.Cmd = cmd;
        EXPECT_TRUE(config.Is_Triple_Page()) << config.Cmd.size();
        EXPECT_EQ(Range(config, 10, 301), (Rows{0, 600, 0, 2}));
    }
    for (const wchar_t* cmd : {L"Std", L"A2", L"W", L"wl", L"HYBRIDx3 "}) {
        config.Cmd = cmd;
        EXPECT_FALSE(config.Is_Triple_Page());
        EXPECT_EQ(Range(config, 10, 301), (Rows{0, 400, 0, 4}));
    }
    EXPECT_EQ(Range(config, 250, 250), (Rows{200, 300, 2, 3}));
}

TEST(Skip_Rules, RuleOneLeavesHoles) {
    NAND_Config config;
    config.Page = 2112;
    EXPECT_EQ(config.Get_Real_Page(12345), 12345);
    config.Skip_Mask_1 = 0xFFFFF;
    config.Skip_Page_1 = 0x80000;
    EXPECT_EQ(config.Get_Real_Page(0x7FFFF), 0x7FFFF);
    EXPECT_EQ(config.Get_Real_Page(0x80000), 0x100000);
    EXPECT_EQ(config.Get_Real_Page(0x80001), 0x100001);
    EXPECT_EQ(config.Get_Real_Page(0x100000), 0x200000);
    EXPECT_EQ(Range(config, 0, std::int64_t{0x80000} * 2112), (Rows{0, std::int64_t{0x80000} * 2112, 0, 0x80000}));
    EXPECT_EQ(Range(config, 0, std::int64_t{0x80001} * 2112), (Rows{0, std::int64_t{0x80001} * 2112, 0, 0x100001}));
}

TEST(Skip_Rules, BothRulesAndBadRules) {
    NAND_Config config;
    config.Skip_Mask_1 = 0xFFFFF;
    config.Skip_Page_1 = 0x80000;
    config.Skip_Mask_2 = 0x3FFFFF;
    const std::wstring bad = L"Cant calc real page from config skips";
    config.Skip_Page_2 = 0x180000;
    EXPECT_EQ(Message_Of([&] { config.Get_Real_Page(1); }), bad);
    config.Skip_Page_2 = 0x80000;
    EXPECT_EQ(Message_Of([&] { config.Get_Real_Page(1); }), bad);
    config.Skip_Page_2 = 0x200000;
    EXPECT_EQ(config.Get_Real_Page(1), 1);
    // Page 0x100000 is 0x200000 after rule 1, and rule 2 moves it to 0x400000.
    EXPECT_EQ(config.Get_Real_Page(0x100000), 0x400000);

    NAND_Config zero;
    zero.Skip_Page_2 = 0;  // even a rule that is otherwise off
    EXPECT_EQ(Message_Of([&] { zero.Get_Real_Page(1); }), bad);
    NAND_Config wrapping;
    wrapping.Skip_Mask_1 = 0xFFFFFFFF;
    wrapping.Skip_Page_1 = 0x80000;
    EXPECT_EQ(Message_Of([&] { wrapping.Get_Real_Page(1); }), bad);
    wrapping.Skip_Page_1 = 0xFFFFFFFF;  // off: its mask does not matter
    EXPECT_EQ(wrapping.Get_Real_Page(7), 7);
}

TEST(Chip_Enable, LinesAndGroups) {
    for (std::uint32_t bank = 1; bank <= 8; ++bank) EXPECT_EQ(Get_Bank_Enable(bank), 1u << (bank - 1));
    EXPECT_EQ(Message_Of([] { Get_Bank_Enable(0); }), L"Get_Bank_Enable::Wrong bank number");
    EXPECT_EQ(Message_Of([] { Get_Bank_Enable(9); }), L"Get_Bank_Enable::Wrong bank number");

    NAND_Config config;
    EXPECT_EQ(Get_Bank_Enable(3, config), 4u);
    EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(9, config); }), L"Get_Bank_Enable::Wrong bank number");
    config.Join_CE = L"1-2/3-4";
    EXPECT_EQ(Get_Bank_Enable(1, config), 3u);
    EXPECT_EQ(Get_Bank_Enable(2, config), 12u);
    // A bank without a line is an error, not a read of nothing.
    EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(3, config); }), L"Bank <3> has no chip-enable line in Join CE <1-2/3-4>");
    EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(0, config); }), L"Get_Bank_Enable::Wrong bank number");
    config.Join_CE = L" 1 - 3 - 5 / 8 ";
    EXPECT_EQ(Get_Bank_Enable(1, config), 21u);
    EXPECT_EQ(Get_Bank_Enable(2, config), 128u);
    config.Join_CE = L"1-9";
    for (std::uint32_t bank : {1u, 2u, 5u})
        EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(bank, config); }), L"Get_Bank_Enable::Wrong bank number");
    config.Join_CE = L"1-2/x";
    EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(1, config); }), L"Can't convert <x> to integer");
    config.Join_CE = L"1--2";
    EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(1, config); }), L"Can't convert <> to integer");
    // An empty group selects no line at all, which is an error for its bank.
    config.Join_CE = L"1-2//3";
    EXPECT_EQ(Message_Of([&] { Get_Bank_Enable(2, config); }), L"Bank <2> has no chip-enable line in Join CE <1-2//3>");
    EXPECT_EQ(Get_Bank_Enable(3, config), 4u);
}
