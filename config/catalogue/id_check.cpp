#include "config/catalogue/id_check.h"

#include <algorithm>
#include <bit>
#include <cwctype>
#include <optional>

#include "config/id_decode.h"
#include "framework/errors.h"
#include "framework/format.h"
#include "framework/values.h"

namespace Catalogue {

namespace {

// No block has 0x1000 rows; a skip rule with a longer period steps over the
// address space a die does not fill, so each period holds one die.
constexpr std::uint64_t Die_Rule_Period = 0x1000;

// Dies behind one chip enable that the skip rules lay out; nothing when no
// rule spans dies or the row's own arithmetic fails (the self-check says so).
std::optional<std::uint64_t> Dies_Of_Skip_Rules(const NAND_Config& row) {
    std::uint64_t period = 0;
    for (const auto& [mask, page] : {std::pair{row.Skip_Mask_1, row.Skip_Page_1}, {row.Skip_Mask_2, row.Skip_Page_2}}) {
        const std::uint64_t rule_period = std::uint64_t{mask} + 1;
        if (page != 0xFFFFFFFF && rule_period > Die_Rule_Period) period = std::max(period, rule_period);
    }
    if (period == 0) return std::nullopt;
    try {
        std::int64_t start = 0, end = static_cast<std::int64_t>(row.Get_Bank_Dump_Size());
        std::uint32_t first_row = 0, end_row = 0;
        row.Get_Real_Page_Range(start, end, first_row, end_row);
        return (std::uint64_t{end_row} + period - 1) / period;
    } catch (const ZEKT_Exception&) {
        return std::nullopt;
    }
}

bool Same_Company(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

std::wstring Spare_Text(const std::optional<std::uint32_t>& spare) {
    return spare ? Format(L"%u", *spare) : std::wstring(L"?");
}

}  // namespace

std::vector<Disagreement> Id_Disagreements(const NAND_Config& row) {
    std::vector<Disagreement> found;
    Id_Decoding id;
    try {
        id = Decode_Id(Id_Bytes(row.ID_Code));
    } catch (const ZEKT_Exception&) {
        return found;
    }
    if (id.maker != L"Unknown" && row.Company != L"Unknown" && !Same_Company(row.Company, id.maker))
        found.push_back({Id_Field::Company, L"Company " + row.Company + L", the ID's maker is " + id.maker});

    const std::uint32_t data = std::bit_floor(row.Page);
    const bool spare_differs = id.page_bytes && id.spare_bytes && row.Page != *id.page_bytes + *id.spare_bytes;
    if ((id.page_bytes && data != *id.page_bytes) || spare_differs)
        found.push_back({Id_Field::Page, Format(L"Page %u, the ID says %u + %s", row.Page, *id.page_bytes,
                                                Spare_Text(id.spare_bytes))});
    if (id.block_bytes && row.Block != 0 && row.Page != 0) {
        const std::uint64_t block_data = std::uint64_t{row.Block / row.Page} * data;
        if (block_data != *id.block_bytes)
            found.push_back({Id_Field::Block, Format(L"Block %s (%I64u KiB of data), the ID says %u KiB",
                                                     Hex_Text(row.Block), block_data / 1024, *id.block_bytes / 1024)});
    }
    if (id.bus_bits) {
        const std::uint32_t bus = row.Bus == L"8" ? 8 : 16;
        if (bus != *id.bus_bits)
            found.push_back({Id_Field::Bus, Format(L"Bus %s, the ID says %u", row.Bus, *id.bus_bits)});
    }
    if (!row.Join_CE.empty()) return found;
    if (id.chip_bytes) {
        try {
            const std::int64_t megabytes = row.Get_Bank_Size_MB();
            if (static_cast<std::uint64_t>(megabytes) << 20 != *id.chip_bytes)
                found.push_back({Id_Field::Bank_Size, Format(L"Banks %s, the ID says %I64u MB per chip enable",
                                                             row.Banks, *id.chip_bytes >> 20)});
        } catch (const ZEKT_Exception&) {
        }
    }
    const std::optional<std::uint64_t> dies = Dies_Of_Skip_Rules(row);
    if (id.dies && dies && *dies != *id.dies)
        found.push_back({Id_Field::Dies, Format(L"Skip rules for %I64u dies, the ID says %u", *dies, *id.dies)});
    return found;
}

bool Id_Exception::Covers(const NAND_Config& row) const {
    return row.ID_Code.starts_with(id) && (!company || row.Company == company) && (!name || row.Name == name);
}

std::vector<Disagreement> Unexplained_Disagreements(const NAND_Config& row) {
    std::vector<Disagreement> found = Id_Disagreements(row);
    std::erase_if(found, [&row](const Disagreement& disagreement) {
        return std::any_of(Id_Exceptions().begin(), Id_Exceptions().end(), [&](const Id_Exception& exception) {
            return exception.field == disagreement.field && exception.Covers(row);
        });
    });
    return found;
}

}  // namespace Catalogue
