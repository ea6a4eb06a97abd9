// Walks every catalogue row and checks it against what a chip of that kind
// can be; a failure prints the whole row as its settings text.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <regex>

#include "config/catalogue/chip_catalogue.h"
#include "config/catalogue/id_check.h"
#include "framework/values.h"
#include "reader/retry/retry.h"

namespace {

using Korvane_Internal::NAND_Assembler::Read_Retry::Registry;

// Empty when the row is sound, else what is wrong with it.
std::vector<std::string> Faults_Of(const NAND_Config& row) {
    std::vector<std::string> faults;
    auto check = [&](bool sound, const char* fault) {
        if (!sound) faults.push_back(fault);
    };
    static const std::wregex id_form(L"[0-9a-f]{2} [0-9a-f]{2} [0-9a-f]{2} [0-9a-f]{2}");
    const bool id_sound = std::regex_match(row.ID_Code, id_form);
    check(id_sound, "ID is not four lower-case hexadecimal tokens");
    check(!row.Company.empty() && !row.Name.empty(), "no company or no name");
    check(row.Bus == L"8" || row.Bus == L"16" || row.Bus == L"16-8", "unknown bus");
    check(!(row.Bus == L"16" && row.DDR), "16-bit DDR");
    check(row.Cmd == L"Std" || row.Cmd == L"WL" || row.Cmd == L"WL v2" || row.Cmd == L"HYBRIDx3", "unknown Cmd");
    // A retry text is a strategy name, or the chip's own ID (no strategy).
    check(row.Retry.empty() || row.Retry == row.ID_Code || Registry().Find(row.Retry) != nullptr,
          "retry name not in the registry");

    // The page holds a power-of-two data area and a spare area of at most a fifth of it.
    const std::uint32_t data = std::bit_floor(row.Page);
    check(data >= 512 && row.Page > data && (row.Page - data) * 5 <= data, "page is not data plus spare");

    std::uint32_t banks = 0;
    std::int64_t bank_mb = 0;
    std::uint64_t dump = 0;
    try {
        banks = row.Get_Bank_Count();
        bank_mb = row.Get_Bank_Size_MB();
        dump = row.Get_Bank_Dump_Size();
        for (std::uint32_t bank = 1; bank <= banks; ++bank)
            check(Get_Bank_Enable(bank, row) != 0, "bank without chip enable");
    } catch (const ZEKT_Exception& e) {
        faults.push_back("banks: " + To_UTF8(e.message));
        return faults;
    }
    check(banks >= 1 && banks <= 8 && bank_mb > 0, "bank count or size out of range");

    // Block and Blocks describe the same bank as "Banks": data at least the
    // bank's size, spare and spare blocks included at most a quarter more.
    const std::uint64_t bank_bytes = static_cast<std::uint64_t>(bank_mb) << 20;
    const std::uint32_t unit = row.Is_Triple_Page() ? 3 * row.Page : row.Page;
    if (row.Block != 0) check(row.Block % unit == 0, "block is not a whole number of pages");
    if (row.Block != 0 && row.Blocks != 0)
        check(dump >= bank_bytes && dump <= bank_bytes + bank_bytes / 4, "Block x Blocks disagrees with Banks");

    // Company, page, block, bus, bank size and dies agree with the ID's own
    // word, or the row is a listed exception.
    for (const Catalogue::Disagreement& disagreement : Catalogue::Unexplained_Disagreements(row))
        faults.push_back(To_UTF8(disagreement.text));

    // The rows of the whole dump, holes included, fit the row address cycles.
    try {
        std::int64_t start = 0, end = static_cast<std::int64_t>(dump);
        std::uint32_t first_row = 0, end_row = 0;
        row.Get_Real_Page_Range(start, end, first_row, end_row);
        check(row.Row >= 2 && row.Row <= 3, "row cycles out of range");
        check(std::uint64_t{end_row} <= (std::uint64_t{1} << (8 * row.Row)), "rows exceed the row address cycles");
        check(first_row == 0 && end_row > 0, "empty row range");
    } catch (const ZEKT_Exception& e) {
        faults.push_back("rows: " + To_UTF8(e.message));
    }
    // A skip rule keeps part of its period.
    if (row.Skip_Page_1 != 0xFFFFFFFF) check(row.Skip_Page_1 <= row.Skip_Mask_1, "skip rule 1 keeps everything");
    if (row.Skip_Page_2 != 0xFFFFFFFF) check(row.Skip_Page_2 <= row.Skip_Mask_2, "skip rule 2 keeps everything");
    return faults;
}

}  // namespace

TEST(Chip_Catalogue_Selfcheck, EveryRowIsSound) {
    const Chip_Catalogue catalogue;
    for (const NAND_Config& row : catalogue) {
        const std::vector<std::string> faults = Faults_Of(row);
        if (faults.empty()) continue;
        NAND_Config shown = row;
        std::string report;
        for (const std::string& fault : faults) report += fault + "\n";
        ADD_FAILURE() << report << To_UTF8(Export_Properties(shown));
    }
}

TEST(Chip_Catalogue_Selfcheck, FindsFaultsInBadRows) {
    const Chip_Catalogue catalogue;
    // F4GMSAP: 1 x 512 MB of 2112-byte pages, no block values.
    NAND_Config row = *catalogue.Filter(L"F4GMSAP", L"").at(0);
    ASSERT_TRUE(Faults_Of(row).empty());

    NAND_Config bad = row;
    bad.Set_ID_Code(L"2C dc 90 95");
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"ID is not four lower-case hexadecimal tokens"}));
    bad = row;
    bad.Retry = L"Micron v9";
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"retry name not in the registry"}));
    bad = row;
    bad.Block = row.Page * 64 + 1;
    bad.Blocks = 0x1000;
    EXPECT_EQ(Faults_Of(bad).front(), "block is not a whole number of pages");
    bad = row;
    bad.Block = row.Page * 64;
    bad.Blocks = 0x800;  // half the bank
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"Block x Blocks disagrees with Banks"}));
    bad = row;
    bad.Page = 2048;
    EXPECT_EQ(Faults_Of(bad),
              (std::vector<std::string>{"page is not data plus spare", "Page 2048, the ID says 2048 + 64"}));
    bad = row;
    bad.Banks = L"1 x MB";
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"banks: Wrong Banks format"}));
    bad = row;
    bad.Banks = L"2 x 256 MB";  // dc is 512 MB on one chip enable
    EXPECT_EQ(Faults_Of(bad),
              (std::vector<std::string>{"Banks 2 x 256 MB, the ID says 512 MB per chip enable"}));
    bad.Join_CE = L"1-2/3-4";
    EXPECT_TRUE(Faults_Of(bad).empty());
    bad = row;
    bad.Page = 4320;
    bad.Bus = L"16";
    bad.Company = L"Hynix";
    bad.Skip_Mask_1 = 0x3ffff;  // two dies where the third byte, 90, says one
    bad.Skip_Page_1 = 0x10000;
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"Company Hynix, the ID's maker is Micron",
                                                         "Page 4320, the ID says 2048 + 64", "Bus 16, the ID says 8",
                                                         "Skip rules for 2 dies, the ID says 1"}));
    bad = row;
    bad.Set_ID_Code(L"2c 3a 90 95");
    bad.Banks = L"1 x 16 GB";
    bad.Row = 2;
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"rows exceed the row address cycles"}));
    bad = row;
    bad.Skip_Mask_1 = 0xff;
    bad.Skip_Page_1 = 0x56;
    bad.Skip_Mask_2 = 0x1fff;
    bad.Skip_Page_2 = 0x1080;
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"rows: Cant calc real page from config skips"}));
}

TEST(Chip_Catalogue_Selfcheck, EveryExceptionExplainsADisagreement) {
    const Chip_Catalogue catalogue;
    for (const Catalogue::Id_Exception& exception : Catalogue::Id_Exceptions()) {
        const bool used = std::any_of(catalogue.begin(), catalogue.end(), [&](const NAND_Config& row) {
            const auto found = Catalogue::Id_Disagreements(row);
            return exception.Covers(row) && std::any_of(found.begin(), found.end(), [&](const auto& disagreement) {
                       return disagreement.field == exception.field;
                   });
        });
        EXPECT_TRUE(used) << To_UTF8(exception.id) << " " << (exception.name ? To_UTF8(exception.name) : "");
    }
}
