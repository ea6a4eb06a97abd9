// The built-in table of known chips, sorted by part name, and the filter the
// chip selection uses on every keystroke.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/nand_config.h"

class Chip_Catalogue {
public:
    using const_iterator = std::vector<NAND_Config>::const_iterator;

    // Builds every row in written order, then sorts the rows by "Name".
    Chip_Catalogue();

    const_iterator begin() const { return rows.begin(); }
    const_iterator end() const { return rows.end(); }
    std::size_t size() const { return rows.size(); }
    const NAND_Config& operator[](std::size_t index) const { return rows[index]; }

    // Which record of Catalogue::All_Records() made the row at `index`.
    std::size_t Record_Of(std::size_t index) const { return record_of[index]; }

    // The rows whose "Name" contains `name` and whose ID matches `id` by
    // Match_ID, both texts without surrounding blanks; in catalogue order.
    std::vector<const NAND_Config*> Filter(const std::wstring& name, const std::wstring& id) const;

private:
    std::vector<NAND_Config> rows;
    std::vector<std::size_t> record_of;
};
