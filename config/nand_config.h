// What the system knows about one type of NAND chip, described as properties
// so that the settings text and the property editor can carry it.
#pragma once

#include <cstdint>
#include <string>

#include "framework/properties.h"
#include "reader/setup.h"

class NAND_Config : public ZEKT_Properties {
public:
    std::wstring Company;
    std::wstring Name;
    std::wstring ID_Code;       // the stored ID, changed only by Set_ID_Code
    std::wstring ID_Code_Text;  // the working copy the "ID code" property edits
    std::wstring Bus = L"8";
    std::wstring Banks = L"4 x 256 MB";
    std::uint32_t Page = 16896;
    std::uint32_t Block = 0;
    std::uint32_t Blocks = 0;
    std::wstring Cmd = L"Std";
    std::uint32_t Col = 2;
    std::uint32_t Row = 3;
    bool DDR = false;
    std::uint32_t RE_Up = 2;
    std::uint32_t RE_Down = 2;
    std::uint32_t Skip_Mask_1 = 0xFFFFFFFF;
    std::uint32_t Skip_Page_1 = 0xFFFFFFFF;
    std::uint32_t Skip_Mask_2 = 0xFFFFFFFF;
    std::uint32_t Skip_Page_2 = 0xFFFFFFFF;
    std::wstring Power;
    std::wstring Retry;
    std::wstring Join_CE;

    // Copies the stored ID into the working copy, then lists the 26 entries.
    void Describe(ZEKT_Property_List& list) override;
    // An edited "ID code" takes effect here.
    void After_Import(ZEKT_Progress* progress, void* extra) override;
    void Set_ID_Code(const std::wstring& text) { ID_Code = text; }

    // Banks, chip enables and page addressing; every call parses the texts anew.
    std::uint32_t Get_Bank_Count() const;
    std::int64_t Get_Bank_Size_MB() const;
    std::uint64_t Get_Bank_Dump_Size() const;
    std::wstring Get_Size_Text() const;
    // Word-line and hybrid command sets read three pages per row.
    bool Is_Triple_Page() const;
    std::int64_t Get_Real_Page(std::int64_t page) const;
    // Grows [start, end) outwards to whole units and gives the rows to read.
    void Get_Real_Page_Range(std::int64_t& start, std::int64_t& end, std::uint32_t& first_row,
                             std::uint32_t& end_row) const;

    bool operator==(const NAND_Config&) const = default;
};

// Two ID texts match when every pair of blank-separated tokens is equal or
// one of them is "*"; the shorter text is padded with "*".
bool Match_ID(const std::wstring& a, const std::wstring& b);

// The data area of a page of `page_bytes`, before its spare area: the largest
// power of two not above it (2048 of 2112, 8192 of 9216).
std::uint32_t Data_Area_Bytes(std::uint32_t page_bytes);

// The chip-enable bit of line 1 to 8.
std::uint32_t Get_Bank_Enable(std::uint32_t bank);
// The chip-enable mask of a bank under the configuration's "Join CE".
std::uint32_t Get_Bank_Enable(std::uint32_t bank, const NAND_Config& config);

// Stores the up to three numbers of "Power" ("1/0x0024") in the setup's
// power fields; fields without a number keep their value.
void Parse_Power(const NAND_Config& config, Korvane_Internal::Reader_Setup& setup);

// Imports a settings text into a configuration, then applies the edited ID.
void Import_Config(NAND_Config& config, const std::wstring& text);
