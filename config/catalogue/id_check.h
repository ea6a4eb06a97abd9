// A catalogue row against what its own ID says (config/id_decode.h), and the
// rows that rightly differ from their ID, each with its source. The list of
// exceptions is the one docs/catalogue-sources.md shows.
#pragma once

#include <string>
#include <vector>

#include "config/nand_config.h"

namespace Catalogue {

enum class Id_Field { Company, Page, Block, Bus, Bank_Size, Dies };

struct Disagreement {
    Id_Field field;
    std::wstring text;  // "Page 4320, the ID says 8192 + 256"
};

// Every key of `row` that its ID decodes to another value; keys the ID does
// not tell are not compared. Joined banks ("Join CE") hold several chip
// enables, so their bank size and dies are not compared.
std::vector<Disagreement> Id_Disagreements(const NAND_Config& row);

// Rows whose key rightly differs from their ID: those whose "ID code" begins
// with `id` and, where given, whose "Company" and "Name" are these.
struct Id_Exception {
    const wchar_t* company;  // nullptr: any
    const wchar_t* name;     // nullptr: any
    const wchar_t* id;
    Id_Field field;
    const wchar_t* reason;
    bool Covers(const NAND_Config& row) const;
};
const std::vector<Id_Exception>& Id_Exceptions();

// The disagreements of `row` that no exception explains.
std::vector<Disagreement> Unexplained_Disagreements(const NAND_Config& row);

}  // namespace Catalogue
