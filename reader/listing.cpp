#include "reader/listing.h"

#include "framework/format.h"
#include "reader/assembler.h"

namespace Korvane_Internal::NAND_Assembler {

std::vector<std::wstring> Program_Listing(const std::vector<std::uint16_t>& words) {
    std::vector<std::wstring> lines;
    std::size_t k = 0;
    auto line = [&](std::size_t at, const std::wstring& text) { lines.push_back(Format(L"%04u  %s", at, text)); };
    // A step is its word plus Step_End; a missing Step_End shows as its own line.
    auto step = [&](const std::wstring& text) {
        line(k, text);
        k += k + 1 < words.size() && words[k + 1] == Op_Step_End << 8 ? 2 : 1;
    };
    while (k < words.size()) {
        const std::uint8_t opcode = words[k] >> 8;
        const std::uint8_t argument = words[k] & 0xFF;
        switch (opcode) {
        case Op_Addr: step(Format(L"Addr %02X", argument)); break;
        case Op_Cmd: step(Format(L"Cmd %02X", argument)); break;
        case Op_Data: step(Format(L"Data %02X", argument)); break;
        case Op_Row_Addr: step(Format(L"Row_Addr %u", argument)); break;
        case Op_Read: step(argument == 0 ? std::wstring(L"Read") : Format(L"Read %u", argument)); break;
        case Op_Wait: step(L"Wait"); break;
        case Op_End:
            step(L"End");
            return lines;
        case Op_Loop:
            if (argument == 5 || argument == 0) {
                const unsigned target = k + 1 < words.size() ? words[k + 1] : 0;
                line(k, argument == 5 ? Format(L"Loop head -> %u", target) : Format(L"Loop tail -> %u", target));
                k += 2;
            } else {
                line(k, Format(L"Loop %u", argument));
                ++k;
            }
            break;
        default:
            line(k, Format(L"Word 0x%04X", words[k]));
            ++k;
        }
    }
    return lines;
}

}  // namespace Korvane_Internal::NAND_Assembler
