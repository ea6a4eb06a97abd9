// korvane-cli against emulated chips that disagree with the configuration:
// address cycles too few, a parameter page of another geometry, addresses
// that wrap; and JEDEC parameter pages given by file.
#include <gtest/gtest.h>

#include "emulator/onfi.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

struct Word_Case {
    std::vector<std::string> chip;  // what the emulated chip is: `config` arguments
    std::vector<std::string> read;  // the configuration and options of the read
    std::string line;               // a line of the output
    bool dumped;                    // whether the dump was written
};

class Cli_Chip_Word : public testing::TestWithParam<Word_Case> {};

TEST_P(Cli_Chip_Word, ReadSaysWhatTheChipSays) {
    const Word_Case& c = GetParam();
    Temp_Folder folder;
    const std::string profile = To_UTF8(folder.Name(L"chip.txt"));
    std::vector<std::string> arguments = {"config", "--out", profile};
    arguments.insert(arguments.end(), c.chip.begin(), c.chip.end());
    ASSERT_EQ(Run_Cli(arguments).status, 0);
    arguments = {"--simulate=" + profile, "--trace", "read", "--banks", "1", "--opt", "Read bb=false", "--folder",
                 To_UTF8(folder.path.wstring())};
    arguments.insert(arguments.end(), c.read.begin(), c.read.end());
    const Cli_Result result = Run_Cli(arguments);
    EXPECT_EQ(result.status, c.dumped ? 0 : 1);
    const std::string all = result.out + result.err;
    EXPECT_NE(("\n" + all).find("\n" + c.line + "\n"), std::string::npos) << all;
    EXPECT_EQ(std::filesystem::exists(folder.path / "01_01.dump"), c.dumped);
    // A refused geometry sends nothing at all, not even the ID read.
    if (c.line.find("cycles address") != std::string::npos) {
        EXPECT_EQ(all.find("trace: open"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Cli_Chip_Word,
    testing::Values(
        // 384 rows of one page need two row cycles.
        Word_Case{{"--config", Demo_Profile, "--set", "Cmd=Std"},
                  {"--config", Demo_Profile, "--set", "Cmd=Std", "--set", "Row=1"},
                  "Bank_1  error: Row <1> cycles address 256 rows, the bank reads 384", false},
        Word_Case{{"--config", Demo_Profile},
                  {"--config", Demo_Profile, "--set", "Col=1"},
                  "Bank_1  error: Col <1> cycles address 256 columns, the page needs 9216", false},
        // A catalogue row whose page is half the chip's, caught by its ONFI page.
        Word_Case{{"--chip", "MT29F4G08", "--set", "Page=4224"},
                  {"--chip", "MT29F4G08"},
                  "Bank_1  error: Page 2112, the chip's parameter page says 4224", false},
        Word_Case{{"--config", Demo_Profile},
                  {"--config", Demo_Profile, "--set", "Blocks=4"},
                  "Bank_1  error: Blocks 0x4, the chip's parameter page says 0x2", false},
        // Without the check, the chip's two blocks come back twice.
        Word_Case{{"--config", Demo_Profile},
                  {"--config", Demo_Profile, "--set", "Blocks=4", "--opt", "Check ID=false"},
                  "Bank_1  hint: the dump repeats every 2 blocks (0x360000 bytes): the chip has fewer address bits "
                  "than the configuration; check \"Banks\", \"Blocks\" and the chip's parameter page",
                  true}));

struct Jedec_Case {
    int damaged_copy;     // 0: one good copy in the file; 1-3: three copies, that one damaged
    const char* signature;
    std::string verdict;  // the last line of the report, or the error
};

class Cli_Jedec_Page : public testing::TestWithParam<Jedec_Case> {};

// A toggle-mode chip has no ONFI page: its JEDEC page is reported the same
// way, proven by its own CRC over 510 bytes, and makes a configuration.
TEST_P(Cli_Jedec_Page, ReportedProvenAndMadeAConfiguration) {
    const Jedec_Case& c = GetParam();
    // TC58TEG5DCJTA00 as its datasheet gives it: 16384 + 1280 bytes, 256 pages, 2092 blocks.
    std::vector<unsigned char> page = Korvane_Emulator::Make_Jedec_Page(
        {"TOSHIBA", "TC58TEG5DCJTA00", 0x98, 16384, 1280, 256, 2092, 1, 2, 3, 2});
    std::copy_n(c.signature, 4, page.begin());
    const std::uint16_t crc = Korvane_Emulator::Onfi_CRC16(page.data(), 510);
    page[510] = crc & 0xFF, page[511] = crc >> 8;
    std::vector<unsigned char> file = page;
    if (c.damaged_copy) {
        file.clear();
        for (int copy = 1; copy <= 3; ++copy) {
            file.insert(file.end(), page.begin(), page.end());
            if (copy == c.damaged_copy) file[file.size() - 500] ^= 1;
        }
    }
    Temp_Folder folder;
    folder.Put(L"jedec.bin", file);
    const std::string made = To_UTF8(folder.Name(L"made.txt"));
    const Cli_Result result =
        Run_Cli({"--simulate", "onfi", "--config", Demo_Profile, "--set", "Cmd=Std", "--set",
                 "Sim ONFI=file " + To_UTF8(folder.Name(L"jedec.bin")), "--config-out", made});
    if (c.verdict.rfind("Error", 0) == 0) {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out + result.err, "Header 4a 45 53 58 \n\n" + c.verdict +
                                               "\nkorvane-cli: Error: No configuration from a parameter page without "
                                               "its signature <" + made + ">\n");
        EXPECT_FALSE(std::filesystem::exists(From_UTF8(made)));
        return;
    }
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Header 4a 45 53 44 \n\nManufacturer: TOSHIBA     \nName: TC58TEG5DCJTA00     \n\n"
                          "Page: 17664\n\nBlock: 0x100\nBlocks: 0x82c\nLUNs: 1\n\nCol: 2\nRow: 3\n\n"
                          "Bits per cell: 2\n\n" + c.verdict + "\n");
    NAND_Config config;
    Import_Config(config, Read_Unicode_File(From_UTF8(made)));
    EXPECT_EQ(To_UTF8(Format(L"%s|%s|%s|%u|0x%x|0x%x|%u|%u", config.Company, config.Name, config.Banks, config.Page,
                             config.Block, config.Blocks, config.Col, config.Row)),
              "TOSHIBA|TC58TEG5DCJTA00|2 x 8368 MB|17664|0x450000|0x82c|2|3");
}

INSTANTIATE_TEST_SUITE_P(Pages, Cli_Jedec_Page,
                         testing::Values(Jedec_Case{0, "JESD", "CRC good: copy 1"},
                                         Jedec_Case{1, "JESD", "CRC good: copy 2 (copy 1 fails its CRC)"},
                                         Jedec_Case{0, "JESX", "Error: Wrong Header <JESX>: a JEDEC parameter page begins JESD"}));
