#include "dump/reader_master.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "emulator/virtual_reader.h"
#include "framework/values.h"
#include "tests/dump/recording_user.h"
#include "tests/emulator/expected_stream.h"
#include "tests/temp_folder.h"

using namespace Korvane_Emulator;
using Korvane_Exe::Reader_Master;

namespace {

NAND_Config Demo_Chip(const std::wstring& cmd = L"WL") {
    NAND_Config config;
    config.Company = L"Toshiba";
    config.Name = L"Demo";
    config.Set_ID_Code(L"98 de 94 93");
    config.Banks = L"3 x 1 MB";
    config.Page = 2112;
    config.Cmd = cmd;
    return config;
}

std::vector<std::uint8_t> Packed(const std::vector<std::uint8_t>& stream) {
    std::vector<std::uint8_t> bits((stream.size() + 7) / 8);
    Korvane_Exe::Pack_Bit_Map(stream.data(), stream.size(), bits.data());
    return bits;
}

// One workflow over an emulated chip with the console-free test user.
struct Session {
    explicit Session(const NAND_Config& chip, Sim_Options sim = {})
        : config(chip), reader(std::make_shared<Virtual_Reader>(Sim_Profile{L"test", chip, sim})),
          master(&options, &config, &chip_number, &user, &user, &user) {
        Select_Virtual_Reader(reader);
        options.Work_Folder = folder.path.wstring() + L"/";
        for (std::uint32_t bank = 1; bank <= config.Get_Bank_Count(); ++bank) user.selected.push_back(bank);
    }
    ~Session() { Select_Virtual_Reader(nullptr); }

    bool Transcript_Has(const std::wstring& line) const {
        const auto& lines = reader->Transcript();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::size_t Transcript_Index(const std::wstring& line) const {
        const auto& lines = reader->Transcript();
        return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }

    Temp_Folder folder;
    NAND_Options options;
    NAND_Config config;
    std::uint32_t chip_number = 1;
    Recording_User user;
    std::shared_ptr<Virtual_Reader> reader;
    Reader_Master master;
};

}  // namespace

TEST(Dump_Workflow, EveryBankDumpedWithBitMapAndChipText) {
    Session session(Demo_Chip(L"WL"));
    session.master.Read_Action();
    EXPECT_TRUE(session.user.questions.empty());
    for (std::uint32_t bank = 1; bank <= 3; ++bank) {
        const auto& row = session.user.rows[bank];
        EXPECT_FALSE(row.error) << To_UTF8(row.text);
        EXPECT_EQ(row.text.rfind(L"Reading done (", 0), 0u) << To_UTF8(row.text);
        EXPECT_EQ(row.history.at(1), L"Read ID...");
        EXPECT_EQ(row.history.at(2), L"98 de 94 93 ");
        const std::vector<std::uint8_t> expected = Expected_Dump(session.config, 1, bank);
        const std::wstring dump = Format(L"01_%02d.dump", bank);
        EXPECT_EQ(session.folder.Bytes(dump), expected) << "bank " << bank;
        EXPECT_EQ(session.folder.Bytes(dump + L".bb"), Packed(Expected_Dump(session.config, 1, bank, true)));
    }
    EXPECT_EQ(session.user.open_progress, 0);
    // "Chip.txt" is the configuration's settings text as a UTF-16 file.
    EXPECT_EQ(Read_Unicode_File(session.folder.Name(L"FE/Chip.txt")), Export_Properties(session.config));
    const std::vector<std::uint8_t> chip_text = session.folder.Bytes(L"FE/Chip.txt");
    ASSERT_GE(chip_text.size(), 2u);
    EXPECT_EQ(chip_text[0], 0xFF);
    EXPECT_EQ(chip_text[1], 0xFE);
}

TEST(Dump_Workflow, StdBankLastChunkShorterAndStaleBitMapDeleted) {
    NAND_Config config = Demo_Chip(L"Std");
    config.Block = 0x21000;
    config.Blocks = 3;  // 0x63000 bytes: three full chunks and a shorter one
    Session session(config);
    session.user.selected = {2};
    session.folder.Put(L"01_02.dump.bb", {1, 2, 3});
    session.master.Read_Action();
    ASSERT_EQ(session.user.questions, (std::vector<std::wstring>{L"Overwrite dumps?"}));
    EXPECT_FALSE(session.user.rows[2].error) << To_UTF8(session.user.rows[2].text);
    EXPECT_EQ(session.folder.Bytes(L"01_02.dump"), Expected_Dump(config, 1, 2));
    EXPECT_EQ(session.folder.Bytes(L"01_02.dump").size(), 0x63000u);
    EXPECT_FALSE(std::filesystem::exists(session.folder.path / "01_02.dump.bb"));
}

TEST(Dump_Workflow, OverwriteQuestionOnceAndNoMeansNothingRead) {
    Session session(Demo_Chip(L"Std"));
    session.folder.Put(L"01_01.dump", {1});
    session.folder.Put(L"01_03.dump.bb", {2});
    session.user.answer = false;
    session.master.Read_Action();
    EXPECT_EQ(session.user.questions, (std::vector<std::wstring>{L"Overwrite dumps?"}));
    EXPECT_TRUE(session.user.rows.empty());
    EXPECT_EQ(session.folder.Bytes(L"01_01.dump"), (std::vector<std::uint8_t>{1}));
    EXPECT_FALSE(session.Transcript_Has(L"open"));
}

TEST(Dump_Workflow, FailingMiddleBankKeepsTheOthers) {
    Sim_Options sim;
    sim.dead_lines[1] = true;  // bank 2 answers FF
    Session session(Demo_Chip(L"Std"), sim);
    session.master.Read_Action();
    EXPECT_FALSE(session.user.rows[1].error);
    EXPECT_FALSE(session.user.rows[3].error);
    EXPECT_TRUE(session.user.rows[2].error);
    EXPECT_EQ(session.user.rows[2].text, L"ff ff ff ff   Wrong ID");
    EXPECT_TRUE(std::filesystem::exists(session.folder.path / "01_01.dump"));
    EXPECT_FALSE(std::filesystem::exists(session.folder.path / "01_02.dump"));
    EXPECT_EQ(session.folder.Bytes(L"01_03.dump"), Expected_Dump(session.config, 1, 3));
}

TEST(Dump_Workflow, UnpluggedReaderLeavesPartialDumpAndSwitchesPowerOffAfterTheLink) {
    NAND_Config config = Demo_Chip(L"Std");
    config.Power = L"1/0x0024";
    Sim_Options sim;
    sim.unplug_after = 0x30000;
    Session session(config, sim);
    session.options.Voltage = L" 1.8 ";
    session.options.Check_ID = false;
    session.user.selected = {1};
    session.master.Read_Action();
    const auto& row = session.user.rows[1];
    EXPECT_TRUE(row.error);
    EXPECT_EQ(row.text, L"Read failure, pos 0x00030000, size 0x20000");
    EXPECT_EQ(session.folder.Bytes(L"01_01.dump").size(), 0x20000u);
    EXPECT_FALSE(std::filesystem::exists(session.folder.path / "FE"));
    // Adapter and module on before the run's link; after it closed, both
    // are switched off through links of their own, which the unplugged
    // reader refuses.
    const auto& lines = session.reader->Transcript();
    const auto adapter_on = std::find(lines.begin(), lines.end(), L"adapter: set 1.80 V, measures 1.80 V");
    const auto module_on = std::find(adapter_on, lines.end(), L"module: setting 0x0024");
    const auto run = std::find(module_on, lines.end(), L"upload image 4");
    const auto close = std::find(run, lines.end(), L"close");
    ASSERT_NE(close, lines.end());
    EXPECT_EQ(std::vector<std::wstring>(close + 1, lines.end()),
              (std::vector<std::wstring>{L"open refused: unplugged", L"open refused: unplugged"}));
}

TEST(Dump_Workflow, PowerOffAfterTheRunLinkCloses) {
    NAND_Config config = Demo_Chip(L"Std");
    config.Power = L"1/0x0024";
    Session session(config);
    session.options.Voltage = L"1.8";
    session.user.selected = {1};
    session.master.Read_Action();
    ASSERT_FALSE(session.user.rows[1].error) << To_UTF8(session.user.rows[1].text);
    const auto& lines = session.reader->Transcript();
    // The page run: upload image 4 ... close, then module off, then adapter off.
    const auto run = std::find(lines.rbegin(), lines.rend(), L"upload image 4").base();
    const auto close = std::find(run, lines.end(), L"close");
    const auto module_off = std::find(close, lines.end(), L"module: off");
    const auto adapter_off = std::find(module_off, lines.end(), L"adapter: off");
    EXPECT_NE(adapter_off, lines.end());
}

TEST(Dump_Workflow, EmptyVoltageNeverTouchesTheAdapter) {
    Session session(Demo_Chip(L"Std"));
    session.user.selected = {1};
    session.master.Read_Action();
    for (const std::wstring& line : session.reader->Transcript()) {
        EXPECT_NE(line, L"upload image 2");
        EXPECT_NE(line, L"upload image 3");
    }
}

TEST(Dump_Workflow, WorkFolderNotSet) {
    Session session(Demo_Chip(L"Std"));
    session.options.Work_Folder.clear();
    session.master.Read_Action();
    EXPECT_EQ(session.user.message_boxes, (std::vector<std::wstring>{L"Error: Work folder don't set\n"}));
    EXPECT_TRUE(session.user.rows.empty());
    // "ID" does not need the folder.
    session.options.Check_ID = false;
    session.master.ID_Action();
    EXPECT_EQ(session.user.rows[1].text, L"98 de 94 93 ");
}

TEST(Dump_Workflow, PathsAndIdPatterns) {
    Session session(Demo_Chip(L"Std"));
    session.options.Work_Folder = L"D:\\work\\";
    session.chip_number = 2;
    EXPECT_EQ(session.master.Dump_Path(1), L"D:\\work\\02_01.dump");
    EXPECT_EQ(session.master.Bb_Path(1), L"D:\\work\\02_01.dump.bb");
    EXPECT_EQ(session.master.Config_Path(), Add_Separator(L"D:\\work\\FE") + L"Chip.txt");
    session.chip_number = 123;
    EXPECT_EQ(session.master.Dump_Path(1), L"D:\\work\\123_01.dump");
    session.config.Set_ID_Code(L"98 de * 93");
    session.master.ID_Action();
    EXPECT_EQ(session.user.rows[2].text, L"98 de 94 93 ");
    session.config.Set_ID_Code(L"98 DE");
    session.master.ID_Action();
    EXPECT_EQ(session.user.rows[2].text, L"98 de 94 93   Wrong ID");
    EXPECT_TRUE(session.user.rows[2].error);
    session.user.selected.clear();
    session.master.Read_Action();
    EXPECT_TRUE(session.user.questions.empty());
}

TEST(Bit_Map, PackedMostSignificantBitFirst) {
    const std::uint8_t stream[] = {0x01, 0x00, 0xFF, 0xFE, 0x03, 0x00, 0x00, 0x01, 0x01, 0x01, 0x00};
    std::uint8_t bits[2] = {0xAA, 0xAA};
    EXPECT_EQ(Korvane_Exe::Pack_Bit_Map(stream, 11, bits), 2u);
    EXPECT_EQ(bits[0], 0xA9);
    EXPECT_EQ(bits[1], 0xC0);
    std::vector<std::uint8_t> big(0x20003, 0x01);
    std::vector<std::uint8_t> packed(0x4001);
    EXPECT_EQ(Korvane_Exe::Pack_Bit_Map(big.data(), big.size(), packed.data()), 0x4001u);
    EXPECT_EQ(packed.back(), 0xE0);
}

TEST(Onfi_Report, GoodPageBlankChipAndMissingReader) {
    NAND_Config config = Demo_Chip(L"Std");
    config.Page = 18336;
    config.Block = 18336 * 256;
    config.Blocks = 2192;
    {
        Session session(config);
        session.master.Read_ONFI();
        EXPECT_EQ(session.user.reports[L"ONFI"],
                  L"Header 4f 4e 46 49 \n\nManufacturer: Toshiba     \nName: Demo                \n\nPage: 18336\n\n"
                  L"Block: 0x100\nBlocks: 0x890\nLUNs: 1\n\nCol: 2\nRow: 3\n\nBits per cell: 2\n");
    }
    {
        Sim_Options sim;
        sim.onfi = false;
        Session session(config, sim);
        session.master.Read_ONFI();
        EXPECT_EQ(session.user.reports[L"ONFI"], L"Header ff ff ff ff \n\nError: Wrong Header\n");
    }
    Session session(config);
    Select_Virtual_Reader(nullptr);
    Korvane_Internal::Install_Virtual_Device_Provider(nullptr);
    session.master.Read_ONFI();
    EXPECT_EQ(session.user.reports[L"ONFI"], L"\nMedia Error: Korvane2 not found\n");
}

TEST(Usb_Test, GoodAndCorruptedReader) {
    {
        Session session(Demo_Chip(L"Std"));
        session.master.Test_USB();
        EXPECT_EQ(session.user.message_boxes,
                  (std::vector<std::wstring>{L"Read  256   OK\nRead    4   OK\nWrite 256   OK\nRead  256   OK\n\n"}));
    }
    Sim_Options sim;
    sim.self_test_corrupt = true;
    Session session(Demo_Chip(L"Std"), sim);
    session.master.Test_USB();
    EXPECT_EQ(session.user.message_boxes,
              (std::vector<std::wstring>{L"Read  256   Fail\nRead    4   OK\nWrite 256   OK\nRead  256   OK\n\n"}));
}

TEST(Bit_Map, EveryBytePatternAgainstTheBitRule) {
    // Every value of bit 0 over eight bytes, with the other bits noisy.
    std::vector<std::uint8_t> stream;
    for (int pattern = 0; pattern < 256; ++pattern)
        for (int k = 0; k < 8; ++k) stream.push_back(static_cast<std::uint8_t>(((pattern >> k) & 1) | (k * 0x36 & 0xFE)));
    std::vector<std::uint8_t> bits(256);
    Korvane_Exe::Pack_Bit_Map(stream.data(), stream.size(), bits.data());
    for (int pattern = 0; pattern < 256; ++pattern) {
        std::uint8_t expected = 0;
        for (int k = 0; k < 8; ++k)
            if (pattern >> k & 1) expected |= static_cast<std::uint8_t>(0x80 >> k);
        ASSERT_EQ(bits[pattern], expected) << pattern;
    }
}

// The bb pass runs for triple-page command sets with "Read bb" on; in every
// case a bit map left from an earlier run never stays beside the new dump.
struct Command_Case {
    const wchar_t* cmd;
    bool read_bb;
    bool bit_map;  // a new bb file is written
};

class Dump_Commands : public testing::TestWithParam<Command_Case> {};

TEST_P(Dump_Commands, BitMapPassAndStaleBitMap) {
    Session session(Demo_Chip(GetParam().cmd));
    session.options.Read_bb_Enabled = GetParam().read_bb;
    session.user.selected = {2};
    session.folder.Put(L"01_02.dump.bb", {1, 2, 3});
    session.master.Read_Action();
    ASSERT_FALSE(session.user.rows[2].error) << To_UTF8(session.user.rows[2].text);
    EXPECT_EQ(session.folder.Bytes(L"01_02.dump"), Expected_Dump(session.config, 1, 2));
    if (GetParam().bit_map)
        EXPECT_EQ(session.folder.Bytes(L"01_02.dump.bb"), Packed(Expected_Dump(session.config, 1, 2, true)));
    else
        EXPECT_FALSE(std::filesystem::exists(session.folder.path / "01_02.dump.bb"));
}

INSTANTIATE_TEST_SUITE_P(Cases, Dump_Commands,
                         testing::Values(Command_Case{L"Std", true, false}, Command_Case{L"A2", true, false},
                                         Command_Case{L"WL", true, true}, Command_Case{L"WL v2", true, true},
                                         Command_Case{L"HYBRIDx3", true, true}, Command_Case{L"WL", false, false},
                                         Command_Case{L"WL v2", false, false}, Command_Case{L"HYBRIDx3", false, false},
                                         Command_Case{L"A2", false, false}));

// Bank 1 over an earlier dump (01 02 03) and bit map (04) of the same bank.
// A run that never starts leaves both as they were; once data flows, a
// failure leaves the partial dump and no stale bit map; "Chip.txt" follows
// only a complete dump.
struct Failure_Case {
    const char* name;
    void (*chip)(NAND_Config&, Sim_Options&);
    void (*before)(Session&);
    std::wstring row;         // the row's text, or its start
    bool error;               // the row has the error mark
    std::int64_t dump_bytes;  // the new dump's length; -1: the old dump is kept
};

class Dump_Failures : public testing::TestWithParam<Failure_Case> {};

TEST_P(Dump_Failures, OldFilesKeptOrPartialDumpWithoutStaleBitMap) {
    const Failure_Case& failure = GetParam();
    NAND_Config chip = Demo_Chip(L"Std");
    Sim_Options sim;
    failure.chip(chip, sim);
    Session session(chip, sim);
    session.options.Check_ID = false;
    session.user.selected = {1};
    session.folder.Put(L"01_01.dump", {1, 2, 3});
    session.folder.Put(L"01_01.dump.bb", {4});
    failure.before(session);
    session.master.Read_Action();
    const auto& row = session.user.rows[1];
    EXPECT_EQ(row.text.substr(0, failure.row.size()), failure.row) << To_UTF8(row.text);
    EXPECT_EQ(row.error, failure.error);
    EXPECT_EQ(std::filesystem::exists(session.folder.path / "FE" / "Chip.txt"), !failure.error);
    if (failure.dump_bytes < 0) {
        EXPECT_EQ(session.folder.Bytes(L"01_01.dump"), (std::vector<std::uint8_t>{1, 2, 3}));
        EXPECT_EQ(session.folder.Bytes(L"01_01.dump.bb"), (std::vector<std::uint8_t>{4}));
    } else {
        EXPECT_EQ(session.folder.Bytes(L"01_01.dump").size(), static_cast<std::size_t>(failure.dump_bytes));
        EXPECT_FALSE(std::filesystem::is_regular_file(session.folder.path / "01_01.dump.bb"));
    }
}

void Same_Chip(NAND_Config&, Sim_Options&) {}
void Same_Session(Session&) {}

INSTANTIATE_TEST_SUITE_P(
    Cases, Dump_Failures,
    testing::Values(
        Failure_Case{"ConfigurationError", [](NAND_Config& c, Sim_Options&) { c.Bus = L"16", c.DDR = true; },
                     Same_Session, L"16-bit DDR not supported", true, -1},
        Failure_Case{"ReaderMissing", Same_Chip,
                     [](Session&) {
                         Select_Virtual_Reader(nullptr);
                         Korvane_Internal::Install_Virtual_Device_Provider(nullptr);
                     },
                     L"Korvane2 not found", true, -1},
        Failure_Case{"NoAdapter", [](NAND_Config&, Sim_Options& s) { s.adapter = false; },
                     [](Session& s) { s.options.Voltage = L"1.8"; }, L"Power adapter not found", true, -1},
        Failure_Case{"NoModule", [](NAND_Config& c, Sim_Options& s) { c.Power = L"1/0x0024", s.module = false; },
                     Same_Session, L"Power mod chip not found", true, -1},
        Failure_Case{"RetryParameters", [](NAND_Config& c, Sim_Options&) { c.Retry = L"Micron/1 2"; }, Same_Session,
                     L"This Retry command must have 1 parameters", true, -1},
        Failure_Case{"IdSizeZero", Same_Chip,
                     [](Session& s) {
                         s.options.Check_ID = true;
                         s.options.ID_Size = 0;
                     },
                     L"ID Size <0> reads no ID", true, -1},
        Failure_Case{"BankWithoutChipEnable", [](NAND_Config& c, Sim_Options&) { c.Join_CE = L"/1"; }, Same_Session,
                     L"Bank <1> has no chip-enable line in Join CE </1>", true, -1},
        Failure_Case{"StandardException", Same_Chip, [](Session& s) { s.user.progress_fails = true; },
                     L"STD Error: no progress window", true, -1},
        Failure_Case{"Unplugged", [](NAND_Config&, Sim_Options& s) { s.unplug_after = 0x30000; }, Same_Session,
                     L"Read failure, pos 0x00030000, size 0x20000", true, 0x20000},
        // The stale files go before the dump is cut: the old dump stays whole.
        Failure_Case{"StaleBitMapCannotGo", Same_Chip,
                     [](Session& s) {
                         std::filesystem::remove(s.folder.path / "01_01.dump.bb");
                         std::filesystem::create_directory(s.folder.path / "01_01.dump.bb");
                     },
                     L"Can't delete file <", true, 3}),
    [](const testing::TestParamInfo<Failure_Case>& info) { return std::string(info.param.name); });

// A window that throws from its progress bar ends neither pass.
TEST(Dump_Workflow, ThrowingProgressStepsAreIgnored) {
    Session session(Demo_Chip(L"WL"));
    session.user.selected = {1};
    session.user.position_throws = true;
    session.master.Read_Action();
    EXPECT_GT(session.user.positions, 1);
    EXPECT_EQ(session.user.rows[1].text.rfind(L"Reading done (", 0), 0u);
    EXPECT_EQ(session.folder.Bytes(L"01_01.dump"), Expected_Dump(session.config, 1, 1));
    EXPECT_EQ(session.folder.Bytes(L"01_01.dump.bb"), Packed(Expected_Dump(session.config, 1, 1, true)));
}
