// korvane-cli map over dumps of the emulated demo chip (two banks of two
// blocks of 192 pages of 9216 bytes, the data area 8192): the state of
// every cell, the legend and the line per bank.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>

#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

namespace {

constexpr std::streamoff Block_Bytes = 0x1b0000, Page_Bytes = 9216, Mark = 8192;

void Put_Byte(const Temp_Folder& folder, const std::wstring& name, std::streamoff at, char value) {
    std::fstream file(folder.path / name, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(at);
    file.put(value);
}

struct Map_Case {
    const char* what;
    std::vector<std::string> sets;  // for the read, and for verify when it runs
    std::vector<std::string> verify;  // the verify command and its switches; none: no verify
    std::function<void(const Temp_Folder&)> change;
    std::vector<std::vector<std::string>> titles;  // per bank; none: no picture
    std::string out;
    int status = 0;
};

class Cli_Map : public testing::TestWithParam<Map_Case> {};

TEST_P(Cli_Map, EveryBlockInItsStateAndTheLegendCountsThem) {
    const Map_Case& c = GetParam();
    Temp_Folder folder;
    std::vector<std::string> files = {"--config", Demo_Profile, "--folder", To_UTF8(folder.path.wstring())};
    for (const std::string& set : c.sets) files.insert(files.end(), {"--set", set});
    auto run = [&](std::vector<std::string> command) {
        command.insert(command.end(), files.begin(), files.end());
        return Run_Cli(command);
    };
    ASSERT_EQ(run({"--simulate", "read", "--yes"}).status, 0);
    if (!c.verify.empty()) {
        std::vector<std::string> command = {"--simulate"};
        command.insert(command.end(), c.verify.begin(), c.verify.end());
        run(command);
    }
    if (c.change) c.change(folder);
    const Cli_Result result = run({"map"});
    EXPECT_EQ(result.out, c.out) << result.err;
    EXPECT_EQ(result.status, c.status);
    for (std::size_t bank = 0; bank < 2; ++bank) {
        const std::wstring svg = Format(L"01_%02u.dump.svg", static_cast<std::uint32_t>(bank + 1));
        ASSERT_EQ(std::filesystem::exists(folder.path / svg), !c.titles[bank].empty());
        if (c.titles[bank].empty()) continue;
        const std::vector<unsigned char> bytes = folder.Bytes(svg);
        const std::string text(bytes.begin(), bytes.end());
        std::vector<std::string> titles;
        const std::regex cell("<rect [^>]*><title>(block [^<]*)</title></rect>");
        for (std::sregex_iterator at(text.begin(), text.end(), cell), end; at != end; ++at) titles.push_back((*at)[1]);
        EXPECT_EQ(titles, c.titles[bank]) << "bank " << bank + 1;
        for (const std::string state : {"bad", "weak", "mended", "erased", "data"}) {
            const auto count = std::count_if(titles.begin(), titles.end(), [&](const std::string& title) {
                return title.find(": " + state) != std::string::npos;
            });
            EXPECT_NE(text.find(">" + state + " " + std::to_string(count) + "<"), std::string::npos) << state;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, Cli_Map,
    testing::Values(
        Map_Case{"demo", {}, {}, nullptr, {{"block 0: data", "block 1: data"}, {"block 0: data", "block 1: data"}},
                 "Bank_1  2 blocks: 0 bad, 0 weak, 0 mended, 0 erased, 2 data\n"
                 "Bank_2  2 blocks: 0 bad, 0 weak, 0 mended, 0 erased, 2 data\n"},
        Map_Case{"erased", {"Sim Data=erased"}, {}, nullptr,
                 {{"block 0: erased", "block 1: erased"}, {"block 0: erased", "block 1: erased"}},
                 "Bank_1  2 blocks: 0 bad, 0 weak, 0 mended, 2 erased, 0 data\n"
                 "Bank_2  2 blocks: 0 bad, 0 weak, 0 mended, 2 erased, 0 data\n"},
        // The mark of block 1's first page in bank 1, of block 0's last page in bank 2.
        Map_Case{"factory marks", {}, {},
                 [](const Temp_Folder& folder) {
                     Put_Byte(folder, L"01_01.dump", Block_Bytes + Mark, 0x00);
                     Put_Byte(folder, L"01_02.dump", Block_Bytes - Page_Bytes + Mark, 0x7F);
                 },
                 {{"block 0: data", "block 1: bad"}, {"block 0: bad", "block 1: data"}},
                 "Bank_1  2 blocks: 1 bad, 0 weak, 0 mended, 0 erased, 1 data\n"
                 "Bank_2  2 blocks: 1 bad, 0 weak, 0 mended, 0 erased, 1 data\n"},
        Map_Case{"verify with flaky pages", {"Sim Flaky Pages=20000"}, {"verify"}, nullptr,
                 {{"block 0: weak (4 pages differ)", "block 1: weak (3 pages differ)"},
                  {"block 0: data", "block 1: weak (4 pages differ)"}},
                 "Bank_1  2 blocks: 0 bad, 2 weak, 0 mended, 0 erased, 0 data\n"
                 "Bank_2  2 blocks: 0 bad, 1 weak, 0 mended, 0 erased, 1 data\n"},
        // The same pages mended by re-reading them.
        Map_Case{"verify --reread with flaky pages", {"Sim Flaky Pages=20000"}, {"verify", "--reread", "3"}, nullptr,
                 {{"block 0: mended", "block 1: mended"}, {"block 0: data", "block 1: mended"}},
                 "Bank_1  2 blocks: 0 bad, 0 weak, 2 mended, 0 erased, 0 data\n"
                 "Bank_2  2 blocks: 0 bad, 0 weak, 1 mended, 0 erased, 1 data\n"},
        // A list after re-reading: only "mended" pages count as mended; a
        // bad block stays bad whatever is listed.
        Map_Case{"listed pages", {}, {},
                 [](const Temp_Folder& folder) {
                     Write_Text_File(folder.Name(L"01_01.dump.diff"),
                              L"5 3\r\n6 1 unsure 2\r\n200 2 mended\r\n383 4 mended\r\nIO3 41\r\n");
                     Write_Text_File(folder.Name(L"01_02.dump.diff"), L"0 2\r\n300 1 mended\r\n301 2\r\n");
                     Put_Byte(folder, L"01_02.dump", Mark, 0x00);
                 },
                 {{"block 0: weak (2 pages differ)", "block 1: mended"},
                  {"block 0: bad", "block 1: weak (1 page differs)"}},
                 "Bank_1  2 blocks: 0 bad, 1 weak, 1 mended, 0 erased, 0 data\n"
                 "Bank_2  2 blocks: 1 bad, 1 weak, 0 mended, 0 erased, 0 data\n"},
        // An ECC list colours a block by its worst codeword, uncorrectable first.
        Map_Case{"ecc list", {}, {},
                 [](const Temp_Folder& folder) {
                     const std::string list = "# bch step=512 m=13 t=8 poly=0x201b ecc=end\n5\t0\tcorrected\t3\t1:2,9:0,20:7\n"
                                              "7\t2\terased\t1\t1500:4\n200\t15\tuncorrectable\t>8\t\n";
                     folder.Put(L"01_01.dump.ecc", {list.begin(), list.end()});
                 },
                 {{"block 0: corrected (ECC: 0 uncorrectable, 1 corrected, 1 erased with flips, worst 3 of 8 bits)",
                   "block 1: uncorrectable (ECC: 1 uncorrectable, 0 corrected, 0 erased with flips, worst 0 of 8 bits)"},
                  {"block 0: data", "block 1: data"}},
                 "Bank_1  2 blocks: 0 bad, 0 weak, 0 mended, 1 uncorrectable, 1 corrected, 0 erased, 0 data\n"
                 "Bank_2  2 blocks: 0 bad, 0 weak, 0 mended, 0 erased, 2 data\n"},
        // A partial dump maps its whole blocks and outlines the rest of the bank; a
        // bank without a dump keeps no old picture.
        Map_Case{"partial and missing dumps", {}, {},
                 [](const Temp_Folder& folder) {
                     std::filesystem::resize_file(folder.path / "01_01.dump", Block_Bytes + 100);
                     std::filesystem::remove(folder.path / "01_02.dump");
                     folder.Put(L"01_02.dump.svg", {'<'});
                 },
                 {{"block 0: data"}, {}},
                 "Bank_1  1 block: 0 bad, 0 weak, 0 mended, 0 erased, 1 data; 100 bytes left over; 1 block not in the dump\n",
                 1}),
    [](const testing::TestParamInfo<Map_Case>& info) { return "case_" + std::to_string(info.index); });

}  // namespace
