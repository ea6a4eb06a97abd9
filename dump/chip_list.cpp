#include "dump/chip_list.h"

#include "dump/chip_operations.h"

namespace Korvane_Exe {

const Chip_Columns& Chip_Column_Names() {
    static const Chip_Columns names = {L"Name", L"ID", L"Size", L"Banks", L"Company", L"Bus", L"Cmd", L"DDR"};
    return names;
}

Chip_Columns Chip_Column_Texts(const NAND_Config& config) {
    return {config.Name, config.ID_Code, config.Get_Size_Text(), config.Banks, config.Company,
            config.Bus,  config.Cmd,     config.DDR ? L"Yes" : L""};
}

std::vector<const NAND_Config*> Detect_Chips(const Chip_Catalogue& catalogue, const NAND_Options& options) {
    std::vector<const NAND_Config*> found;
    for (const wchar_t* bus : {L"8", L"16", L"16-8"}) {
        NAND_Config trial;
        trial.Bus = bus;
        const std::wstring reference = Korvane_Internal::Read_Id(1, trial, options);
        // Banks that answer with the same ID belong to the same package.
        std::uint32_t count = 1;
        for (std::uint32_t bank = 2; bank <= 4; ++bank) {
            if (!Match_ID(Korvane_Internal::Read_Id(bank, trial, options), reference)) break;
            count = bank;
        }
        for (const NAND_Config& row : catalogue)
            if (Match_ID(row.ID_Code, reference) && row.Get_Bank_Count() == count && row.Bus == bus)
                found.push_back(&row);
    }
    return found;
}

}  // namespace Korvane_Exe
