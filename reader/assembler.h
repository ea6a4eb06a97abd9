// The micro-program buffer: up to 1024 instruction words of (opcode,
// argument) that the reader's logic executes, and the command-text language
// of the options "After Reset" and "Before Read".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Korvane_Internal::NAND_Assembler {

inline constexpr std::size_t Code_Bytes = 2048;

// The opcodes the host uses.
enum Opcode : std::uint8_t {
    Op_Addr = 0x10,
    Op_Cmd = 0x11,
    Op_Data = 0x12,
    Op_Row_Addr = 0x13,  // argument: byte number of the current row, 0 = least significant
    Op_Read = 0x20,      // argument 0: one block; 1: the step before End
    Op_Wait = 0x21,
    Op_End = 0x22,
    Op_Loop = 0x30,  // 1..5 the loop head, 0 the loop tail; 5 and 0 are followed by a target word
    Op_Step_End = 0x80,
    Op_Placeholder = 0xF0,
};

class Assembler_Code {
public:
    std::array<std::uint8_t, Code_Bytes> code{};
    std::uint32_t length = 0;  // bytes used, always even
    std::vector<std::uint32_t> loop_starts;
    std::vector<std::uint32_t> forward_refs;

    // One word; throws ZEKT_Exception "Too big assembler code" when full.
    void Emit(std::uint8_t opcode, std::uint8_t argument);
    void Emit_Word(std::uint16_t value);

    // A step is an instruction word followed by (Step_End, 0).
    void Step(std::uint8_t opcode, std::uint8_t argument);
    void Cmd_Step(std::uint8_t command) { Step(Op_Cmd, command); }
    void Addr_Step(std::uint8_t address) { Step(Op_Addr, address); }
    void Data_Step(std::uint8_t data) { Step(Op_Data, data); }
    void Row_Addr_Step(std::uint8_t byte_number) { Step(Op_Row_Addr, byte_number); }
    void Wait_Step() { Step(Op_Wait, 0); }
    void Read_Step() { Step(Op_Read, 0); }
    void Data_Steps(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d);

    std::uint32_t Word_Index() const { return length / 2; }
    void Mark_Loop_Start();
    // The caller appends the Placeholder word right after.
    void Mark_Forward();
    void Resolve_Forward();
    void Jump_Back();

    // The words used so far, as opcode * 256 + argument.
    std::vector<std::uint16_t> Words() const;
    // What goes over the link: all 1024 words, argument byte first.
    std::array<std::uint8_t, Code_Bytes> Wire_Bytes() const;
};

// Appends the steps a command text asks for (lines "Cmd", "Addr", "Data" with
// numbers, "Wait", "Read").
void Run_Script(Assembler_Code& code, const std::wstring& text);

}  // namespace Korvane_Internal::NAND_Assembler
