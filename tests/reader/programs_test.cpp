#include "reader/programs.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "tests/reader/program_text.h"

using namespace Korvane_Internal;
using namespace Korvane_Internal::NAND_Assembler;

namespace {

Words Build(const Reader_Setup& setup) {
    Assembler_Code code;
    Build_Page_Program(code, setup);
    return code.Words();
}

// Reset, retry setup, "After Reset" script; then the loop whose body
// starts at word `body_start`, is `body.size()` words long, and jumps back
// to the loop head at word `head`.
Words Page_Program(const Words& before_loop, const Words& body) {
    const auto head = static_cast<std::uint16_t>(6 + before_loop.size());
    const auto tail = static_cast<std::uint16_t>(head + 6 + body.size());
    return Steps("Wait; Cmd FF; Wait") + before_loop + Words{0x3001, 0x3002, 0x3003, 0x3004, 0x3005, tail} + body +
           Words{0x3000, head} + Steps("Read 1; End");
}

// A setup with two column and three row cycles, Hynix v1 per page and
// scripts on both sides of the loop.
Reader_Setup Busy_Setup(const wchar_t* command_set) {
    Reader_Setup setup;
    setup.command_set = command_set;
    setup.column_cycles = 2;
    setup.row_cycles = 3;
    setup.retry_name = L"Hynix v1";
    setup.retry_parameters = {{0x00, true}, {0, false}, {0x0A, true}, {0x11, true}};
    setup.after_reset = L"Cmd 0xDA";
    setup.before_read = L"Cmd 0xA2\r\nWait";
    return setup;
}

const Words Address = Steps("Addr 00; Addr 00; Row 0; Row 1; Row 2");
const Words Prefix = Steps("Cmd 36; Addr AC; Data 00; Addr AE; Data 0A; Addr AF; Data 11; Cmd 16") +
                     Steps("Cmd A2; Wait");
const Words Column_Change = Steps("Cmd 05") + Address + Steps("Cmd E0; Wait; Read");

}  // namespace

TEST(Read_Programs, StdExampleWordForWord) {
    Reader_Setup setup;
    setup.command_set = L"Std";
    setup.column_cycles = 2;
    setup.row_cycles = 3;
    Assembler_Code code;
    Build_Page_Program(code, setup);
    EXPECT_EQ(code.Words(), Hex_Words("2100 8000 11FF 8000 2100 8000 "
                                      "3001 3002 3003 3004 3005 0020 "
                                      "1100 8000 1000 8000 1000 8000 1300 8000 1301 8000 1302 8000 "
                                      "1130 8000 2100 8000 2000 8000 2100 8000 "
                                      "3000 0006 "
                                      "2001 8000 2200 8000"));
    const auto wire = code.Wire_Bytes();
    for (std::size_t i = 38 * 2; i < wire.size(); ++i) ASSERT_EQ(wire[i], 0) << i;
    EXPECT_TRUE(code.loop_starts.empty());
    EXPECT_TRUE(code.forward_refs.empty());
}

TEST(Read_Programs, IdAndParameterPage) {
    Assembler_Code id;
    Build_Id_Program(id);
    EXPECT_EQ(id.Words(), Hex_Words("2100 8000 11FF 8000 2100 8000 1190 8000 1000 8000 2000 8000 2001 8000 2200 8000"));
    Assembler_Code parameter_page;
    Build_Parameter_Page_Program(parameter_page);
    EXPECT_EQ(parameter_page.Words(),
              Hex_Words("11FF 8000 2100 8000 11EC 8000 1000 8000 2100 8000 2000 8000 2001 8000 2200 8000"));
}

TEST(Read_Programs, BuildProgramFollowsIdMode) {
    Reader_Setup setup;
    setup.command_set = L"Std";
    setup.id_mode = true;
    Assembler_Code id, built;
    Build_Id_Program(id);
    Build_Program(built, setup);
    EXPECT_EQ(built.Words(), id.Words());
    setup.id_mode = false;
    Assembler_Code page;
    Build_Program(page, setup);
    EXPECT_EQ(page.Words(), Build(setup));
}

TEST(Read_Programs, StdWithRetryAndScripts) {
    const Words body = Prefix + Steps("Cmd 00") + Address + Steps("Cmd 30; Wait; Read; Wait");
    EXPECT_EQ(Build(Busy_Setup(L"Std")), Page_Program(Steps("Cmd DA"), body));
}

TEST(Read_Programs, WL) {
    Words body;
    for (const char* page : {"01", "02", "03"})
        body = body + Prefix + Steps(std::string("Cmd ") + page + "; Cmd 00") + Address + Steps("Cmd 30; Wait") +
               Column_Change;
    EXPECT_EQ(Build(Busy_Setup(L"WL")), Page_Program(Steps("Cmd DA"), body));
}

TEST(Read_Programs, WLv2) {
    const Words load = Prefix + Steps("Cmd 00") + Address + Steps("Cmd 30; Wait") + Column_Change;
    const Words next = Steps("Cmd 3F; Wait") + Column_Change;
    EXPECT_EQ(Build(Busy_Setup(L"WL v2")), Page_Program(Steps("Cmd DA"), load + next + next));
}

TEST(Read_Programs, A2) {
    const Words body = Prefix + Steps("Cmd A2; Cmd 00") + Address + Steps("Cmd 30; Wait") + Column_Change;
    EXPECT_EQ(Build(Busy_Setup(L"A2")), Page_Program(Steps("Cmd DA"), body));
}

TEST(Read_Programs, HYBRIDx3) {
    Words body;
    for (const char* page : {"0D", "0E", "0F"})
        body = body + Prefix +
               Steps("Cmd EF; Addr D2; Data 00; Data 00; Data 00; Data 00; Wait") +
               Steps(std::string("Cmd EF; Addr D6; Data ") + page + "; Data 00; Data 00; Data 00; Wait") +
               Steps("Cmd 43; Cmd 00") + Address + Steps("Cmd 30; Wait; Cmd 46") + Column_Change;
    EXPECT_EQ(Build(Busy_Setup(L"HYBRIDx3")), Page_Program(Steps("Cmd DA"), body));
}

TEST(Read_Programs, SpecialBodyHasNoPagePrefix) {
    Reader_Setup setup = Busy_Setup(L"Std");
    setup.special_read = true;
    const Words once = Steps("Cmd 5C; Cmd C5; Cmd 55; Addr 00; Data 01; Cmd 69; Wait") + Column_Change;
    EXPECT_EQ(Build(setup), Page_Program(Steps("Cmd DA"), Repeat(once, 3)));
    // Whatever the command set, even an unknown one.
    setup.command_set = L"nonsense";
    EXPECT_EQ(Build(setup), Page_Program(Steps("Cmd DA"), Repeat(once, 3)));
}

TEST(Read_Programs, RetryBeforeTheLoopComesBeforeTheAfterResetScript) {
    Reader_Setup setup;
    setup.command_set = L"Std";
    setup.retry_name = L"Micron";
    setup.retry_parameters = {{0x03, true}};
    setup.after_reset = L"Cmd 0xDA";
    setup.before_read = L"Wait";
    const Words before_loop = Steps("Cmd EF; Addr 89; Data 03; Data 00; Data 00; Data 00; Wait; Cmd DA");
    const Words body = Steps("Wait; Cmd 00; Cmd 30; Wait; Read; Wait");
    EXPECT_EQ(Build(setup), Page_Program(before_loop, body));
}

TEST(Read_Programs, NoAddressCycles) {
    Reader_Setup setup;
    setup.command_set = L"A2";
    EXPECT_EQ(Build(setup), Page_Program({}, Steps("Cmd A2; Cmd 00; Cmd 30; Wait; Cmd 05; Cmd E0; Wait; Read")));
}

TEST(Read_Programs, CommandSetNames) {
    Reader_Setup setup;
    for (const wchar_t* name : {L"std", L"WLv2", L"Custom", L"", L"Std "}) {
        setup.command_set = name;
        EXPECT_EQ(Message_Of([&] { Build(setup); }), L"Unknown Cmd");
    }
    Command_Set set{};
    EXPECT_TRUE(Find_Command_Set(L"WL v2", set));
    EXPECT_EQ(set, Command_Set::WL_v2);
    EXPECT_STREQ(Command_Set_Name(Command_Set::HYBRIDx3), L"HYBRIDx3");
}

TEST(Read_Programs, FailuresFromTheParts) {
    Reader_Setup setup;
    setup.command_set = L"Std";
    setup.retry_name = L"Hynix v9";
    EXPECT_EQ(Message_Of([&] { Build(setup); }), L"Unknown Retry type");
    setup.retry_name.clear();
    setup.before_read = L"Pause";
    EXPECT_EQ(Message_Of([&] { Build(setup); }), L"Unknown command <Pause>");
    // A "Before Read" script too long for the buffer, three times per pass.
    setup.command_set = L"WL";
    setup.before_read = L"Data";
    for (int i = 0; i < 200; ++i) setup.before_read += L" 0";
    EXPECT_EQ(Message_Of([&] { Build(setup); }), L"Too big assembler code");
}
