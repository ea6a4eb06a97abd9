#include "reader/retry/samsung.h"

#include <gtest/gtest.h>

#include "tests/reader/retry/retry_helpers.h"

using namespace Retry_Test;

namespace {

std::string Samsung_v1_Register(const std::string& p, const std::string& q, const std::string& value) {
    return "Cmd 60; Addr 00; Addr 00; Addr 00; Cmd AA; Cmd 55; Cmd AA; Cmd 55; Cmd 01; Data " + p + "; Data " + q +
           "; Data " + value + "; Wait;";
}

}  // namespace

TEST(Samsung_v1, OneSequencePerSetRegister) {
    EXPECT_EQ(Before_Loop(L"Samsung v1", "01 -- -- -- -- -- -- -- 09 -- -- 0C"),
              Steps(Samsung_v1_Register("03", "B1", "01") + Samsung_v1_Register("00", "12", "09") +
                    Samsung_v1_Register("03", "AB", "0C")));
    EXPECT_EQ(Before_Page(L"Samsung v1", "1 2 3 4 5 6 7 8 9 A B C"), Words{});
}

TEST(Samsung_v1, AddressPairsOfAllRegisters) {
    const char* q[] = {"B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "12", "C8", "A0", "AB"};
    std::string expected;
    for (int i = 0; i < 12; ++i) expected += Samsung_v1_Register(i == 8 ? "00" : "03", q[i], "7");
    EXPECT_EQ(Before_Loop(L"Samsung v1", "7 7 7 7 7 7 7 7 7 7 7 7"), Steps(expected));
}

TEST(Samsung_v3, RegistersPerPage) {
    EXPECT_EQ(Before_Page(L"Samsung v3", "01 -- 03 04"),
              Steps("Cmd A1; Data 00; Data A7; Data 01; Wait; Cmd A1; Data 00; Data A5; Data 03; Wait;"
                    "Cmd A1; Data 00; Data A6; Data 04; Wait"));
    EXPECT_EQ(Before_Loop(L"Samsung v3", "01 02 03 04"), Words{});
}

TEST(Samsung_Known_Sets, Counts) {
    EXPECT_EQ(Known_Sets(L"Samsung v3").size(), 14u);
    const auto v1 = Known_Sets(L"Samsung v1");
    EXPECT_EQ(v1.size(), 9u);
    EXPECT_EQ(v1[1][0].value, 0xFA);
    EXPECT_EQ(v1[1][8].value, 0x00);
}
