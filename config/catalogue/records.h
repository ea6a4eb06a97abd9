// The catalogue as written: one record per single chip or per family of
// packages around one die, in the units and bases of the settings text.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "config/nand_config.h"

namespace Catalogue {

// The keys of one chip in settings-text order. A key left out keeps the value
// of a newly constructed NAND_Config.
struct Chip {
    const wchar_t* company = nullptr;
    const wchar_t* name = nullptr;
    const wchar_t* id = nullptr;
    const wchar_t* bus = nullptr;
    const wchar_t* banks = nullptr;
    std::optional<std::uint32_t> page = std::nullopt;
    std::optional<std::uint32_t> block = std::nullopt;
    std::optional<std::uint32_t> blocks = std::nullopt;
    const wchar_t* cmd = nullptr;
    std::optional<std::uint32_t> col = std::nullopt;
    std::optional<std::uint32_t> row = std::nullopt;
    std::optional<bool> ddr = std::nullopt;
    std::optional<std::uint32_t> re_up = std::nullopt;
    std::optional<std::uint32_t> re_down = std::nullopt;
    const wchar_t* power = nullptr;
    const wchar_t* retry = nullptr;
    std::optional<std::uint32_t> skip_mask_1 = std::nullopt;
    std::optional<std::uint32_t> skip_page_1 = std::nullopt;
    std::optional<std::uint32_t> skip_mask_2 = std::nullopt;
    std::optional<std::uint32_t> skip_page_2 = std::nullopt;
    const wchar_t* join_ce = nullptr;
};

// One package of a family's die: what may change from package to package. A
// value given here replaces the shared one; an empty text clears it.
struct Package {
    const wchar_t* name = nullptr;
    const wchar_t* bus = nullptr;
    const wchar_t* banks = nullptr;
    std::optional<bool> ddr = std::nullopt;
    const wchar_t* power = nullptr;
    const wchar_t* join_ce = nullptr;
};

// A single row (no packages), or the shared values of a family and one row
// per package. The shared values of a family are never a row themselves.
struct Record {
    Chip chip;
    std::vector<Package> packages;
};

inline Record Single(const Chip& chip) { return {chip, {}}; }
inline Record Family(const Chip& chip, std::vector<Package> packages) { return {chip, std::move(packages)}; }

// The rows a record makes, in its written order.
std::vector<NAND_Config> Rows_Of(const Record& record);

// Every record in written order, maker by maker.
const std::vector<Record>& All_Records();

// The maker tables, one file each.
void Add_Unknown(std::vector<Record>& records);
void Add_Toshiba(std::vector<Record>& records);
void Add_Samsung(std::vector<Record>& records);
void Add_Sandisk(std::vector<Record>& records);
void Add_Hynix(std::vector<Record>& records);
void Add_Intel(std::vector<Record>& records);
void Add_Micron(std::vector<Record>& records);
void Add_Spectec(std::vector<Record>& records);
void Add_Other_Makers(std::vector<Record>& records);

}  // namespace Catalogue
