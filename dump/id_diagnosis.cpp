#include "dump/id_diagnosis.h"

#include "dump/chip_operations.h"
#include "framework/values.h"

namespace Korvane_Exe {

std::wstring Id_Hint(const std::wstring& id) {
    std::vector<std::wstring> bytes;
    for (const std::wstring& token : Split(id, L" "))
        if (!token.empty()) bytes.push_back(token);
    if (bytes.empty()) return L"";
    for (const std::wstring& byte : bytes)
        if (byte != bytes.front()) return L"";
    if (bytes.front() == L"ff")
        return L"every ID byte is ff: nothing drives the bus; check the chip's seating, the adapter and \"Voltage\"";
    if (bytes.front() == L"00") return L"every ID byte is 00: the bus is held low";
    // One byte read on its own proves nothing about the other cycles.
    if (bytes.size() < 2) return L"";
    return L"every ID byte is " + bytes.front() + L": a data line or read enable is stuck";
}

std::wstring Tied_Enables_Hint(const NAND_Config& config, const NAND_Options& options, const std::wstring& id) {
    if (config.Get_Bank_Count() != 1 || !config.Join_CE.empty() || !Id_Hint(id).empty()) return L"";
    // Only a hint: a line that cannot be read shows no tie, and fails nothing.
    try {
        for (std::uint32_t line = 2; line <= 8; ++line)
            if (Korvane_Internal::Read_Id(line, config, options) != id) return L"";
    } catch (const ZEKT_Exception&) {
        return L"";
    }
    return L"chip enables 1 to 8 all answer " + Trim(id, L' ') +
           L": they are tied together, but the configuration expects one chip";
}

}  // namespace Korvane_Exe
