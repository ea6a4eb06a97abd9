#include "cli/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "framework/media.h"
#include "framework/properties.h"
#include "framework/values.h"
#include "tests/emulator/expected_stream.h"
#include "tests/temp_folder.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Cli(std::vector<std::string> arguments, bool interactive = false, const std::string& input = "",
           bool bars = false) {
    std::ostringstream out, err;
    std::istringstream in(input);
    const int status = Korvane_Cli::Run(arguments, out, err, in, interactive, bars);
    return {status, out.str(), err.str()};
}

const std::string Demo = KORVANE_SOURCE_DIR "/emulator/profiles/demo.txt";

NAND_Config Demo_Config() {
    NAND_Config config;
    Import_Config(config, Read_Text_File(From_UTF8(Demo)));
    return config;
}

}  // namespace

TEST(Cli_Read, DemoChipDumpedWithBitMapsAndChipText) {
    Temp_Folder folder;
    const std::string work = To_UTF8(folder.Name(L"dumps/new"));
    const Result result = Cli({"--simulate", "read", "--config", Demo, "--folder", work, "--yes"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, 22), "Bank_1  Reading done (");
    EXPECT_NE(result.out.find("\nBank_2  Reading done ("), std::string::npos);
    // Not a terminal: one plain line per state of a bank.
    EXPECT_EQ(result.err.substr(0, 57), "Bank_1  Read...\nBank_1  Read bb...\nBank_1  Reading done (");
    const NAND_Config config = Demo_Config();
    for (std::uint32_t bank : {1u, 2u}) {
        const std::wstring name = Format(L"dumps/new/01_%02d.dump", bank);
        EXPECT_EQ(folder.Bytes(name), Expected_Dump(config, 1, bank));
        const std::vector<std::uint8_t> special = Expected_Dump(config, 1, bank, true);
        std::vector<std::uint8_t> bits((special.size() + 7) / 8, 0);
        for (std::size_t i = 0; i < special.size(); ++i)
            if (special[i] & 1) bits[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
        EXPECT_EQ(folder.Bytes(name + L".bb"), bits);
    }
    NAND_Config written = config;
    EXPECT_EQ(Read_Unicode_File(folder.Name(L"dumps/new/FE/Chip.txt")), Export_Properties(written));
}

TEST(Cli_Read, OverwriteAnswers) {
    Temp_Folder folder;
    const std::string work = To_UTF8(folder.path.wstring());
    folder.Put(L"07_02.dump.bb", {1});
    const std::vector<std::string> read = {"--simulate", "read", "--config", Demo, "--folder", work, "--number", "7"};
    // Not a terminal and no --yes: no.
    Result result = Cli(read);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Overwrite dumps? No: nothing read.\n");
    std::vector<std::string> with_no = read;
    with_no.push_back("--no");
    EXPECT_EQ(Cli(with_no, true).status, 1);
    // On a terminal the answer is typed.
    result = Cli(read, true, "y\n", true);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err.rfind("Overwrite dumps? [y/N] ", 0), 0u);
    EXPECT_EQ(folder.Bytes(L"07_01.dump").size(), 0x360000u);
    // On a terminal, bars; the bit-map bar ends full like the dump bar.
    EXPECT_NE(result.err.find("\rBank_2 [##############################] 100% Read bb...   \n"), std::string::npos);
    EXPECT_NE(result.err.find("\rBank_2 [##############################] 100% Reading done ("), std::string::npos);
}

TEST(Cli_Id, BankListsAndWrongIds) {
    Result result = Cli({"--simulate", "id", "--config", Demo, "--banks", "2"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Bank_2  98 de 94 93 \n");
    // Results on standard output, failures on standard error.
    result = Cli({"--simulate", "id", "--config", Demo, "--set", "Sim Dead CE=1", "--banks", "1-2"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Bank_2  98 de 94 93 \n");
    EXPECT_EQ(result.err, "Bank_1  error: ff ff ff ff   Wrong ID\nBank_1  hint: every ID byte is ff: nothing drives the "
                          "bus; check the chip's seating, the adapter and \"Voltage\"\n");
    result = Cli({"--simulate", "id", "--config", Demo, "--set", "Page=big"});
    EXPECT_EQ(result.err, "korvane-cli: Data Corrupt: Can't convert <big> to integer\n");
    result = Cli({"--simulate", "id", "--config", "/no/such/file.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("korvane-cli: Media Error: Can't open for protected read file </no/such/file.txt> - ", 0),
              0u);
    // Without the emulator there is no reader here.
    result = Cli({"id", "--chip", "F4GMSAP"});
    EXPECT_EQ(result.err, "Bank_1  error: Korvane2 not found\n");
}

struct Usage_Case {
    std::vector<std::string> arguments;
    int status;
    std::string err_start;  // the start of standard error
};

class Cli_Usage : public testing::TestWithParam<Usage_Case> {};

TEST_P(Cli_Usage, ExitStatusAndMessage) {
    const Result result = Cli(GetParam().arguments);
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.err.substr(0, GetParam().err_start.size()), GetParam().err_start);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cli_Usage,
    testing::Values(
        Usage_Case{{}, 2, "korvane-cli: A subcommand is required\n"},
        Usage_Case{{"frobnicate"}, 2, "korvane-cli: A subcommand is required\n"},
        Usage_Case{{"chips", "a", "b"}, 2, "korvane-cli: The following arguments were not expected: a b\n"},
        Usage_Case{{"read", "--chip", "F4GMSAP"}, 2, "korvane-cli: --folder is required\n"},
        Usage_Case{{"id", "--chip", "x", "--config", "y"}, 2, "korvane-cli: --chip excludes --config\n"},
        Usage_Case{{"id", "--chip", "Nope"}, 2, "korvane-cli: Error: Unknown chip <Nope>\n"},
        Usage_Case{{"id", "--chip", "#0"}, 2, "korvane-cli: Error: Unknown chip <#0>\n"},
        Usage_Case{{"id", "--set", "Colour=red"}, 2, "korvane-cli: Error: Unknown configuration key <Colour>\n"},
        Usage_Case{{"id", "--opt", "Colour=red"}, 2, "korvane-cli: Error: Unknown option <Colour>\n"},
        Usage_Case{{"id", "--set", "Page"}, 2, "korvane-cli: Error: Expected KEY=VALUE, got <Page>\n"},
        Usage_Case{{"id", "--banks", ""}, 2, "korvane-cli: Error: Wrong bank list <> for 4 banks\n"},
        Usage_Case{{"id", "--banks", "1,5"}, 2, "korvane-cli: Error: Wrong bank list <1,5> for 4 banks\n"},
        Usage_Case{{"read", "--folder", "x", "--number", "4294967295"}, 2, "korvane-cli: --number: Value 4294967295 not in range"},
        Usage_Case{{"read", "--folder", "x", "--number", "0"}, 2, "korvane-cli: --number: Value 0 not in range"},
        Usage_Case{{"config", "--chip", "Unknown@45 de 98 92"}, 2,
                   "korvane-cli: Error: Chip <Unknown@45 de 98 92> names 6 different rows; name one by its number, "
                   "such as --chip \"#"},
        Usage_Case{{"--help"}, 0, ""}));

TEST(Cli_Chip, AmbiguousRowsListedAndNamedByNumber) {
    const Result refused = Cli({"config", "--chip", "Unknown@45 de 98 92"});
    const std::size_t listing = refused.err.find("\n#  ");
    ASSERT_NE(listing, std::string::npos) << refused.err;
    const std::string rows = refused.err.substr(listing + 1);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 7);
    // A listed number names its row alone.
    const std::string first = rows.substr(rows.find("\n#") + 1, rows.find(' ', rows.find("\n#")) - rows.find("\n#") - 1);
    const Result chosen = Cli({"config", "--chip", first});
    EXPECT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("ID code      45 de 98 92\n"), std::string::npos);
    // Rows that are all alike are one chip.
    EXPECT_EQ(Cli({"config", "--chip", "F4GMSAP"}).status, 0);
}

TEST(Cli_Order, ProgramSwitchesAfterTheCommandAndBanksOnce) {
    const Result result = Cli({"id", "--config", Demo, "--banks", "2,2", "--simulate", "--trace"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Bank_2  98 de 94 93 \n");
    EXPECT_NE(result.err.find("trace: close\n"), std::string::npos);
    std::size_t opens = 0;
    for (std::size_t at = result.err.find("trace: open\n"); at != std::string::npos; at = result.err.find("trace: open\n", at + 1))
        ++opens;
    EXPECT_EQ(opens, 1u);
}

TEST(Cli_Catalogue, ChipsFindAndTsv) {
    Result result = Cli({"chips", "--id", "2c dc 90 95"});
    EXPECT_EQ(result.out,
              "#     Name           ID           Size    Banks       Company  Bus  Cmd  DDR\n"
              "#92   F4GMSAP        2c dc 90 95  512 MB  1 x 512 MB  Unknown  8    Std\n"
              "#106  FTNM40A4GK3W2  2c dc 90 95  512 MB  1 x 512 MB  Spectek  8    Std\n");
    // A zero typed for the letter O of K9G8G08UOM, and the reverse.
    EXPECT_NE(Cli({"chips", "--name", "K9G8G08U0M"}).out.find("  K9G8G08UOM  ec d3 14 26  "), std::string::npos);
    EXPECT_NE(Cli({"chips", "--name", "29F64G08CAMDA"}).out.find("  29F64GO8CAMDA  "), std::string::npos);
    result = Cli({"chips", "--name", "F4GMSAP", "--tsv"});
    EXPECT_EQ(result.out,
              "Company\tName\tID code\tBus\tBanks\tPage\tBlock\tBlocks\tCmd\tCol\tRow\tDDR\tRE_Up\tRE_Down\tPower\tRetry\t"
              "Skip_Mask_1\tSkip_Page_1\tSkip_Mask_2\tSkip_Page_2\tJoin CE\n"
              "Unknown\tF4GMSAP\t2c dc 90 95\t8\t1 x 512 MB\t2112\t0x0\t0x0\tStd\t2\t3\tfalse\t2\t2\t\t\t"
              "0xffffffff\t0xffffffff\t0xffffffff\t0xffffffff\t\n");
    result = Cli({"--simulate=F4GMSAP", "find"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\n#92   F4GMSAP "), std::string::npos);
    EXPECT_NE(result.out.find("\n#106  FTNM40A4GK3W2 "), std::string::npos);
}

TEST(Cli_Texts, ConfigOptionsOnfiSelfTestAndProgram) {
    Temp_Folder folder;
    Result result = Cli({"config", "--chip", "F4GMSAP", "--out", To_UTF8(folder.Name(L"c.txt"))});
    EXPECT_EQ(result.status, 0);
    NAND_Config config;
    Import_Config(config, Read_Unicode_File(folder.Name(L"c.txt")));
    EXPECT_EQ(config.Name, L"F4GMSAP");
    result = Cli({"options", "--opt", "Voltage=1.8"});
    EXPECT_EQ(result.out.substr(0, 35), "// Power Adapter\nVoltage        1.8");
    result = Cli({"--simulate", "onfi", "--config", Demo});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, 52), "Header 4f 4e 46 49 \n\nManufacturer: Toshiba     \nName");
    result = Cli({"--simulate", "onfi", "--config", Demo, "--set", "Sim ONFI=false"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Header ff ff ff ff \n\n");
    EXPECT_EQ(result.err, "Error: Wrong Header\n");
    result = Cli({"--simulate", "test-usb"});
    EXPECT_EQ(result.out, "Read  256   OK\nRead    4   OK\nWrite 256   OK\nRead  256   OK\n\n");
    EXPECT_EQ(result.status, 0);
    result = Cli({"program", "--id"});
    EXPECT_EQ(result.out, "0000  Wait\n0002  Cmd FF\n0004  Wait\n0006  Cmd 90\n0008  Addr 00\n0010  Read\n"
                          "0012  Read 1\n0014  End\n");
    result = Cli({"program", "--chip", "F4GMSAP", "--set", "Cmd=std"});
    EXPECT_EQ(result.err, "korvane-cli: Error: Unknown Cmd\n");
}

TEST(Cli_Trace, TranscriptOnStandardError) {
    const Result result = Cli({"--simulate", "--trace", "id", "--config", Demo, "--banks", "1"});
    EXPECT_NE(result.err.find("trace: open\ntrace: upload image 4\ntrace: program:\n"), std::string::npos);
    EXPECT_NE(result.err.find("trace: close\n"), std::string::npos);
}

// Numbers that do not fit their field, or that the wire cannot carry, are
// refused with the value named, before a single byte reaches the reader.
struct Limit_Case {
    std::vector<std::string> sets;  // the configuration keys changed
    std::string error;              // the line on standard error
};

class Integer_Limits : public testing::TestWithParam<Limit_Case> {};

TEST_P(Integer_Limits, RefusedBeforeAnythingIsSent) {
    Temp_Folder folder;
    std::vector<std::string> arguments = {"--simulate", "--trace", "read", "--config", Demo, "--opt", "Check ID=false",
                                          "--banks", "1", "--folder", To_UTF8(folder.path.wstring())};
    for (const std::string& set : GetParam().sets) arguments.insert(arguments.end(), {"--set", set});
    const Result result = Cli(arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(GetParam().error + "\n"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("trace: open"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path / "01_01.dump"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Integer_Limits,
    testing::Values(
        Limit_Case{{"Page=4294969408"}, "korvane-cli: Data Corrupt: Can't convert <4294969408> to integer"},
        Limit_Case{{"Skip_Mask_1=0x1FFFFFFFF"}, "korvane-cli: Data Corrupt: Can't convert <0x1FFFFFFFF> to integer"},
        Limit_Case{{"Block=18446744073709551617"},
                   "korvane-cli: Data Corrupt: Can't convert <18446744073709551617> to integer"},
        Limit_Case{{"Power=1/0x1FFFFFFFF"}, "Bank_1  error: Can't convert <0x1FFFFFFFF> to integer"},
        Limit_Case{{"Power=1/0x10000"}, "Bank_1  error: Power module setting <0x10000> is more than 16 bits"},
        Limit_Case{{"Page=70000"}, "Bank_1  error: Page <70000> is more than the reader reads at once"},
        Limit_Case{{"Block=0", "Banks=1 x 18014398509481984 GB"},
                   "Bank_1  error: Bank size <18014398509481984 GB> is more than any chip holds"},
        Limit_Case{{"Join CE=0x100000001"}, "Bank_1  error: Can't convert <0x100000001> to integer"}));

TEST(Cli_Read, WorkFolderBeyondTheClassicPathLimit) {
    Temp_Folder folder;
    std::wstring work = folder.path.wstring();
    while (work.size() <= 300) work += L"/" + std::wstring(90, L'd');
    // A ".." on the way resolves as in a short path.
    const std::vector<std::string> read = {"--simulate", "read", "--config", Demo, "--set", "Cmd=Std", "--folder",
                                           To_UTF8(work + L"/skip/../dumps")};
    Result result = Cli(read);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::wstring dumps = work + L"/dumps/";
    NAND_Config written = Demo_Config();
    written.Cmd = L"Std";
    EXPECT_EQ(Read_Unicode_File(dumps + L"FE/Chip.txt"), Export_Properties(written));
    { ZEKT_MediaFileWrite stale(dumps + L"01_02.dump.bb"); }
    // The old dumps are seen: the question is asked, and no means no.
    result = Cli(read);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Overwrite dumps? No: nothing read.\n");
    result = Cli(read, true, "y\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(Exists(dumps + L"01_02.dump.bb"));
    EXPECT_EQ(ZEKT_MediaFileReadProtect(dumps + L"01_02.dump").GetSize(), 0x360000u);
}

// A chip no catalogue row fits: `find` says so as before, tells what the ID
// decodes to, and writes a configuration that the chip's own ID check takes.
TEST(Cli_Find, UnknownChipDescribedAndConfigured) {
    Temp_Folder folder;
    const std::string profile = KORVANE_SOURCE_DIR "/emulator/profiles/tc58nvg2s0f.txt";
    const std::string made = To_UTF8(folder.Name(L"made.txt"));
    Result result = Cli({"--simulate=" + profile, "find", "--config-out", made});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "No catalogue chip fits the attached chip\n");
    EXPECT_EQ(result.out, "ID <98 dc 90 26 76 15 01 08> on 1 chip enable\n"
                          "The ID says: maker Toshiba, 512 MB a chip enable, page 4096 + 224, block 256 KB, bus 8, "
                          "1 bit a cell, 1 die\nNo ONFI or JEDEC parameter page\n");
    const std::wstring chip_keys =
        L"// Chip\r\nCompany      Toshiba\r\nName         Unknown\r\nID code      98 dc 90 26\r\n\r\n"
        L"// Structure\r\nBus          8\r\nBanks        1 x 512 MB\r\nPage         4320\r\nBlock        0x43800\r\n"
        L"Blocks       0x800\r\n\r\n// Read\r\nCmd          Std\r\nCol          2\r\nRow          3\r\n";
    EXPECT_EQ(Read_Unicode_File(From_UTF8(made)).substr(0, chip_keys.size()), chip_keys);
    result = Cli({"--simulate=" + profile, "id", "--config", made});
    EXPECT_EQ(result.status, 0) << result.err;
}
