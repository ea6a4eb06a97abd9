// The catalogue as the chip list shows it: its size, family structure,
// statistics, vocabulary, the rows that show each kind of entry, and the filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "config/catalogue/chip_catalogue.h"
#include "config/catalogue/records.h"
#include "framework/values.h"
#include "reader/retry/retry.h"

namespace {

const Chip_Catalogue& Shared() {
    static const Chip_Catalogue catalogue;
    return catalogue;
}

// How many rows give each value of one key.
template <typename Value>
std::map<Value, int> Tally(const std::function<Value(const NAND_Config&)>& key) {
    std::map<Value, int> tally;
    for (const NAND_Config& row : Shared()) ++tally[key(row)];
    return tally;
}

int Count(const std::function<bool(const NAND_Config&)>& test) {
    return static_cast<int>(std::count_if(Shared().begin(), Shared().end(), test));
}

std::vector<std::wstring> Names(const std::vector<const NAND_Config*>& rows) {
    std::vector<std::wstring> names;
    for (const NAND_Config* row : rows) names.push_back(row->Name);
    return names;
}

constexpr std::uint32_t Off = 0xFFFFFFFF;

}  // namespace

TEST(Chip_Catalogue, HasEveryRowOnceFromSinglesAndFamilies) {
    const std::vector<Catalogue::Record>& records = Catalogue::All_Records();
    int singles = 0, families = 0, copies = 0;
    for (const Catalogue::Record& record : records) {
        if (record.packages.empty())
            ++singles;
        else {
            ++families;
            copies += static_cast<int>(record.packages.size());
        }
    }
    EXPECT_EQ(singles, 97);  // 95 before K9F1G16 and K9K2G16 got IDs of their own
    EXPECT_EQ(families, 367);
    EXPECT_EQ(copies, 737);
    ASSERT_EQ(Shared().size(), 834u);

    // Each record's rows are in the catalogue exactly once; the shared values
    // of a family are not a row.
    std::vector<std::vector<NAND_Config>> made(records.size());
    for (std::size_t i = 0; i < Shared().size(); ++i) made[Shared().Record_Of(i)].push_back(Shared()[i]);
    for (std::size_t r = 0; r < records.size(); ++r) {
        std::vector<NAND_Config> expected = Catalogue::Rows_Of(records[r]);
        std::stable_sort(expected.begin(), expected.end(),
                         [](const NAND_Config& a, const NAND_Config& b) { return a.Name < b.Name; });
        EXPECT_EQ(made[r], expected) << "record " << r;
    }

    // Packages of one family change only the keys a package may change.
    for (const Catalogue::Record& record : records)
        for (const NAND_Config& row : Catalogue::Rows_Of(record)) {
            NAND_Config shared = Catalogue::Rows_Of({record.chip, {}}).front();
            shared.Name = row.Name;
            shared.Banks = row.Banks;
            shared.Bus = row.Bus;
            shared.DDR = row.DDR;
            shared.Power = row.Power;
            shared.Join_CE = row.Join_CE;
            EXPECT_EQ(row, shared) << To_UTF8(row.Name);
        }
}

TEST(Chip_Catalogue, StartsWithF4GMSAPAndSortsByNameKeepingTheWrittenOrder) {
    const Catalogue::Chip& first = Catalogue::All_Records().front().chip;
    EXPECT_TRUE(Catalogue::All_Records().front().packages.empty());
    EXPECT_EQ(std::wstring(first.name), L"F4GMSAP");

    for (std::size_t i = 1; i < Shared().size(); ++i) {
        const NAND_Config& before = Shared()[i - 1];
        const NAND_Config& after = Shared()[i];
        // All names are ASCII, where code-unit order is plain character order.
        ASSERT_LE(before.Name, after.Name) << i;
        if (before.Name == after.Name) {
            EXPECT_LE(Shared().Record_Of(i - 1), Shared().Record_Of(i)) << i;
        }
    }
    for (const NAND_Config& row : Shared())
        for (wchar_t c : row.Name) ASSERT_LT(static_cast<unsigned>(c), 0x80u) << To_UTF8(row.Name);
    // Upper case sorts before lower case, digits before letters.
    EXPECT_EQ(Shared()[0].Name, L"05056 032G");
    EXPECT_EQ(Shared()[Shared().size() - 1].Name, L"xD card M2GB");
}

TEST(Chip_Catalogue, CompaniesNamesAndIds) {
    // After the companies mended to their maker byte (docs/catalogue-sources.md):
    // Toshiba 198, Hynix 98, Intel 92, Micron 31 and SanDisk 28 before.
    const std::map<std::wstring, int> companies = {
        {L"Toshiba", 147}, {L"Samsung", 158}, {L"Sandisk", 136}, {L"Hynix", 99}, {L"Intel", 86}, {L"Spectec", 61},
        {L"Micron", 46},   {L"SanDisk", 69},  {L"Unknown", 12},  {L"Spectek", 6}, {L"Dynet", 6},  {L"Vdata", 3},
        {L"PQI", 2},       {L"Numonyx", 1},   {L"Fujitsu", 1},   {L"Olympus", 1}};
    EXPECT_EQ(Tally<std::wstring>([](const NAND_Config& c) { return c.Company; }), companies);

    const auto names = Tally<std::wstring>([](const NAND_Config& c) { return c.Name; });
    EXPECT_EQ(names.size(), 372u);
    EXPECT_EQ(names.at(L"Unknown"), 366);
    EXPECT_EQ(names.at(L"Monolith"), 78);
    EXPECT_EQ(names.count(L""), 0u);

    const auto ids = Tally<std::wstring>([](const NAND_Config& c) { return c.ID_Code; });
    // 430 before the mended IDs (docs/catalogue-sources.md): seven new ones,
    // and 45 3e 98 b4 became the 45 3c 98 b4 of a family already there.
    EXPECT_EQ(ids.size(), 433u);
}

TEST(Chip_Catalogue, StructureStatistics) {
    EXPECT_EQ(Tally<std::wstring>([](const NAND_Config& c) { return c.Bus; }),
              (std::map<std::wstring, int>{{L"8", 790}, {L"16", 31}, {L"16-8", 13}}));  // 9 x8 parts mended
    EXPECT_EQ(Tally<std::uint32_t>([](const NAND_Config& c) { return c.Get_Bank_Count(); }),
              (std::map<std::uint32_t, int>{{1, 402}, {2, 247}, {4, 174}, {8, 9}, {3, 2}}));
    EXPECT_EQ(Tally<std::wstring>([](const NAND_Config& c) { return c.Banks.substr(c.Banks.size() - 2); }),
              (std::map<std::wstring, int>{{L"MB", 69}, {L"GB", 765}}));

    const auto pages = Tally<std::uint32_t>([](const NAND_Config& c) { return c.Page; });
    EXPECT_EQ(pages.size(), 45u);
    // 2c 68 00 27 moved two rows from 4320 to 8640.
    const std::map<std::uint32_t, int> frequent = {{9216, 119}, {17664, 111}, {2112, 88}, {4320, 76},
                                                   {8640, 59},  {18336, 53},  {18432, 44}, {528, 25}};
    for (const auto& [page, rows] : frequent) EXPECT_EQ(pages.at(page), rows) << page;
    // The seven named sizes are the most frequent ones.
    for (const auto& [page, rows] : pages)
        if (!frequent.count(page)) {
            EXPECT_LT(rows, 44) << page;
        }

    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Block != 0 && c.Blocks != 0; }), 304);
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Block != 0 && c.Blocks == 0; }), 33);
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Block == 0 && c.Blocks != 0; }), 0);
}

TEST(Chip_Catalogue, ReadStatistics) {
    EXPECT_EQ(Tally<std::wstring>([](const NAND_Config& c) { return c.Cmd; }),
              (std::map<std::wstring, int>{{L"Std", 677}, {L"WL", 134}, {L"WL v2", 20}, {L"HYBRIDx3", 3}}));
    using Cycles = std::pair<std::uint32_t, std::uint32_t>;
    EXPECT_EQ(Tally<Cycles>([](const NAND_Config& c) { return Cycles{c.Col, c.Row}; }),
              (std::map<Cycles, int>{{{2, 3}, 804}, {{1, 3}, 17}, {{1, 2}, 7}, {{2, 2}, 6}}));
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Col == 1 && c.Page != 528; }), 0);
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Col == 2 && c.Row == 2 && c.Page != 2112; }), 0);
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.DDR; }), 125);
    EXPECT_EQ(Tally<std::uint32_t>([](const NAND_Config& c) { return c.RE_Up; }),
              (std::map<std::uint32_t, int>{{2, 818}, {1, 16}}));
    EXPECT_EQ(Tally<std::uint32_t>([](const NAND_Config& c) { return c.RE_Down; }),
              (std::map<std::uint32_t, int>{{2, 833}, {3, 1}}));
    // Rules for dies the ID does not have were taken out (docs/catalogue-sources.md).
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Skip_Page_1 != Off; }), 268);
    EXPECT_EQ(Count([](const NAND_Config& c) { return c.Skip_Page_2 != Off; }), 29);
}

TEST(Chip_Catalogue, SpecialStatistics) {
    EXPECT_EQ(Tally<std::wstring>([](const NAND_Config& c) { return c.Power; }),
              (std::map<std::wstring, int>{{L"", 765},
                                           {L"1/0x0024", 53},
                                           {L"1/0x80ac", 7},
                                           {L"1/0x08ac", 4},
                                           {L"1/0x84ac", 2},
                                           {L"1/0x80a4", 1},
                                           {L"1/0x80A0", 1},
                                           {L"1/0x80a8", 1}}));
    std::map<std::wstring, int> strategies;
    int own_id = 0;
    for (const NAND_Config& row : Shared()) {
        if (row.Retry.empty()) continue;
        if (row.Retry == row.ID_Code)
            ++own_id;
        else
            ++strategies[row.Retry];
        EXPECT_EQ(row.Retry.find(L'/'), std::wstring::npos) << To_UTF8(row.Name);
    }
    EXPECT_EQ(strategies, (std::map<std::wstring, int>{{L"Micron", 15},
                                                       {L"Sandisk v1", 12},
                                                       {L"Sandisk v3", 9},
                                                       {L"Hynix v5", 9},
                                                       {L"Hynix v2", 6},
                                                       {L"Hynix v6", 6},
                                                       {L"Hynix v7", 6},
                                                       {L"Micron v2", 3},
                                                       {L"Sandisk v2", 3},
                                                       {L"Hynix v3", 3},
                                                       {L"Samsung v1", 3},
                                                       {L"Hynix v1", 1},
                                                       {L"Hynix v4", 1}}));
    EXPECT_EQ(own_id, 4);
    EXPECT_EQ(Tally<std::wstring>([](const NAND_Config& c) { return c.Join_CE; }),
              (std::map<std::wstring, int>{{L"", 811}, {L"1-2-3-4", 11}, {L"1-3/2-4", 8}, {L"1-2", 2}, {L"1-3", 2}}));
}

TEST(Chip_Catalogue, NamesOfEachCompany) {
    const std::map<std::wstring, std::set<std::wstring>> vocabulary = {
        {L"Toshiba", {L"15117 064G", L"29F32G08EBAAA", L"BGA-152", L"BGA-152 05549 064G", L"F012808UCT1-FD",
             L"F064B08UCT1-8A", L"F064B08UCT1-C0", L"FA64608UCT1", L"FOT16AL16M0 ", L"FQ64G08UCT1-19",
             L"FQ64G08UCT1-24", L"FZBWTC58NVG4D2HTA00", L"FZBWTC58NVG6T2HTA00", L"FZBWTC58TVG5T2HTA00",
             L"FZBWTHS8TVG8T2JTA20", L"H27U1G8F2B", L"H27UEG8YEAYR", L"HVPD4F4", L"HVPE3", L"HVPE4F3",
             L"HVPG3P3", L"HVPG4F6", L"HVPG4F7", L"HVPG4F8", L"Monolith", L"SDTNLMCHSM-4096", L"SDTNNAMEN-004G",
             L"SDTNNMAHSM-004G", L"SDTNNMBHSM-008G", L"SDTNPNAHEM-004G", L"SDTNSIBMB-032G", L"SDZNMMDHER-032",
             L"STDNNNBHEM-008G", L"Sandisk 07097", L"TC58DVG14B1FT00", L"TC58DVM72A", L"TC58DVM9", L"TC58NVG1",
             L"TC58NVG2", L"TC58NVG3", L"TC58NVG4T2FTA00", L"TC58NVG5D2FTAIO", L"TC58NVG6D2H",
             L"TC58NVG6T2HTA00", L"TF15G2JAHA", L"TF57G2JAJA", L"TF57G3GAHJ", L"TH15G3GAFA", L"TH16G3GAFA",
             L"TH58DVG2", L"TH58NVG3D4BTGI0", L"TH58NVG4D4CTG00", L"TH58NVG5D1DTG20", L"TH58NVG5D2ETAK0",
             L"TH58NVG5D4CTG20", L"TH58NVG5HOETA20", L"TH58NVG5S3CXLM5", L"TH58NVG5T2DTGK0", L"TH58NVG5T2ETA20",
             L"TH58NVG6D2ELA48", L"TH58NVG6D2ETA20", L"TH58NVG6D2FLA49", L"TH58NVG6D4CXLM5", L"TH58NVG6S2ELAM8",
             L"TH58NVG6T2DTG20", L"TH58NVG6T2ETA2A", L"TH58NVG7D1DLA87", L"TH58NVG7D2ELA48", L"TH58NVG7D2ELA89",
             L"TH58NVG7D2HTA20", L"TH58NVG7D7EBAKD", L"TH58NVG7D7FBASB", L"TH58NVG7E2FTA20", L"TH58NVG7H2HTA20",
             L"TH58NVG7T2ELA46", L"TH58NVG802FLA89", L"TH58NVG8D26TA20", L"TH58NVG8D2ELA89", L"TH58NVG8T2HTA20",
             L"TH58TEG8DBHBASC", L"TH58TEG8THLTA", L"TH58TEG902JBA89 BGA-152", L"TH58TFG9DDLBA8C",
             L"TH58TFT1EFLBA8P", L"TT17G55AIV", L"TU8AG5LAPA", L"TU99G2LAKA", L"Unknown", L"Unknown BGA-152"}},
        {L"Samsung", {L"Can be wrong", L"DFT04GW08S1PM", L"FBGSMMP-1D04", L"FZBWK9GBGD8UOM", L"K90KGY8S7C",
             L"K90MGY8S7M", L"K9ABG08U0A", L"K9ABG08U0B", L"K9ACGD8U0M-SCB0", L"K9BCG08U1A", L"K9BCG08U1M",
             L"K9BDGD8U0M", L"K9CDG08U5A", L"K9CFG08U1M", L"K9E2G08U0M", L"K9F1208U0C", L"K9F1208U0M",
             L"K9F1G08U0B", L"K9F1G16", L"K9F2808", L"K9F2G08", L"K9F4G08", L"K9F5808", L"K9F8G08",
             L"K9FAG08U0M-HTB0", L"K9G2G08U0M", L"K9G8G08U0B", L"K9G8G08UOM", L"K9GAG08U0A", L"K9GAG08U0E",
             L"K9GAG08U0M", L"K9GBG08U0A", L"K9GBG08U0M", L"K9HAG08U1M", L"K9HBG08U1A", L"K9HBG08U1M",
             L"K9HCG08", L"K9HCG08U1D", L"K9HCG08U2E", L"K9HCGZ8U5D", L"K9HCGZ8U5M", L"K9HDG08U1A",
             L"K9HDG08U5M", L"K9K2G08", L"K9K2G16", L"K9K4G08", L"K9K8G08U0M", L"K9K8G08U1M", L"K9L8G08",
             L"K9L8G08U1A", L"K9LAG08", L"K9LAG08U0A", L"K9LBG08U0D", L"K9LBG08U0M", L"K9LCG08U0A",
             L"K9LCG08U0B", L"K9LCG08U1M", L"K9LDGY8S1A-HCK0", L"K9LDGY8S1D", L"K9MDG08U5M", L"K9NBG08",
             L"K9NCG08U5M", L"K9PDG08U2E", L"K9PDGZ8U5D", L"K9PFG08U5A", L"K9PFG08U5M", L"K9W8G08", L"K9WAG08",
             L"KMRC10014M-B809", L"Monolith", L"TC58DVG04B1FT00", L"TCGSTBP-0S03", L"TDGSTDP-0S06",
             L"TDGSTDP-1003", L"TDGSTFP-0S03", L"TFGSTBP-1Q06", L"TFGSTMP-1D06", L"THGSTDP-1Q06",
             L"THGSTMP-1006", L"Unknown", L"xD card 128", L"xD card 256", L"xD card H1024", L"xD card H512"}},
        {L"Sandisk", {L"05056 032G", L"05105 064G", L"05131 032G", L"05448 064G (BGA-152)", L"05466-064G",
             L"0612ML1Q00NP", L"07097-064G", L"07659 064G (TLGA)", L"08955 064G", L"105055 064GA",
             L"14207 016G", L"24112 064G (BGA-152)", L"24155 1266 China (BGA-152)", L"5131 064G",
             L"BGA-152  20043 64G", L"DF55G2GADA", L"Monolith", L"Monolith v2", L"SDTHGEHE0-1024",
             L"SDTNGAHE0-256", L"SDTNGCHE0-2048", L"SDTNIGHSM-2048", L"SDTNIGHSM-4096", L"SDTNKHHSM-16384",
             L"SDTNKJCHSN-2048", L"SDTNKLAHSM-1024", L"SDTNKLBHSM-2048", L"SDTNKLCHSM-4096", L"SDTNKMAHSM-1024",
             L"SDTNKMAHSM-2048", L"SDTNLJAHSM-1024", L"SDTNLLBHSM-4096", L"SDTNLLCHSM-8192", L"SDTNMMAHSM-002G",
             L"SDTNMMBHSM-004G", L"SDTNMMCHSM-008G", L"SDTNMNCHSM-016G", L"SDTNNMCHSM-016G", L"SDTNNNBHSM-008G",
             L"SDTNNNBHSM-016G", L"SDTNPNCHEM-032G", L"SDTNQCBMA-008G", L"SDTNQCCMA-064G", L"SDTNQFAMA-004G",
             L"SDTNQG?MB-016G (TSOP-48)", L"SDTNQGAMA-008GP", L"SDTNQGBMB-016GP", L"SDTNQGCMB-032G",
             L"SDTNSGBMB-032G", L"SDUNIHHSM-8192", L"SDXNGDHE0-4096-I", L"Sandisk 15033 032G (BGA-152)",
             L"Unknown"}},
        {L"Hynix", {L"Can be wrong", L"D27QFGDYTEBAR", L"D27UAG8T2MTR", L"D27UCG8T2BTR", L"FD32B08UCH1-49",
             L"H27Q1T08EM6R", L"H27Q1TLYEB9R", L"H27QDG8NDMTYR", L"H27QFG8YEE6R", L"H27QFGLVEB8R",
             L"H27UAG8T2ATR", L"H27UAG8T2BTR", L"H27UBG8M2AYR", L"H27UBG8T2BTR", L"H27UCG8T2DTR",
             L"H27UCG8T2MYR", L"H27UDG8VEAYR", L"H27UDG8VEMYR", L"H27UDG8YFMXR", L"HY27UBG8T2ATR",
             L"HY27UBG8T2MYR", L"HY27UBG8U5MTR", L"HY27UF081G2M", L"HY27UF084G2M", L"HY27UG082G (?)",
             L"HY27UG082G2M", L"HY27UG084G2M", L"HY27UG088G5", L"HY27UG088G5M", L"HY27UH088G2", L"HY27UH08AG5",
             L"HY27US08121M", L"HY27US08281A", L"HY27US08561A", L"HY27UT084G", L"HY27UT084G2", L"HY27UT088G2M",
             L"HY27UU088G5M", L"HY27UU08AG5A", L"HY27UV08AG5", L"HY27UV08BG5", L"HY27UV08BGFM", L"HY27UW08BGFM",
             L"M12M0974AJ", L"Monolith", L"Unknown"}},
        {L"Intel", {L"29F08G08CANCI", L"29F128G08CFEFB", L"29F128G08CJAAA", L"29F128G08FAMCI", L"29F16B08CCMEI",
             L"29F16B08JAMDB", L"29F16G080AA", L"29F16G08AAMCI", L"29F16G08FAN", L"29F16G08MAA",
             L"29F32B08JAMEI", L"29F32G08AAM02", L"29F32G08AAMDB", L"29F32G08AAMEI", L"29F32G08ACNE1",
             L"29F32G08CAMCI", L"29F32G08CBAAA", L"29F32G08FAA", L"29F32G08FAMB2", L"29F32G08FANC1",
             L"29F32G08JAMD2", L"29F32G08QAA", L"29F32G08TAA", L"29F64G08AA", L"29F64G08AAME1",
             L"29F64G08AATEI", L"29F64G08CAMD2", L"29F64G08CAMDB", L"29F64G08CFAAA", L"29F64G08CFABA",
             L"29F64G08FAMCI", L"29F64GO8CAMDA", L"29F8G08MAA", L"FD32G08UCN1", L"JS29F08G08AAMB2",
             L"JS29F16G08AAMDB", L"JS29F16G08CANC1", L"MLI56G08HAMDB", L"Unknown", L"Unknown (strange chip)",
             L"YF128GB"}},
        {L"Spectec", {L"29F128G08EBAAB", L"29F16G08DAA", L"29F256G08CJAAB", L"29F32C08CT", L"29F64G08CBABA",
             L"3WB12 NX637", L"64GB0902", L"FZBW29F128G08EFAAA", L"FZBW29F256G08EKAAA", L"MJA0258M-S", L"PF600",
             L"PFG06", L"PFG84", L"PFH24 (can be wrong)", L"PFHI8-37AF", L"Unknown", L"Unknown (can be wrong)"}},
        {L"Micron", {L"29F128G08AJAAA", L"29F128G08CJABA", L"29F16G08AFABA", L"29F16G08FANBI", L"29F256G08CJABA",
             L"29F32G08CFABA", L"29F64G08AFAAA", L"29F64G08CBAAA", L"29F8G08MAD", L"4GC22 NW702",
             L"4KB12 NW612", L"MT29F128G08EBEBBWP", L"MT29F2G08", L"MT29F4G08", L"PF470", L"PFB60", L"Unknown"}},
        {L"SanDisk", {L"Monolith", L"Monolith (can be wrong, may be 16-bit)", L"SDTNKEHSM-4096", L"SDTNKJBHSM-1024",
             L"SDTNLMBHSM-4096", L"SDTNLMCHSM-8192", L"SDTNPQBHEM-016G", L"SDTNSCAMA-008G", L"SDTNSGAMA-016G",
             L"Unknown"}},
        {L"Unknown", {L"F4GMSAP", L"FDL63AP-32U", L"HN29V1G", L"K9F1G08U0A", L"NAND01GW3B2B", L"NAND02GW382CN6",
             L"NAND128W3A0AN6", L"NAND512W3A", L"P1U4GR30CT", L"R1FV04G13RSA", L"ST256TS0301", L"Unknown"}},
        {L"Dynet", {L"D27UBG8T2CTR", L"D27UCG8T2ETR", L"Unknown"}},
        {L"Spectek", {L"FBAL41B8GK3W", L"FBNL41B8GK3PG", L"FBNL63B5IK3WG", L"FNNM29B2GK3WG", L"FT16G08UCM03",
             L"FTNM40A4GK3W2"}},
        {L"Vdata", {L"VD101L3LC03", L"VD101M3MC03", L"VD101N3NC03"}},
        {L"PQI", {L"PQI-KA04-072A-1D00", L"PQI-KA04-072F-1D00"}},
        {L"Numonyx", {L"NAND4GW3B2D"}},
        {L"Fujitsu", {L"xD card M1024"}},
        {L"Olympus", {L"xD card M2GB"}},
    };
    // Names whose rows now name the company of their maker byte (docs/catalogue-sources.md).
    struct Move {
        const wchar_t* from;
        const wchar_t* to;
        std::vector<std::wstring> names;
    };
    const std::vector<Move> moved = {
        {L"Toshiba", L"SanDisk",
         {L"15117 064G", L"BGA-152", L"BGA-152 05549 064G", L"Monolith", L"SDTNLMCHSM-4096", L"SDTNNMBHSM-008G",
          L"SDTNPNAHEM-004G", L"SDTNSIBMB-032G", L"SDZNMMDHER-032", L"Sandisk 07097", L"TF15G2JAHA", L"TF57G2JAJA",
          L"TF57G3GAHJ", L"TH15G3GAFA", L"TH16G3GAFA", L"TT17G55AIV", L"TU8AG5LAPA", L"TU99G2LAKA",
          L"Unknown BGA-152"}},
        {L"Toshiba", L"Micron",
         {L"F012808UCT1-FD", L"F064B08UCT1-8A", L"F064B08UCT1-C0", L"FA64608UCT1", L"FQ64G08UCT1-19",
          L"FQ64G08UCT1-24"}},
        {L"Intel", L"Micron",
         {L"29F128G08CFEFB", L"29F128G08CJAAA", L"29F32G08CBAAA", L"29F64G08CFAAA", L"29F64G08CFABA"}},
        {L"Hynix", L"Micron", {L"FD32B08UCH1-49"}},
        {L"Toshiba", L"Hynix", {L"H27U1G8F2B", L"H27UEG8YEAYR"}}};
    std::map<std::wstring, std::set<std::wstring>> expected = vocabulary;
    for (const Move& move : moved)
        for (const std::wstring& name : move.names) {
            expected[move.from].erase(name);
            expected[move.to].insert(name);
        }
    std::map<std::wstring, std::set<std::wstring>> found;
    for (const NAND_Config& row : Shared()) found[row.Company].insert(row.Name);
    for (const auto& [company, names] : expected) EXPECT_EQ(found[company], names) << To_UTF8(company);
    EXPECT_EQ(found.size(), vocabulary.size());
    EXPECT_TRUE(found[L"Toshiba"].count(L"FOT16AL16M0 "));
    EXPECT_TRUE(found[L"Hynix"].count(L"Monolith"));
    EXPECT_TRUE(found[L"Sandisk"].count(L"BGA-152  20043 64G"));
}

namespace {

struct Telling {
    const wchar_t* company;
    const wchar_t* name;
    const wchar_t* id;
    const wchar_t* banks;
    std::uint32_t page;
    std::function<void(NAND_Config&)> others;
};

}  // namespace

TEST(Chip_Catalogue, RowsThatShowEachKindOfEntry) {
    const std::vector<Telling> rows = {
        {L"Unknown", L"F4GMSAP", L"2c dc 90 95", L"1 x 512 MB", 2112, [](NAND_Config&) {}},
        {L"Unknown", L"NAND128W3A0AN6", L"20 73 a5 00", L"1 x 16 MB", 528,
         [](NAND_Config& c) {
             c.Col = 1;
             c.Row = 2;
         }},
        {L"Unknown", L"NAND512W3A", L"20 76 20 76", L"1 x 64 MB", 528, [](NAND_Config& c) { c.Block = 0x4200; }},
        {L"Spectec", L"MJA0258M-S", L"2c ca 80 d5", L"1 x 256 MB", 2112, [](NAND_Config& c) { c.Bus = L"16"; }},
        {L"Toshiba", L"SDTNNMAHSM-004G", L"45 c7 94 32", L"1 x 4 GB", 8640, [](NAND_Config& c) { c.Bus = L"16-8"; }},
        {L"Sandisk", L"SDTNQGAMA-008GP", L"45 de 94 93", L"1 x 8 GB", 17664, [](NAND_Config& c) { c.DDR = true; }},
        {L"Micron", L"29F64G08CBAAA", L"2c 88 04 4b", L"1 x 8 GB", 8640, [](NAND_Config& c) { c.Power = L"1/0x0024"; }},
        {L"Spectec", L"29F64G08CBABA", L"2c 64 44 4b", L"1 x 8 GB", 9216, [](NAND_Config& c) { c.Retry = L"Micron"; }},
        {L"Hynix", L"H27UCG8T2MYR", L"ad de 94 d2", L"1 x 8 GB", 8640,
         [](NAND_Config& c) {
             c.RE_Up = 1;
             c.RE_Down = 3;
             c.Retry = L"Hynix v1";
         }},
        {L"Toshiba", L"29F32G08EBAAA", L"2c 68 08 56", L"1 x 4 GB", 4320,
         [](NAND_Config& c) {
             c.Block = 0x195000;
             c.Blocks = 0xaac;
             c.Skip_Mask_1 = 0x1ff;
             c.Skip_Page_1 = 0x180;
         }},
        {L"Toshiba", L"TH58NVG7D2ELA48", L"98 de 95 32", L"2 x 8 GB", 8640,
         [](NAND_Config& c) {
             c.Block = 0x87000;
             c.Blocks = 0x4000;
             c.RE_Up = 1;
             c.Skip_Mask_1 = 0xfffff;
             c.Skip_Page_1 = 0x80000;
         }},
        {L"Spectec", L"FZBW29F256G08EKAAA", L"2c a8 09 df", L"2 x 16 GB", 9216,
         [](NAND_Config& c) {
             c.Block = 0x360000;
             c.Blocks = 0x1560;
             c.Skip_Mask_1 = 0x1ff;
             c.Skip_Page_1 = 0x180;
             c.Skip_Mask_2 = 0x1fffff;
             c.Skip_Page_2 = 0x156000;
         }},
        {L"Toshiba", L"Unknown", L"45 de 98 92", L"1 x 8 GB", 9216,
         [](NAND_Config& c) {
             c.Block = 0x244800;
             c.Blocks = 0x1000;
             c.Cmd = L"WL";
             c.Skip_Mask_1 = 0xff;
             c.Skip_Page_1 = 0x56;
         }},
        {L"Sandisk", L"SDTNNNBHSM-016G", L"45 4a a9 82", L"1 x 16 GB", 9216,
         [](NAND_Config& c) {
             c.Bus = L"16-8";
             c.Block = 0x244800;
             c.Blocks = 0x2000;
             c.Cmd = L"WL v2";
             c.Skip_Mask_1 = 0xff;
             c.Skip_Page_1 = 0x56;
             c.Skip_Mask_2 = 0x1fffff;
             c.Skip_Page_2 = 0x100000;
         }},
        {L"Toshiba", L"SDTNNAMEN-004G", L"45 c7 98 b2", L"1 x 4 GB", 9216,
         [](NAND_Config& c) {
             c.Bus = L"16-8";
             c.Block = 0xd8000;
             c.Blocks = 0x15f8;
             c.Cmd = L"WL v2";
             c.Skip_Mask_1 = 0x3;
             c.Skip_Page_1 = 0x1;
         }},
        {L"Micron", L"MT29F128G08EBEBBWP", L"2c 84 48 63", L"1 x 16 GB", 9296,
         [](NAND_Config& c) {
             c.Block = 0x6cf000;
             c.Blocks = 0xaca;
             c.Cmd = L"HYBRIDx3";
             c.Retry = L"Micron v2";
         }},
        {L"Sandisk", L"08955 064G", L"45 3e 97 83", L"1 x 64 GB", 17664,
         [](NAND_Config& c) {
             c.Skip_Mask_1 = 0xfffff;
             c.Skip_Page_1 = 0x80000;
             c.Join_CE = L"1-2-3-4";
         }},
    };
    for (const Telling& telling : rows) {
        NAND_Config expected;
        expected.Company = telling.company;
        expected.Name = telling.name;
        expected.Set_ID_Code(telling.id);
        expected.Banks = telling.banks;
        expected.Page = telling.page;
        telling.others(expected);
        const int found = Count([&](const NAND_Config& c) {
            return c.Company == expected.Company && c.Name == expected.Name && c.ID_Code == expected.ID_Code &&
                   c.Banks == expected.Banks;
        });
        ASSERT_EQ(found, 1) << To_UTF8(expected.Name);
        for (const NAND_Config& row : Shared())
            if (row.Company == expected.Company && row.Name == expected.Name && row.ID_Code == expected.ID_Code &&
                row.Banks == expected.Banks) {
                NAND_Config found_row = row;
                EXPECT_EQ(Export_Properties(found_row), Export_Properties(expected));
                EXPECT_EQ(found_row, expected);
            }
    }
    // The first row written is the first single record.
    EXPECT_EQ(Catalogue::Rows_Of(Catalogue::All_Records().front()).front().Name, L"F4GMSAP");
}

TEST(Chip_Catalogue, SamsungRowsWithTheirIdAsRetryReadWithoutRetry) {
    std::vector<std::wstring> banks;
    for (const NAND_Config& row : Shared()) {
        if (row.Retry != L"ec de a4 32") continue;
        EXPECT_EQ(row.Company, L"Samsung");
        EXPECT_EQ(row.Name, L"Unknown");
        EXPECT_EQ(row.ID_Code, L"ec de a4 32");
        EXPECT_EQ(row.Page, 9216u);
        EXPECT_TRUE(row.DDR);
        banks.push_back(row.Banks);
        std::wstring name = L"unset";
        Korvane_Internal::NAND_Assembler::Read_Retry::Register_List parameters;
        Korvane_Internal::NAND_Assembler::Read_Retry::Parse_Retry(row.Retry, name, parameters);
        EXPECT_EQ(name, L"");
        EXPECT_TRUE(parameters.empty());
    }
    EXPECT_EQ(banks, (std::vector<std::wstring>{L"1 x 8 GB", L"2 x 8 GB", L"4 x 8 GB", L"8 x 8 GB"}));
}

TEST(Chip_Catalogue_Filter, EmptyTextsListEverythingInCatalogueOrder) {
    const std::vector<const NAND_Config*> all = Shared().Filter(L"", L"");
    ASSERT_EQ(all.size(), 834u);
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], &Shared()[i]);
    EXPECT_EQ(Shared().Filter(L"   ", L"  ").size(), 834u);
}

TEST(Chip_Catalogue_Filter, ById) {
    EXPECT_EQ(Names(Shared().Filter(L"", L"2c dc 90 95")), (std::vector<std::wstring>{L"F4GMSAP", L"FTNM40A4GK3W2"}));
    EXPECT_EQ(Shared().Filter(L"", L"2c").size(), 115u);
    EXPECT_EQ(Shared().Filter(L"", L" 2c ").size(), 115u);
    EXPECT_TRUE(Shared().Filter(L"", L"2C DC 90 95").empty());
    EXPECT_TRUE(Shared().Filter(L"", L"2C").empty());
    // "*" stands for any byte; the chip's own ID text ends with a blank.
    EXPECT_EQ(Names(Shared().Filter(L"", L"2c * 90 95 ")),
              (std::vector<std::wstring>{L"F4GMSAP", L"FNNM29B2GK3WG", L"FTNM40A4GK3W2"}));
    for (const NAND_Config* row : Shared().Filter(L"", L"* 3e"))
        EXPECT_EQ(row->ID_Code.substr(3, 2), L"3e") << To_UTF8(row->Name);
}

TEST(Chip_Catalogue_Filter, ByNameAndBoth) {
    const std::vector<const NAND_Config*> monolith = Shared().Filter(L"Monolith", L"");
    EXPECT_EQ(monolith.size(), 84u);
    std::set<std::wstring> names;
    for (const NAND_Config* row : monolith) names.insert(row->Name);
    EXPECT_EQ(names, (std::set<std::wstring>{L"Monolith", L"Monolith v2", L"Monolith (can be wrong, may be 16-bit)"}));
    EXPECT_TRUE(Shared().Filter(L"monolith", L"").empty());
    EXPECT_EQ(Shared().Filter(L"  Monolith ", L""), monolith);
    // A trailing blank of a name is part of it, but the filter never keeps one.
    EXPECT_EQ(Names(Shared().Filter(L"FOT16AL16M0 ", L"")), (std::vector<std::wstring>{L"FOT16AL16M0 "}));
    EXPECT_EQ(Names(Shared().Filter(L"TH58NVG7D2ELA4", L"98 de")),
              (std::vector<std::wstring>{L"TH58NVG7D2ELA48"}));
    EXPECT_TRUE(Shared().Filter(L"TH58NVG7D2ELA48", L"45").empty());
}

TEST(Chip_Catalogue, RowsAreCopiesTheCatalogueKeeps) {
    const Chip_Catalogue catalogue;
    NAND_Config chosen = catalogue[0];
    chosen.Name = L"edited";
    chosen.Banks = L"1 x 1 GB";
    EXPECT_NE(catalogue[0].Name, L"edited");
    EXPECT_EQ(catalogue[0], Shared()[0]);
}

TEST(Chip_Catalogue, EveryRowHasBanksAndWholeBlocks) {
    for (const NAND_Config& row : Shared()) {
        SCOPED_TRACE(To_UTF8(row.Name + L" " + row.ID_Code + L" " + row.Banks));
        EXPECT_NO_THROW(row.Get_Bank_Count());
        EXPECT_NO_THROW(row.Get_Bank_Size_MB());
        EXPECT_NO_THROW(row.Get_Bank_Dump_Size());
        if (row.Block != 0 && row.Blocks != 0) {
            const std::uint32_t unit = row.Is_Triple_Page() ? 3 * row.Page : row.Page;
            EXPECT_EQ(row.Block % unit, 0u);
        }
    }
}
