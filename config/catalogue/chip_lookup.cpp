#include "config/catalogue/chip_lookup.h"

#include "framework/values.h"

std::vector<std::size_t> Find_Catalogue_Rows(const Chip_Catalogue& catalogue, const std::wstring& wanted) {
    std::vector<std::size_t> found;
    // No catalogue name starts with "#", so a row number is never a name.
    if (wanted.size() > 1 && wanted[0] == L'#') {
        std::uint64_t number = 0;
        try {
            number = To_Unsigned(wanted.substr(1));
        } catch (const ZEKT_Exception&) {
            return found;
        }
        if (number >= 1 && number <= catalogue.size()) found.push_back(static_cast<std::size_t>(number - 1));
        return found;
    }
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        if (catalogue[i].Name == wanted) found.push_back(i);
    // Names may hold "@" themselves, so the exact name wins over the split.
    const std::size_t at = wanted.rfind(L'@');
    if (!found.empty() || at == std::wstring::npos) return found;
    const std::wstring name = wanted.substr(0, at);
    const std::wstring id = wanted.substr(at + 1);
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        if (catalogue[i].Name == name && catalogue[i].ID_Code == id) found.push_back(i);
    return found;
}

std::optional<NAND_Config> Find_Catalogue_Chip(const std::wstring& wanted) {
    const Chip_Catalogue catalogue;
    const std::vector<std::size_t> rows = Find_Catalogue_Rows(catalogue, wanted);
    if (rows.empty()) return std::nullopt;
    return catalogue[rows.front()];
}
