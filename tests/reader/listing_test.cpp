#include "reader/listing.h"

#include <gtest/gtest.h>

#include "reader/programs.h"

using namespace Korvane_Internal;
using namespace Korvane_Internal::NAND_Assembler;

TEST(Program_Listing, StdProgramOneLinePerStep) {
    Reader_Setup setup;
    setup.command_set = L"Std";
    setup.column_cycles = 2;
    setup.row_cycles = 3;
    Assembler_Code code;
    Build_Page_Program(code, setup);
    const std::vector<std::wstring> expected = {
        L"0000  Wait",       L"0002  Cmd FF",          L"0004  Wait",       L"0006  Loop 1",
        L"0007  Loop 2",     L"0008  Loop 3",          L"0009  Loop 4",     L"0010  Loop head -> 32",
        L"0012  Cmd 00",     L"0014  Addr 00",         L"0016  Addr 00",    L"0018  Row_Addr 0",
        L"0020  Row_Addr 1", L"0022  Row_Addr 2",      L"0024  Cmd 30",     L"0026  Wait",
        L"0028  Read",       L"0030  Wait",            L"0032  Loop tail -> 6", L"0034  Read 1",
        L"0036  End",
    };
    EXPECT_EQ(Program_Listing(code.Words()), expected);
}

TEST(Program_Listing, UnknownWordsAndMissingStepEnds) {
    EXPECT_EQ(Program_Listing({0x4412, 0x1190, 0x1000, 0x8000, 0x2200, 0x8000, 0x1111}),
              (std::vector<std::wstring>{L"0000  Word 0x4412", L"0001  Cmd 90", L"0002  Addr 00", L"0004  End"}));
    EXPECT_TRUE(Program_Listing({}).empty());
}
