#include "cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "framework/properties.h"
#include "framework/values.h"
#include "tests/emulator/expected_stream.h"
#include "tests/temp_folder.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Cli(std::vector<std::string> arguments, bool interactive = false, const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    const int status = Korvane_Cli::Run(arguments, out, err, in, interactive);
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
    EXPECT_NE(result.err.find("Bank_1 ["), std::string::npos);
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
    result = Cli(read, true, "y\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err.rfind("Overwrite dumps? [y/N] ", 0), 0u);
    EXPECT_EQ(folder.Bytes(L"07_01.dump").size(), 0x360000u);
}

TEST(Cli_Id, BankListsAndWrongIds) {
    Result result = Cli({"--simulate", "id", "--config", Demo, "--banks", "2"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Bank_2  98 de 94 93 \n");
    result = Cli({"--simulate", "id", "--config", Demo, "--set", "Sim Dead CE=1", "--banks", "1-2"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Bank_1  error: ff ff ff ff   Wrong ID\nBank_2  98 de 94 93 \n");
    result = Cli({"--simulate", "id", "--config", Demo, "--banks", "1,3"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "korvane-cli: Error: Wrong bank list <1,3> for 2 banks\n");
    result = Cli({"--simulate", "id", "--config", Demo, "--set", "Page=big"});
    EXPECT_EQ(result.err, "korvane-cli: Data Corrupt: Can't convert <big> to integer\n");
    result = Cli({"--simulate", "id", "--set", "Colour=red"});
    EXPECT_EQ(result.err, "korvane-cli: Error: Unknown configuration key <Colour>\n");
    result = Cli({"--simulate", "id", "--config", "/no/such/file.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "korvane-cli: Media Error: Can't open for protected read file </no/such/file.txt>\n");
    // Without the emulator there is no reader here.
    result = Cli({"id", "--chip", "F4GMSAP"});
    EXPECT_EQ(result.out, "Bank_1  error: Korvane2 not found\n");
}

TEST(Cli_Usage, ErrorsAreExitTwo) {
    EXPECT_EQ(Cli({}).status, 2);
    EXPECT_EQ(Cli({"frobnicate"}).status, 2);
    EXPECT_EQ(Cli({"read", "--chip", "F4GMSAP"}).status, 2);  // no --folder
    EXPECT_EQ(Cli({"id", "--chip", "x", "--config", "y"}).status, 2);
    const Result help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("test-usb"), std::string::npos);
}

TEST(Cli_Catalogue, ChipsFindAndTsv) {
    Result result = Cli({"chips", "--id", "2c dc 90 95"});
    EXPECT_EQ(result.out,
              "Name           ID           Size    Banks       Company  Bus  Cmd  DDR\n"
              "F4GMSAP        2c dc 90 95  512 MB  1 x 512 MB  Unknown  8    Std\n"
              "FTNM40A4GK3W2  2c dc 90 95  512 MB  1 x 512 MB  Spectek  8    Std\n");
    result = Cli({"chips", "--name", "F4GMSAP", "--tsv"});
    EXPECT_EQ(result.out,
              "Company\tName\tID code\tBus\tBanks\tPage\tBlock\tBlocks\tCmd\tCol\tRow\tDDR\tRE_Up\tRE_Down\tPower\tRetry\t"
              "Skip_Mask_1\tSkip_Page_1\tSkip_Mask_2\tSkip_Page_2\tJoin CE\n"
              "Unknown\tF4GMSAP\t2c dc 90 95\t8\t1 x 512 MB\t2112\t0x0\t0x0\tStd\t2\t3\tfalse\t2\t2\t\t\t"
              "0xffffffff\t0xffffffff\t0xffffffff\t0xffffffff\t\n");
    result = Cli({"--simulate=F4GMSAP", "find"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\nF4GMSAP "), std::string::npos);
    EXPECT_NE(result.out.find("\nFTNM40A4GK3W2 "), std::string::npos);
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
    EXPECT_EQ(result.out, "Header ff ff ff ff \n\nError: Wrong Header\n");
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
