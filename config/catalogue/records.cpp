#include "config/catalogue/records.h"

namespace Catalogue {

namespace {

template <typename Value>
void Set(Value& member, const std::optional<Value>& value) {
    if (value) member = *value;
}

void Set(std::wstring& member, const wchar_t* value) {
    if (value) member = value;
}

void Apply(const Chip& chip, NAND_Config& config) {
    Set(config.Company, chip.company);
    Set(config.Name, chip.name);
    if (chip.id) config.Set_ID_Code(chip.id);
    Set(config.Bus, chip.bus);
    Set(config.Banks, chip.banks);
    Set(config.Page, chip.page);
    Set(config.Block, chip.block);
    Set(config.Blocks, chip.blocks);
    Set(config.Cmd, chip.cmd);
    Set(config.Col, chip.col);
    Set(config.Row, chip.row);
    Set(config.DDR, chip.ddr);
    Set(config.RE_Up, chip.re_up);
    Set(config.RE_Down, chip.re_down);
    Set(config.Power, chip.power);
    Set(config.Retry, chip.retry);
    Set(config.Skip_Mask_1, chip.skip_mask_1);
    Set(config.Skip_Page_1, chip.skip_page_1);
    Set(config.Skip_Mask_2, chip.skip_mask_2);
    Set(config.Skip_Page_2, chip.skip_page_2);
    Set(config.Join_CE, chip.join_ce);
}

void Apply(const Package& package, NAND_Config& config) {
    Set(config.Name, package.name);
    Set(config.Bus, package.bus);
    Set(config.Banks, package.banks);
    Set(config.DDR, package.ddr);
    Set(config.Power, package.power);
    Set(config.Join_CE, package.join_ce);
}

}  // namespace

std::vector<NAND_Config> Rows_Of(const Record& record) {
    NAND_Config shared;
    Apply(record.chip, shared);
    if (record.packages.empty()) return {shared};
    std::vector<NAND_Config> rows;
    rows.reserve(record.packages.size());
    for (const Package& package : record.packages) {
        rows.push_back(shared);
        Apply(package, rows.back());
    }
    return rows;
}

const std::vector<Record>& All_Records() {
    static const std::vector<Record> records = [] {
        std::vector<Record> all;
        // The table's first row, F4GMSAP, opens the makers nobody knows.
        for (auto* add : {Add_Unknown, Add_Toshiba, Add_Samsung, Add_Sandisk, Add_Hynix, Add_Intel, Add_Micron,
                          Add_Spectec, Add_Other_Makers})
            add(all);
        return all;
    }();
    return records;
}

}  // namespace Catalogue
