// Walks every catalogue row and checks it against what a chip of that kind
// can be; a failure prints the whole row as its settings text.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <optional>
#include <regex>
#include <set>

#include "config/catalogue/chip_catalogue.h"
#include "framework/values.h"
#include "reader/retry/retry.h"

namespace {

using Korvane_Internal::NAND_Assembler::Read_Retry::Registry;

// Megabytes per chip enable that the ID's second byte gives: the Linux
// kernel's device-code table (small-page, then extended-ID codes, 8- and
// 16-bit, 3.3 and 1.8 V), and the density codes of the joint Intel/Micron
// dies (ID 2c, 89), which the kernel reads from the parameter page instead.
std::optional<std::int64_t> Device_Code_MB(const std::wstring& id) {
    struct Size {
        std::int64_t mb;
        std::vector<unsigned> codes;
    };
    static const std::vector<Size> kernel = {
        {4, {0x6b, 0xe3, 0xe5}},
        {8, {0xd6, 0xe6}},
        {16, {0x33, 0x73, 0x43, 0x53}},
        {32, {0x35, 0x75, 0x45, 0x55}},
        {64, {0x36, 0x76, 0x46, 0x56, 0xa2, 0xa0, 0xf2, 0xd0, 0xf0, 0xb2, 0xb0, 0xc2, 0xc0}},
        {128, {0x78, 0x39, 0x79, 0x72, 0x49, 0x74, 0x59, 0xa1, 0xf1, 0xd1, 0xb1, 0xc1, 0xad}},
        {256, {0x71, 0xaa, 0xda, 0xba, 0xca}},
        {512, {0xac, 0xdc, 0xbc, 0xcc}},
        {1024, {0xa3, 0xd3, 0xb3, 0xc3}},
        {2048, {0xa5, 0xd5, 0xb5, 0xc5}},
        {4096, {0xa7, 0xd7, 0xb7, 0xc7}},
        {8192, {0xae, 0xde, 0xbe, 0xce}},
        {16384, {0x1a, 0x3a, 0x2a, 0x4a}},
        {32768, {0x1c, 0x3c, 0x2c, 0x4c}},
        {65536, {0x1e, 0x3e, 0x2e, 0x4e}}};
    static const std::vector<Size> intel_micron = {
        {2048, {0x48}}, {4096, {0x68, 0x44}}, {8192, {0x88, 0x64}}, {16384, {0xa8, 0x84}},
        {32768, {0xc8, 0xa4}}, {65536, {0xc4}}};
    const unsigned maker = std::stoul(id.substr(0, 2), nullptr, 16);
    const unsigned code = std::stoul(id.substr(3, 2), nullptr, 16);
    auto find = [code](const std::vector<Size>& table) -> std::optional<std::int64_t> {
        for (const Size& size : table)
            if (std::find(size.codes.begin(), size.codes.end(), code) != size.codes.end()) return size.mb;
        return std::nullopt;
    };
    if (maker == 0x2c || maker == 0x89)
        if (auto mb = find(intel_micron)) return mb;
    return find(kernel);
}

// Rows whose banks are smaller than their device code says, and why they
// are right (docs/catalogue-sources.md): SanDisk sells 16 Gb dies of which
// only half is good, under the 16 Gb ID.
const std::set<std::wstring> partial_dies = {L"SDTNKLAHSM-1024", L"SDTNKLBHSM-2048", L"SDTNKLCHSM-4096",
                                             L"SDTNLJAHSM-1024", L"SDTNLLBHSM-4096"};

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

    // A bank is one chip enable, as big as its device code says. Joined
    // banks are left out: the table counts them both per line and per bank.
    const std::optional<std::int64_t> code_mb = id_sound ? Device_Code_MB(row.ID_Code) : std::nullopt;
    if (code_mb && row.Join_CE.empty() && !partial_dies.count(row.Name))
        check(bank_mb == *code_mb, "bank size disagrees with the ID's device code");

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
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"page is not data plus spare"}));
    bad = row;
    bad.Banks = L"1 x MB";
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"banks: Wrong Banks format"}));
    bad = row;
    bad.Banks = L"2 x 256 MB";  // dc is 512 MB on one chip enable
    EXPECT_EQ(Faults_Of(bad), (std::vector<std::string>{"bank size disagrees with the ID's device code"}));
    bad.Join_CE = L"1-2/3-4";
    EXPECT_TRUE(Faults_Of(bad).empty());
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
