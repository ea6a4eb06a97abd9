#include "config/catalogue/chip_lookup.h"

#include "config/catalogue/chip_catalogue.h"

std::optional<NAND_Config> Find_Catalogue_Chip(const std::wstring& spec) {
    const Chip_Catalogue catalogue;
    for (const NAND_Config& row : catalogue)
        if (row.Name == spec) return row;
    // Names may hold "@" themselves, so the exact name wins over the split.
    const std::size_t at = spec.rfind(L'@');
    if (at == std::wstring::npos) return std::nullopt;
    const std::wstring name = spec.substr(0, at);
    const std::wstring id = spec.substr(at + 1);
    for (const NAND_Config& row : catalogue)
        if (row.Name == name && row.ID_Code == id) return row;
    return std::nullopt;
}
