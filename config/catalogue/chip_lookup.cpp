#include "config/catalogue/chip_lookup.h"

#include <algorithm>

#include "framework/format.h"
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
    // Taking the first of several different chips would read the wrong one
    // without a word; identical rows are one chip.
    for (std::size_t index : rows) {
        if (catalogue[index] == catalogue[rows.front()]) continue;
        throw ZEKT_Exception(Format(L"Chip <%s> names %u different rows; name one by its number, such as \"#%u\"",
                                    wanted, static_cast<std::uint32_t>(rows.size()),
                                    static_cast<std::uint32_t>(rows.front() + 1)));
    }
    return catalogue[rows.front()];
}

std::vector<const NAND_Config*> Filter_O_Or_Zero(const Chip_Catalogue& catalogue, const std::wstring& name,
                                                 const std::wstring& id) {
    auto fold = [](std::wstring text) {
        std::replace(text.begin(), text.end(), L'O', L'0');
        return text;
    };
    const std::wstring wanted = fold(Trim(name, L' '));
    const std::wstring pattern = Trim(id, L' ');
    std::vector<const NAND_Config*> rows;
    for (const NAND_Config& row : catalogue)
        if (fold(row.Name).find(wanted) != std::wstring::npos && Match_ID(row.ID_Code, pattern)) rows.push_back(&row);
    return rows;
}
