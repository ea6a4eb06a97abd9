#include "config/catalogue/chip_lookup.h"

#include "config/catalogue/chip_catalogue.h"

std::optional<NAND_Config> Find_Catalogue_Chip(const std::wstring& wanted) {
    const Chip_Catalogue catalogue;
    for (const NAND_Config& row : catalogue)
        if (row.Name == wanted) return row;
    // Names may hold "@" themselves, so the exact name wins over the split.
    const std::size_t at = wanted.rfind(L'@');
    if (at == std::wstring::npos) return std::nullopt;
    const std::wstring name = wanted.substr(0, at);
    const std::wstring id = wanted.substr(at + 1);
    for (const NAND_Config& row : catalogue)
        if (row.Name == name && row.ID_Code == id) return row;
    return std::nullopt;
}
