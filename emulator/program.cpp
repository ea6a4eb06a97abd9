#include "emulator/program.h"

#include "framework/errors.h"
#include "reader/assembler.h"

namespace Korvane_Emulator {

namespace NA = Korvane_Internal::NAND_Assembler;

namespace {

[[noreturn]] void Malformed(const wchar_t* what, std::size_t word) {
    throw ZEKT_Exception(Format(L"Malformed program: %s at word <%u>", what, word));
}

std::uint32_t Le32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::vector<Program_Step> Decode_Program(const std::uint8_t* wire, std::size_t size) {
    if (size != NA::Code_Bytes) Malformed(L"wrong size", size / 2);
    const std::size_t word_count = size / 2;
    auto word = [&](std::size_t k) { return static_cast<std::uint16_t>(wire[2 * k] | wire[2 * k + 1] << 8); };

    std::vector<Program_Step> steps;
    std::size_t head_step = SIZE_MAX, tail_step = SIZE_MAX;
    std::size_t head_target = 0, head_word = 0;
    bool ended = false;
    std::size_t k = 0;
    while (k < word_count && !ended) {
        const std::uint8_t opcode = word(k) >> 8;
        const std::uint8_t argument = word(k) & 0xFF;
        auto step = [&](Program_Step::Kind kind) {
            if (k + 1 >= word_count || word(k + 1) != NA::Op_Step_End << 8) Malformed(L"step without Step_End", k);
            steps.push_back({kind, argument, 0});
            k += 2;
        };
        switch (opcode) {
        case NA::Op_Addr: step(Program_Step::Kind::Addr); break;
        case NA::Op_Cmd: step(Program_Step::Kind::Cmd); break;
        case NA::Op_Data: step(Program_Step::Kind::Data); break;
        case NA::Op_Row_Addr: step(Program_Step::Kind::Row_Addr); break;
        case NA::Op_Wait: step(Program_Step::Kind::Wait); break;
        case NA::Op_Read:
            if (argument > 1) Malformed(L"unknown Read", k);
            step(argument == 0 ? Program_Step::Kind::Read : Program_Step::Kind::Read_Last);
            break;
        case NA::Op_End:
            step(Program_Step::Kind::End);
            ended = true;
            break;
        case NA::Op_Loop:
            if (argument == 1) {
                if (head_step != SIZE_MAX) Malformed(L"second loop", k);
                for (std::uint16_t n = 1; n <= 5; ++n)
                    if (k + n - 1 >= word_count || word(k + n - 1) != (NA::Op_Loop << 8 | n)) Malformed(L"broken loop head", k);
                if (k + 5 >= word_count) Malformed(L"loop head without target", k);
                head_word = k;
                head_target = word(k + 5);
                head_step = steps.size();
                steps.push_back({Program_Step::Kind::Loop_Head, 0, 0});
                k += 6;
            } else if (argument == 0) {
                if (head_step == SIZE_MAX || tail_step != SIZE_MAX || k + 1 >= word_count) Malformed(L"loop tail without head", k);
                if (head_target != k) Malformed(L"loop head target misses the tail", head_word + 5);
                if (word(k + 1) != head_word) Malformed(L"loop tail target misses the head", k + 1);
                tail_step = steps.size();
                steps.push_back({Program_Step::Kind::Loop_Tail, 0, head_step + 1});
                k += 2;
            } else {
                Malformed(L"loop word out of place", k);
            }
            break;
        default:
            Malformed(L"unknown word", k);
        }
    }
    if (!ended) Malformed(L"no End", word_count);
    if (head_step != SIZE_MAX) {
        if (tail_step == SIZE_MAX) Malformed(L"loop without tail", head_word);
        steps[head_step].jump = tail_step + 1;
    }
    return steps;
}

std::uint32_t Setup_Fields::Read_Bytes() const {
    const std::uint32_t transfers = transfer_count;
    if (Id_Mode()) return transfers;  // the ID comes on the low byte lane
    return Wide_Bus() || DDR() ? 2 * transfers : transfers;
}

Setup_Fields Decode_Setup(const std::uint8_t* block) {
    Setup_Fields setup;
    setup.first_row = Le32(block);
    setup.end_row = Le32(block + 4);
    setup.transfer_count = static_cast<std::uint16_t>(block[8] | block[9] << 8);
    setup.flags = block[10];
    setup.chip_enable = block[11];
    setup.timing = block[15];
    setup.skip_mask_1 = Le32(block + 16);
    setup.skip_page_1 = Le32(block + 20);
    setup.skip_mask_2 = Le32(block + 24);
    setup.skip_page_2 = Le32(block + 28);
    return setup;
}

std::uint32_t Next_Existing_Row(const Setup_Fields& setup, std::uint32_t row) {
    // A rule in use keeps the first `page` rows of every period of mask + 1.
    const std::pair<std::uint32_t, std::uint32_t> rules[] = {{setup.skip_mask_1, setup.skip_page_1},
                                                             {setup.skip_mask_2, setup.skip_page_2}};
    for (bool moved = true; moved && row < setup.end_row;) {
        moved = false;
        for (const auto& [mask, pages] : rules) {
            if (pages == 0xFFFFFFFF) continue;
            const std::uint64_t period = std::uint64_t{mask} + 1;
            const std::uint64_t offset = row % period;
            if (offset < pages) continue;
            const std::uint64_t next = std::uint64_t{row} - offset + period;
            row = next > setup.end_row ? setup.end_row : static_cast<std::uint32_t>(next);
            moved = true;
        }
    }
    return row < setup.end_row ? row : setup.end_row;
}

Program_Runner::Program_Runner(std::vector<Program_Step> program, const Setup_Fields& fields,
                               std::array<Nand_Chip*, 8> lines)
    : steps(std::move(program)), setup(fields), chips(lines) {
    // Nothing to move per Read step: the stream is empty, however many rows.
    if (setup.Read_Bytes() == 0) ended = true;
}

template <typename Action>
void Program_Runner::For_Selected(Action action) {
    for (std::size_t line = 0; line < chips.size(); ++line)
        if ((setup.chip_enable >> line & 1) && chips[line]) action(*chips[line]);
}

Nand_Chip* Program_Runner::First_Selected() {
    for (std::size_t line = 0; line < chips.size(); ++line)
        if ((setup.chip_enable >> line & 1) && chips[line] && chips[line]->Answers()) return chips[line];
    return nullptr;
}

void Program_Runner::Run_To_Next_Read() {
    while (!ended && pending == 0) {
        const Program_Step& step = steps[pc];
        switch (step.kind) {
        case Program_Step::Kind::Addr: For_Selected([&](Nand_Chip& chip) { chip.Address(step.argument); }); break;
        case Program_Step::Kind::Cmd: For_Selected([&](Nand_Chip& chip) { chip.Command(step.argument); }); break;
        case Program_Step::Kind::Data: For_Selected([&](Nand_Chip& chip) { chip.Data(step.argument); }); break;
        case Program_Step::Kind::Row_Addr: {
            const auto byte = static_cast<std::uint8_t>(step.argument < 4 ? row >> (8 * step.argument) : 0);
            For_Selected([&](Nand_Chip& chip) { chip.Address(byte); });
            break;
        }
        case Program_Step::Kind::Read: pending = setup.Read_Bytes(); break;
        case Program_Step::Kind::Read_Last:
        case Program_Step::Kind::Wait: break;
        case Program_Step::Kind::End: ended = true; continue;
        case Program_Step::Kind::Loop_Head:
            row = Next_Existing_Row(setup, setup.first_row);
            if (row >= setup.end_row) {
                pc = step.jump;
                continue;
            }
            break;
        case Program_Step::Kind::Loop_Tail:
            row = row + 1 == 0 ? setup.end_row : Next_Existing_Row(setup, row + 1);
            if (row < setup.end_row) {
                pc = step.jump;
                continue;
            }
            break;
        }
        ++pc;
    }
}

std::size_t Program_Runner::Produce(std::uint8_t* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        Run_To_Next_Read();
        if (pending == 0) break;
        const std::size_t take = std::min<std::size_t>(pending, count - done);
        if (Nand_Chip* chip = First_Selected())
            chip->Output(out + done, take, setup.chip_enable);
        else
            std::fill_n(out + done, take, std::uint8_t{0xFF});
        pending -= static_cast<std::uint32_t>(take);
        done += take;
    }
    produced += done;
    return done;
}

}  // namespace Korvane_Emulator
