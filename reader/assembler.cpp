#include "reader/assembler.h"

#include "framework/errors.h"
#include "framework/values.h"

namespace Korvane_Internal::NAND_Assembler {

void Assembler_Code::Emit(std::uint8_t opcode, std::uint8_t argument) {
    if (length == Code_Bytes) throw ZEKT_Exception(L"Too big assembler code");
    code[length] = opcode;
    code[length + 1] = argument;
    length += 2;
}

void Assembler_Code::Emit_Word(std::uint16_t value) {
    Emit(static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value));
}

void Assembler_Code::Step(std::uint8_t opcode, std::uint8_t argument) {
    Emit(opcode, argument);
    Emit(Op_Step_End, 0);
}

void Assembler_Code::Data_Steps(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    Data_Step(a);
    Data_Step(b);
    Data_Step(c);
    Data_Step(d);
}

void Assembler_Code::Mark_Loop_Start() { loop_starts.push_back(Word_Index()); }

void Assembler_Code::Mark_Forward() { forward_refs.push_back(Word_Index()); }

void Assembler_Code::Resolve_Forward() {
    if (forward_refs.empty()) throw ZEKT_Exception_Bug(L"Resolve_Forward without Mark_Forward");
    const std::uint32_t at = forward_refs.back();
    forward_refs.pop_back();
    const std::uint32_t target = Word_Index();
    code[2 * at] = static_cast<std::uint8_t>(target >> 8);
    code[2 * at + 1] = static_cast<std::uint8_t>(target);
}

void Assembler_Code::Jump_Back() {
    if (loop_starts.empty()) throw ZEKT_Exception_Bug(L"Jump_Back without Mark_Loop_Start");
    const std::uint32_t target = loop_starts.back();
    loop_starts.pop_back();
    Emit_Word(static_cast<std::uint16_t>(target));
}

std::vector<std::uint16_t> Assembler_Code::Words() const {
    std::vector<std::uint16_t> words;
    for (std::uint32_t i = 0; i < length; i += 2) words.push_back(static_cast<std::uint16_t>(code[i] << 8 | code[i + 1]));
    return words;
}

std::array<std::uint8_t, Code_Bytes> Assembler_Code::Wire_Bytes() const {
    std::array<std::uint8_t, Code_Bytes> wire{};
    for (std::size_t i = 0; i < Code_Bytes; i += 2) {
        wire[i] = code[i + 1];
        wire[i + 1] = code[i];
    }
    return wire;
}

namespace {

// What a script word appends: one step per number, or one step regardless.
enum class Script_Kind { Per_Number, Once };

struct Script_Word {
    const wchar_t* word;
    Script_Kind kind;
    std::uint8_t opcode;
};

constexpr Script_Word Script_Words[] = {
    {L"Cmd", Script_Kind::Per_Number, Op_Cmd},
    {L"Addr", Script_Kind::Per_Number, Op_Addr},
    {L"Data", Script_Kind::Per_Number, Op_Data},
    {L"Wait", Script_Kind::Once, Op_Wait},
    {L"Read", Script_Kind::Once, Op_Read},
};

}  // namespace

void Run_Script(Assembler_Code& code, const std::wstring& text) {
    for (const std::wstring& raw_line : Split(text, L"\r\n")) {
        std::vector<std::wstring> tokens;
        for (const std::wstring& piece : Split(Trim(raw_line, L' '), L" ")) {
            std::wstring token = Trim(piece, L' ');
            if (!token.empty()) tokens.push_back(std::move(token));
        }
        if (tokens.empty()) continue;
        std::vector<std::uint64_t> numbers;
        for (std::size_t i = 1; i < tokens.size(); ++i) numbers.push_back(To_Unsigned(tokens[i]));

        const Script_Word* found = nullptr;
        for (const Script_Word& entry : Script_Words)
            if (tokens[0] == entry.word) found = &entry;
        if (!found) throw ZEKT_Exception(L"Unknown command <" + tokens[0] + L">");

        switch (found->kind) {
        case Script_Kind::Per_Number:
            for (std::uint64_t n : numbers) code.Step(found->opcode, static_cast<std::uint8_t>(n));
            break;
        case Script_Kind::Once:
            code.Step(found->opcode, 0);
            break;
        }
    }
}

}  // namespace Korvane_Internal::NAND_Assembler
