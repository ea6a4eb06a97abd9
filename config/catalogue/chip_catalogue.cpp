#include "config/catalogue/chip_catalogue.h"

#include <algorithm>
#include <numeric>

#include "config/catalogue/records.h"
#include "framework/values.h"

Chip_Catalogue::Chip_Catalogue() {
    struct Written {
        NAND_Config row;
        std::size_t record;
        std::u16string key;
    };
    std::vector<Written> written;
    const std::vector<Catalogue::Record>& records = Catalogue::All_Records();
    for (std::size_t record = 0; record < records.size(); ++record)
        for (NAND_Config& row : Catalogue::Rows_Of(records[record])) {
            // Names compare as UTF-16 code units, so that the order is the
            // same where wchar_t has 32 bits.
            std::u16string key = To_UTF16(row.Name);
            written.push_back({std::move(row), record, std::move(key)});
        }

    std::vector<std::size_t> order(written.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Stable: rows of one name keep the order in which the table writes them.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return written[a].key < written[b].key; });

    rows.reserve(order.size());
    record_of.reserve(order.size());
    for (std::size_t index : order) {
        rows.push_back(std::move(written[index].row));
        record_of.push_back(written[index].record);
    }
}

std::vector<const NAND_Config*> Chip_Catalogue::Filter(const std::wstring& name, const std::wstring& id) const {
    const std::wstring name_text = Trim(name, L' ');
    const std::wstring id_text = Trim(id, L' ');
    std::vector<const NAND_Config*> shown;
    for (const NAND_Config& row : rows)
        if (row.Name.find(name_text) != std::wstring::npos && Match_ID(row.ID_Code, id_text)) shown.push_back(&row);
    return shown;
}
