// Arbitrary text as the option scripts "After Reset" and "Before Read",
// assembled into the page-read program of every command set and listed:
// errors are fine (an unknown word, a number, a program too big), crashes
// and undefined behaviour are not.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shown_text.h"
#include "framework/errors.h"
#include "framework/values.h"
#include "reader/listing.h"
#include "reader/programs.h"
#include "reader/setup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte picks the command set, the address cycles and the bit-map read.
    const std::uint8_t choice = data[0];
    const std::wstring text = From_UTF8(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    // "After Reset" before the first blank line, "Before Read" after it.
    const std::size_t gap = text.find(L"\r\n\r\n");
    Korvane_Internal::Reader_Setup setup;
    setup.after_reset = text.substr(0, gap);
    setup.before_read = gap == std::wstring::npos ? std::wstring() : text.substr(gap + 4);
    constexpr const wchar_t* Sets[] = {L"Std", L"WL", L"WL v2", L"A2", L"HYBRIDx3", L"std"};
    setup.command_set = Sets[choice % 6];
    setup.column_cycles = choice >> 6;
    setup.row_cycles = (choice >> 3) & 7;
    setup.special_read = (choice & 0x20) != 0;
    try {
        Korvane_Internal::NAND_Assembler::Assembler_Code code;
        Korvane_Internal::NAND_Assembler::Build_Program(code, setup);
        for (const std::wstring& line : Korvane_Internal::NAND_Assembler::Program_Listing(code.Words()))
            Check_Shown(line);
        code.Wire_Bytes();
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
    return 0;
}
