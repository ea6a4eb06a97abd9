// korvane-cli onfi against parameter pages replayed by the emulator, built
// from datasheet geometry with the ONFI field layout; and dumps of one value.
#include <gtest/gtest.h>

#include "emulator/onfi.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

namespace {

using Korvane_Emulator::Onfi_Geometry;

std::vector<unsigned char> Page_Bytes(const Onfi_Geometry& geometry) {
    const Korvane_Emulator::Onfi_Page page = Korvane_Emulator::Make_Onfi_Page(geometry);
    return {page.begin(), page.end()};
}

// The demo chip whose emulated parameter page is the file `page`.
std::vector<std::string> Onfi_Replay(const std::wstring& page, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--simulate", "onfi", "--config", Demo_Profile,
                                          "--set", "Sim ONFI=file " + To_UTF8(page)};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

}  // namespace

struct Geometry_Case {
    const char* what;
    Onfi_Geometry geometry;
    const char* cmd;
    std::string config;  // "Page Block Blocks skips" of the configuration made, or the refusal
    std::string setup;   // the setup line's rows and skips as the reader gets them
};

class Cli_Onfi_Geometry : public testing::TestWithParam<Geometry_Case> {};

// The configuration made from a page reads every row of every LUN and none
// of the holes between them: the setup block the reader receives proves it.
TEST_P(Cli_Onfi_Geometry, ConfigurationReadsTheRowsOfThePage) {
    const Geometry_Case& c = GetParam();
    Temp_Folder folder;
    folder.Put(L"page.bin", Page_Bytes(c.geometry));
    const std::string made = To_UTF8(folder.Name(L"made.txt"));
    Cli_Result result =
        Run_Cli(Onfi_Replay(folder.Name(L"page.bin"), {"--set", std::string("Cmd=") + c.cmd, "--config-out", made}));
    if (c.setup.empty()) {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "korvane-cli: Error: " + c.config + "\n");
        const std::uint64_t page = std::uint64_t{c.geometry.data_bytes} + c.geometry.spare_bytes;
        EXPECT_NE(result.out.find("\nPage: " + std::to_string(page) + "\n"), std::string::npos) << result.out;
        EXPECT_FALSE(std::filesystem::exists(From_UTF8(made)));
        return;
    }
    ASSERT_EQ(result.status, 0) << result.err;
    NAND_Config config;
    Import_Config(config, Read_Unicode_File(From_UTF8(made)));
    EXPECT_EQ(To_UTF8(Format(L"%u 0x%x 0x%x 0x%x/0x%x 0x%x/0x%x", config.Page, config.Block, config.Blocks,
                             config.Skip_Mask_1, config.Skip_Page_1, config.Skip_Mask_2, config.Skip_Page_2)),
              c.config);
    // The reader goes at the first data byte: the setup is sent, nothing is read.
    result = Run_Cli({"--simulate", "--trace", "read", "--config", made, "--banks", "1", "--opt", "Check ID=false",
                      "--set", "Sim Unplug After=0", "--folder", To_UTF8(folder.path.wstring()), "--yes"});
    EXPECT_NE(result.err.find("trace: setup: " + c.setup), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Parts, Cli_Onfi_Geometry,
    testing::Values(
        // Micron MT29F4G08ABADA: 2048 + 64 bytes, 64 pages, 4096 blocks, one LUN.
        Geometry_Case{"MT29F4G08ABADA", {"MICRON", "MT29F4G08ABADAWP", 0x2c, 2048, 64, 64, 4096, 1}, "Std",
                      "2112 0x21000 0x1000 0xffffffff/0xffffffff 0xffffffff/0xffffffff", "rows 0x0-0x40000, "},
        // Two LUNs of 2192 blocks in a block field of 4096: LUN 1 starts at row 0x400000.
        Geometry_Case{"two LUNs", {"VENDOR", "TWO LUNS 16K", 0x2c, 16384, 2208, 1024, 2192, 2}, "Std",
                      "18592 0x1228000 0x1120 0x3fffff/0x224000 0xffffffff/0xffffffff",
                      "rows 0x0-0x624000, transfers 18592, "},
        // 86 word lines of three pages in a row field of 128, two LUNs of 100 blocks.
        Geometry_Case{"word lines and LUNs", {"TOSHIBA", "TLC", 0x98, 8192, 1024, 258, 100, 2}, "WL",
                      "9216 0x244800 0xc8 0x7f/0x56 0x3fff/0x3200", "rows 0x0-0x71d6, "},
        Geometry_Case{"more rows than 32 bits", {"X", "Y", 0x2c, 2048, 64, 4096, 0x100000, 2}, "Std",
                      "Parameter page geometry <2112 bytes x 4096 pages x 1048576 blocks x 2 LUNs> has more rows than "
                      "the reader addresses",
                      ""},
        // Data and spare bytes past 32 bits: the report shows their sum, no configuration holds it.
        Geometry_Case{"page past 32 bits", {"X", "Y", 0x2c, 0xFFFFFFFF, 2, 1, 1, 1}, "Std",
                      "Parameter page geometry <4294967297 bytes x 1 pages x 1 blocks x 1 LUNs> makes no configuration",
                      ""}),
    [](const testing::TestParamInfo<Geometry_Case>& info) { return "case_" + std::to_string(info.index); });

// A page written out replays exactly, damaged copies included; a majority
// that fails its CRC proves nothing.
TEST(Cli_Onfi, CapturedPageReplayedAndMajorityJudged) {
    Temp_Folder folder;
    const std::wstring out = folder.Name(L"out.bin");
    const Cli_Result good = Run_Cli({"--simulate", "onfi", "--config", Demo_Profile, "--page-out", To_UTF8(out)});
    ASSERT_EQ(good.status, 0) << good.err;
    const std::vector<unsigned char> page = folder.Bytes(L"out.bin");
    ASSERT_EQ(page.size(), 256u);
    EXPECT_EQ(Run_Cli(Onfi_Replay(out)).out, good.out);

    const Cli_Result damaged = Run_Cli(
        {"--simulate", "onfi", "--config", Demo_Profile, "--set", "Sim ONFI Damage=1", "--page-out", To_UTF8(out)});
    ASSERT_EQ(folder.Bytes(L"out.bin").size(), 768u);
    EXPECT_EQ(Run_Cli(Onfi_Replay(out)).out, damaged.out);
    EXPECT_NE(damaged.out.find("\nCRC good: copy 2 (copy 1 fails its CRC)\n"), std::string::npos);

    // Copies 1 and 2 share a damaged byte outside the report: their majority keeps it.
    std::vector<unsigned char> three;
    for (int copy = 0; copy < 3; ++copy) three.insert(three.end(), page.begin(), page.end());
    three[200] ^= 1;
    three[256 + 200] ^= 1;
    three[512 + 201] ^= 1;
    folder.Put(L"bad.bin", three);
    const Cli_Result bad = Run_Cli(Onfi_Replay(folder.Name(L"bad.bin"), {"--config-out", To_UTF8(folder.Name(L"c"))}));
    EXPECT_EQ(bad.out, good.out.substr(0, good.out.rfind("CRC")) +
                           "CRC wrong in all three copies: the report shows their bytewise majority\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "c"));
}

// Fields are whatever the device sends: escapes and C1 controls reach neither
// the terminal nor the configuration file, and other bytes keep their value.
TEST(Cli_Onfi, DeviceTextShownSafely) {
    Temp_Folder folder;
    folder.Put(L"page.bin", Page_Bytes({"\x9b" "2J Caf\xe9", "\x1b]0;X\x07\x1b[2J", 0x2c, 2048, 64, 192, 1024, 1}));
    const std::string made = To_UTF8(folder.Name(L"made.txt"));
    const Cli_Result result = Run_Cli(Onfi_Replay(folder.Name(L"page.bin"), {"--config-out", made}));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::wstring text = Read_Unicode_File(From_UTF8(made));
    // The terminal's bytes: UTF-8 with no C0 but line feeds, no DEL, no C1 (C2 80 to C2 9F).
    for (const std::string& bytes : {result.out, result.err}) {
        EXPECT_EQ(To_UTF8(From_UTF8(bytes)), bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            EXPECT_FALSE((byte < 0x20 && byte != '\n') || byte == 0x7F) << i;
            EXPECT_FALSE(byte == 0xC2 && i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i + 1]) <= 0x9F) << i;
        }
    }
    for (wchar_t c : Replace_All(text, L"\r\n", L"")) EXPECT_FALSE(c < 0x20 || (c >= 0x7F && c <= 0x9F)) << int(c);
    EXPECT_NE(result.out.find("Manufacturer: \\x9b2J Caf\xc3\xa9    \nName: \\x1b]0;X\\x07\\x1b[2J          \n"),
              std::string::npos)
        << result.out;
    NAND_Config config;
    Import_Config(config, text);
    EXPECT_EQ(config.Company, L"\\x9b2J Caf\u00e9");
    EXPECT_EQ(config.Name, L"\\x1b]0;X\\x07\\x1b[2J");
}

struct Uniform_Case {
    const char* set;
    std::string row, hint;  // after "Reading done (...)"; the hint line, empty for none
};

class Cli_Uniform_Dump : public testing::TestWithParam<Uniform_Case> {};

// A bank that reads as one byte value is done, and says so.
TEST_P(Cli_Uniform_Dump, RowRemarkAndHint) {
    Temp_Folder folder;
    folder.Put(L"zeros.bin", std::vector<unsigned char>(0x360000, 0));  // a whole bank of zero bytes
    const Cli_Result result = Run_Cli(
        {"--simulate", "read", "--config", Demo_Profile, "--banks", "1", "--opt", "Check ID=false", "--set", "Cmd=Std",
         "--set", To_UTF8(Replace_All(From_UTF8(GetParam().set), L"ZEROS", folder.Name(L"zeros.bin"))), "--folder",
         To_UTF8(folder.path.wstring()), "--yes"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(result.out.find(')') + 1), GetParam().row) << result.out;
    const std::size_t at = result.err.find("hint: ");
    EXPECT_EQ(at == std::string::npos ? "" : result.err.substr(result.err.rfind('\n', at) + 1), GetParam().hint);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Cli_Uniform_Dump,
    testing::Values(Uniform_Case{"Sim Data=seed 1", "\n", ""},
                    Uniform_Case{"Sim Dead CE=1", "  every byte ff\n",
                                 "Bank_1  hint: every byte of the dump is ff: nothing drove the bus, or the chip is "
                                 "erased; check that the chip answers its ID (\"Check ID\"), its seating, the adapter "
                                 "and \"Voltage\"\n"},
                    Uniform_Case{"Sim Data=file ZEROS", "  every byte 00\n",
                                 "Bank_1  hint: every byte of the dump is 00: the bus is held low; check the chip's "
                                 "seating and the adapter\n"}));
