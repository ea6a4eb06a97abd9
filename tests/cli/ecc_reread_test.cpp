// korvane-cli verify --ecc against an emulated chip whose "Sim Retry Pages"
// read with more flips than the ECC mends until the retry registers hold
// given values: the exact row, the dump against the clean chip, the lists.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "ecc/codec.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

namespace {

constexpr std::size_t Page = 2112, Data = 2048, Block_Pages = 64, Blocks = 4;
constexpr const char* Layout = "bch step=512 m=13 t=8 poly=0x201b ecc=end";

struct Reread_Case {
    const char* retry;        // the configuration's "Retry"
    const char* sim_pages;    // "Sim Retry Pages"
    const char* levels;       // --levels, or ""
    const char* passed_at;    // the setting that mends every page; "" for none
    const char* row_pass;     // "(at retry level 5: N, " before "plain: 0)"
    const char* voltage = ""; // the option "Voltage", or ""
};

class Cli_Ecc_Reread : public testing::TestWithParam<Reread_Case> {};

TEST_P(Cli_Ecc_Reread, FailingPagesReadAgainUntilTheEccPasses) {
    const Reread_Case& c = GetParam();
    Temp_Folder folder;
    const Korvane_Ecc::Page_Codec codec(Korvane_Ecc::Parse_Layout(From_UTF8(Layout)), Data, Page - Data);
    std::vector<unsigned char> clean(Blocks * Block_Pages * Page, 0xFF);
    std::mt19937 random(28);
    for (std::size_t page = 0; page < Blocks * Block_Pages; ++page) {
        std::generate_n(clean.begin() + page * Page, Data, [&] { return static_cast<unsigned char>(random()); });
        codec.Encode_Page(clean.data() + page * Page);
    }
    folder.Put(L"chip.img", clean);
    NAND_Config chip;
    chip.Set_ID_Code(L"2c da 90 95");
    chip.Page = Page;
    chip.Block = Block_Pages * Page;
    chip.Blocks = Blocks;
    chip.Banks = L"1 x 1 MB";
    chip.Retry = From_UTF8(c.retry);
    Write_Sim_Chip(folder.Name(L"chip.txt"), chip, folder.Name(L"chip.img"),
                   L"\r\nSim Retry Pages  " + From_UTF8(c.sim_pages));
    const std::vector<std::string> files = {"--simulate", "--config", To_UTF8(folder.Name(L"chip.txt")), "--folder",
                                            To_UTF8((folder.path / "dumps").wstring())};
    auto run = [&](std::vector<std::string> command) {
        command.insert(command.end(), files.begin(), files.end());
        if (*c.voltage && command[0] != "ecc")
            command.insert(command.end(), {"--opt", "Voltage=" + std::string(c.voltage)});
        return Run_Cli(command);
    };
    ASSERT_EQ(run({"read", "--yes"}).status, 0);
    const std::vector<unsigned char> read = folder.Bytes(L"dumps/01_01.dump");
    std::vector<std::size_t> misread;
    for (std::size_t page = 0; page < Blocks * Block_Pages; ++page)
        if (!std::equal(read.begin() + page * Page, read.begin() + (page + 1) * Page, clean.begin() + page * Page))
            misread.push_back(page);
    ASSERT_GT(misread.size(), 3u);
    ASSERT_EQ(run({"ecc", "--layout", Layout}).status, 1);
    const std::vector<unsigned char> listed = folder.Bytes(L"dumps/01_01.dump.ecc");

    std::vector<std::string> verify = {"verify", "--ecc"};
    if (*c.levels) verify.insert(verify.end(), {"--levels", c.levels});
    const Cli_Result result = run(verify);
    const bool mended = *c.passed_at;
    const std::size_t n = misread.size();
    const std::string row = std::to_string(n) + " pages read again: " + std::to_string(mended ? n : 0) +
                            " now pass (" + (mended ? c.row_pass + std::to_string(n) + ", " : "") + "plain: 0), " +
                            std::to_string(mended ? 0 : n) + " still fail\n";
    EXPECT_EQ(result.status, mended ? 0 : 1) << result.err;
    // Statuses go to standard error, and so does a failing bank's row.
    EXPECT_EQ(result.out, mended ? "Bank_1  " + row : "");
    EXPECT_EQ(result.err, "Bank_1  Read again...\n" + (mended ? "" : "Bank_1  error: " + row));
    EXPECT_TRUE(folder.Bytes(L"dumps/01_01.dump") == (mended ? clean : read));
    const std::string header = "# " + std::string(Layout) + "\n";
    const std::vector<unsigned char> relisted = folder.Bytes(L"dumps/01_01.dump.ecc");
    // Mended: no codeword left to list; else the list as the ecc command wrote it.
    EXPECT_EQ(std::string(relisted.begin(), relisted.end()),
              mended ? header : std::string(listed.begin(), listed.end()));
    std::ifstream diff(folder.path / "dumps" / "01_01.dump.diff");
    std::string line;
    std::getline(diff, line);
    EXPECT_EQ(line.rfind("# verify --ecc --reread 2, 20", 0), 0u) << line;
    for (const std::size_t page : misread) {
        std::getline(diff, line);
        EXPECT_EQ(line, std::to_string(page) + " >8 " + (mended ? "passes at " + std::string(c.passed_at)
                                                               : std::string("still fails")));
    }
    EXPECT_FALSE(std::getline(diff, line)) << line;
    // verify --undo puts the pages back, and their codewords in the list.
    if (!mended) return;
    EXPECT_EQ(run({"verify", "--undo"}).status, 0);
    EXPECT_TRUE(folder.Bytes(L"dumps/01_01.dump") == read);
    EXPECT_TRUE(folder.Bytes(L"dumps/01_01.dump.ecc") == listed);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, Cli_Ecc_Reread,
    testing::Values(
        Reread_Case{"Micron/00", "40000 189=05", "", "retry level 5 (Micron/05)", "at retry level 5: "},
        // Beyond Micron's modes 1 to 7: nothing passes, the dump stays as read.
        Reread_Case{"Micron/00", "40000 189=0c", "", "", ""},
        // No built-in sets: the user's levels, counted from 1.
        Reread_Case{"Hynix v3/00 00 00 00 00 00 00 00", "40000 b0=04 b1=08", "b0=02; b0=04 b1=08",
                    "retry level 2 (Hynix v3/04 08 00 00 00 00 00 00)", "at retry level 2: "},
        // No retry level helps; the pages pass at 1.7 V, in the supply class of the 1.8 V read.
        Reread_Case{"Micron/00", "40000 1.7V", "", "1.7 V", "at 1.7 V: ", "1.8"}),
    [](const testing::TestParamInfo<Reread_Case>& info) { return "case_" + std::to_string(info.index); });

}  // namespace
