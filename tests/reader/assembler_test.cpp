#include "reader/assembler.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "tests/reader/program_text.h"

using namespace Korvane_Internal::NAND_Assembler;

TEST(Assembler, HoldsExactly1024Words) {
    Assembler_Code code;
    for (int i = 0; i < 1024; ++i) code.Emit(0x11, static_cast<std::uint8_t>(i));
    EXPECT_EQ(code.length, 2048u);
    EXPECT_THROW(code.Emit(0x12, 0x34), ZEKT_Exception);
    EXPECT_EQ(Message_Of([&] { code.Emit(0x12, 0x34); }), L"Too big assembler code");
    // The failed word changed nothing.
    EXPECT_EQ(code.length, 2048u);
    EXPECT_EQ(code.code[2046], 0x11);
    EXPECT_EQ(code.code[2047], 0xFF);
}

TEST(Assembler, WireBytesPutTheArgumentFirstAndFillWithZeros) {
    Assembler_Code code;
    code.Emit(0x11, 0xFF);
    const auto wire = code.Wire_Bytes();
    ASSERT_EQ(wire.size(), 2048u);
    EXPECT_EQ(wire[0], 0xFF);
    EXPECT_EQ(wire[1], 0x11);
    for (std::size_t i = 2; i < wire.size(); ++i) ASSERT_EQ(wire[i], 0) << "byte " << i;
}

TEST(Assembler, EmitWordIsHighByteFirstInTheBuffer) {
    Assembler_Code code;
    code.Emit_Word(0x0123);
    EXPECT_EQ(code.code[0], 0x01);
    EXPECT_EQ(code.code[1], 0x23);
    EXPECT_EQ(code.Words(), Words{0x0123});
}

TEST(Assembler, StepHelpers) {
    Assembler_Code code;
    code.Wait_Step();
    code.Read_Step();
    code.Data_Steps(1, 2, 3, 4);
    EXPECT_EQ(code.Words(), Hex_Words("2100 8000 2000 8000 1201 8000 1202 8000 1203 8000 1204 8000"));
}

TEST(Assembler, ForwardReferenceGetsTheNextFreeWord) {
    Assembler_Code code;
    code.Emit(0x11, 0x00);
    code.Mark_Forward();
    code.Emit(0xF0, 0);
    for (int i = 0; i < 10; ++i) code.Emit(0x12, static_cast<std::uint8_t>(i));
    code.Resolve_Forward();
    Words expected = Hex_Words("1100 000C");
    for (int i = 0; i < 10; ++i) expected.push_back(static_cast<std::uint16_t>(0x1200 + i));
    EXPECT_EQ(code.Words(), expected);
    EXPECT_TRUE(code.forward_refs.empty());
}

TEST(Assembler, ForwardTargetsAbove255UseBothBytes) {
    Assembler_Code code;
    code.Mark_Forward();
    code.Emit(0xF0, 0);
    for (int i = 0; i < 300; ++i) code.Emit(0x12, 0);
    code.Resolve_Forward();
    EXPECT_EQ(code.Words()[0], 301);
}

TEST(Assembler, JumpBackAppendsTheLoopStart) {
    Assembler_Code code;
    for (int i = 0; i < 5; ++i) code.Emit(0x12, 0);
    code.Mark_Loop_Start();
    code.Emit(0x30, 1);
    code.Jump_Back();
    EXPECT_EQ(code.Words().back(), 0x0005);
    EXPECT_TRUE(code.loop_starts.empty());
}

TEST(Assembler, UnmatchedLabelsAreBugs) {
    Assembler_Code code;
    EXPECT_THROW(code.Resolve_Forward(), ZEKT_Exception_Bug);
    EXPECT_THROW(code.Jump_Back(), ZEKT_Exception_Bug);
    EXPECT_EQ(code.length, 0u);
}

TEST(Run_Script, TheFeatureExample) {
    Assembler_Code code;
    Run_Script(code, L"Cmd 0xEF\r\nAddr 0x89\r\nData 1 0 0 0\r\nWait");
    EXPECT_EQ(code.Words(), Hex_Words("11EF 8000 1089 8000 1201 8000 1200 8000 1200 8000 1200 8000 2100 8000"));
}

TEST(Run_Script, SpacingAndEmptyLines) {
    Assembler_Code one_space, two_spaces;
    Run_Script(one_space, L"Cmd 0x30");
    Run_Script(two_spaces, L"  Cmd  0x30  \r\n\r\n   ");
    EXPECT_EQ(two_spaces.Words(), one_space.Words());
    EXPECT_EQ(one_space.Words(), Steps("Cmd 30"));

    Assembler_Code empty;
    Run_Script(empty, L"");
    EXPECT_EQ(empty.length, 0u);
}

TEST(Run_Script, WordsAndNumbers) {
    Assembler_Code code;
    // Wait and Read ignore numbers; Cmd without numbers appends nothing;
    // numbers keep their low byte.
    Run_Script(code, L"Wait 5\r\nRead\r\nCmd\r\nAddr 0x1FF 16\r\nData 0X0a");
    EXPECT_EQ(code.Words(), Steps("Wait; Read; Addr FF; Addr 10; Data 0A"));
}

TEST(Run_Script, Failures) {
    Assembler_Code code;
    EXPECT_EQ(Message_Of([&] { Run_Script(code, L"Cmd 1\r\ncmd 0x30"); }), L"Unknown command <cmd>");
    // The lines before the error stay; the caller drops the buffer.
    EXPECT_EQ(code.Words(), Steps("Cmd 01"));

    Assembler_Code other;
    EXPECT_THROW(Run_Script(other, L"Cmd 0x3G"), ZEKT_Exception_DataCorrupt);
    EXPECT_EQ(Message_Of([&] { Run_Script(other, L"Cmd 0x3G"); }), L"Can't convert <0x3G> to integer");
    EXPECT_EQ(Message_Of([&] { Run_Script(other, L"Cmd\t1"); }), L"Unknown command <Cmd\t1>");
    EXPECT_EQ(other.length, 0u);
}
