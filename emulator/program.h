// The reader's side of a micro-program: decoding and checking the 1024 words
// it receives, and running them over the rows of a bank to produce the data
// stream lazily, as the host reads it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/nand_chip.h"

namespace Korvane_Emulator {

struct Program_Step {
    enum class Kind { Addr, Cmd, Data, Row_Addr, Read, Read_Last, Wait, End, Loop_Head, Loop_Tail };
    Kind kind;
    std::uint8_t argument = 0;
    std::size_t jump = 0;  // Loop_Head: the step after the tail; Loop_Tail: the first body step
};

// Decodes the 2048 wire bytes; a malformed program (a step without its
// Step_End word, loop targets that do not meet, no End) throws
// ZEKT_Exception naming the word.
std::vector<Program_Step> Decode_Program(const std::uint8_t* wire, std::size_t size);

// The fields of the 32-byte setup block that the reader acts on.
struct Setup_Fields {
    std::uint32_t first_row = 0;
    std::uint32_t end_row = 0;
    std::uint16_t transfer_count = 0;
    std::uint8_t flags = 0;
    std::uint8_t chip_enable = 0;
    std::uint8_t timing = 0;
    std::uint32_t skip_mask_1 = 0, skip_page_1 = 0, skip_mask_2 = 0, skip_page_2 = 0;

    bool Wide_Bus() const { return flags & 0x02; }
    bool Id_Mode() const { return flags & 0x04; }
    bool Special_Read() const { return flags & 0x10; }
    bool DDR() const { return flags & 0x40; }
    // Bytes one Read step moves: two per transfer on a 16-bit bus or with DDR.
    std::uint32_t Read_Bytes() const;
};

Setup_Fields Decode_Setup(const std::uint8_t* block);

// The first row at or after `row` that the skip rules leave in, or end_row.
std::uint32_t Next_Existing_Row(const Setup_Fields& setup, std::uint32_t row);

// Runs a program against the chips on the eight chip-enable lines.
class Program_Runner {
public:
    Program_Runner(std::vector<Program_Step> steps, const Setup_Fields& setup, std::array<Nand_Chip*, 8> chips);

    // Fills up to `count` bytes of the stream; fewer only when the program ended.
    std::size_t Produce(std::uint8_t* out, std::size_t count);
    std::uint64_t Produced() const { return produced; }

private:
    void Run_To_Next_Read();
    template <typename Action>
    void For_Selected(Action action);
    Nand_Chip* First_Selected();

    std::vector<Program_Step> steps;
    Setup_Fields setup;
    std::array<Nand_Chip*, 8> chips;
    std::size_t pc = 0;
    std::uint32_t row = 0;
    bool in_loop = false;
    bool ended = false;
    std::uint32_t pending = 0;  // bytes left of the current Read step
    std::uint64_t produced = 0;
};

}  // namespace Korvane_Emulator
