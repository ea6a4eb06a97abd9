#include "emulator/virtual_reader.h"

#include <gtest/gtest.h>

#include "emulator/program.h"
#include "framework/values.h"
#include "reader/power.h"
#include "reader/retry/retry.h"
#include "tests/emulator/emulator_session.h"
#include "tests/temp_folder.h"
#include "tests/message_of.h"

using namespace Korvane_Emulator;
namespace KI = Korvane_Internal;

namespace {


NAND_Config Small_Chip(const std::wstring& cmd, std::uint32_t page = 2112, const std::wstring& banks = L"2 x 1 MB") {
    NAND_Config config;
    config.Company = L"Toshiba";
    config.Name = L"TESTCHIP";
    config.Set_ID_Code(L"98 d3 * 26");
    config.Banks = banks;
    config.Page = page;
    config.Cmd = cmd;
    return config;
}

Sim_Profile Seeded(const NAND_Config& config, std::uint64_t seed = 7) {
    Sim_Profile profile = Profile_From_Config(config, L"test");
    profile.sim.source.kind = Page_Source::Kind::Seeded;
    profile.sim.source.seed = seed;
    return profile;
}

std::vector<std::uint8_t> Read_All(KI::ZEKT_Reader2& link, std::uint64_t size) {
    std::vector<std::uint8_t> bytes(size);
    // The host reads in chunks; a chunk may end inside a page.
    constexpr std::uint64_t chunk = 100000;
    for (std::uint64_t at = 0; at < size; at += chunk) link.Read(bytes.data() + at, std::min(chunk, size - at));
    return bytes;
}

std::vector<std::uint8_t> Expected_Page(std::uint64_t seed, std::uint32_t chip_enable, std::uint32_t row,
                                        std::uint32_t page, std::uint32_t bytes) {
    std::vector<std::uint8_t> expected(bytes);
    Fill_Seeded(seed, chip_enable, row, page, bytes, 0, expected.data(), bytes);
    return expected;
}

}  // namespace

TEST(Emulator_Stream, EveryCommandSetStreamsEveryPageOfEveryRowInOrder) {
    for (const wchar_t* cmd : {L"Std", L"A2", L"WL", L"WL v2", L"HYBRIDx3"}) {
        const NAND_Config config = Small_Chip(cmd);
        Emulator_Session session(Seeded(config));
        KI::Reader_Setup setup = Emulator_Session::Page_Setup(config, 2);
        auto link = session.Open_Page_Run(setup);
        const std::uint64_t size = config.Get_Bank_Dump_Size();
        const std::vector<std::uint8_t> stream = Read_All(*link, size);
        const std::uint32_t pages_per_row = config.Is_Triple_Page() ? 3 : 1;
        std::uint64_t at = 0;
        for (std::uint32_t row = 0; at < size; ++row) {
            for (std::uint32_t page = 0; page < pages_per_row && at < size; ++page, at += config.Page) {
                const std::vector<std::uint8_t> expected = Expected_Page(7, 2, row, page, config.Page);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), stream.begin() + at))
                    << To_UTF8(cmd) << " row " << row << " page " << page;
            }
        }
        // The stream ends with the last row of the range (a whole word line
        // for three-page sets): one byte more is a short read.
        std::int64_t start = 0, end = static_cast<std::int64_t>(size);
        config.Get_Real_Page_Range(start, end, setup.first_row, setup.end_row);
        std::vector<std::uint8_t> rest(static_cast<std::size_t>(end) - size + 1);
        EXPECT_EQ(Message_Of([&] { link->Read(rest.data(), rest.size()); }),
                  Format(L"Read failure, pos 0x%08I64x, size 0x%x", end, rest.size()));
    }
}

TEST(Emulator_Stream, WideBusAndDdrMoveTwoBytesPerTransfer) {
    NAND_Config config = Small_Chip(L"Std", 2112, L"1 x 1 MB");
    config.Bus = L"16";
    Emulator_Session session(Seeded(config));
    KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
    EXPECT_EQ(setup.transfer_count, 1056u);
    auto link = session.Open_Page_Run(setup);
    const std::vector<std::uint8_t> stream = Read_All(*link, 2 * 2112);
    const std::vector<std::uint8_t> second = Expected_Page(7, 1, 1, 0, 2112);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), stream.begin() + 2112));
}

TEST(Emulator_Stream, SkipRulesDropExactlyTheRowsTheHostSkips) {
    // Scaled-down forms of catalogue chips: 384 of every 512 rows exist, and
    // a second rule on top of the first.
    struct Case {
        std::uint32_t page, block, blocks, mask_1, page_1, mask_2, page_2;
        const wchar_t* cmd;
    };
    const Case cases[] = {
        {4320, 0x195000, 3, 0x1FF, 0x180, 0xFFFFFFFF, 0xFFFFFFFF, L"Std"},
        {16, 32, 20, 0x3, 0x2, 0xF, 0x8, L"Std"},
        {64, 3 * 64 * 0x56, 2, 0xFF, 0x56, 0xFFFFFFFF, 0xFFFFFFFF, L"WL"},
    };
    for (const Case& c : cases) {
        NAND_Config config = Small_Chip(c.cmd, c.page);
        config.Block = c.block;
        config.Blocks = c.blocks;
        config.Skip_Mask_1 = c.mask_1;
        config.Skip_Page_1 = c.page_1;
        config.Skip_Mask_2 = c.mask_2;
        config.Skip_Page_2 = c.page_2;
        Emulator_Session session(Seeded(config, 3));
        KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
        auto link = session.Open_Page_Run(setup);
        const std::uint64_t size = config.Get_Bank_Dump_Size();
        const std::vector<std::uint8_t> stream = Read_All(*link, size);
        std::uint8_t extra;
        EXPECT_THROW(link->Read(&extra, 1), ZEKT_Exception_Media) << "stream longer than the dump";
        const std::uint32_t pages_per_row = config.Is_Triple_Page() ? 3 : 1;
        const std::uint64_t unit = std::uint64_t{config.Page} * pages_per_row;
        for (std::uint64_t logical = 0; logical < size / unit; ++logical) {
            const auto row = static_cast<std::uint32_t>(config.Get_Real_Page(static_cast<std::int64_t>(logical)));
            for (std::uint32_t page = 0; page < pages_per_row; ++page) {
                const std::vector<std::uint8_t> expected = Expected_Page(3, 1, row, page, config.Page);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(),
                                       stream.begin() + logical * unit + page * config.Page))
                    << "logical row " << logical << " real row " << row;
            }
        }
    }
}

TEST(Emulator_Chip, IdAndParameterPage) {
    NAND_Config config = Small_Chip(L"Std");
    Emulator_Session session(Seeded(config));
    {
        KI::Reader_Setup setup;
        setup.end_row = 1;
        setup.id_mode = true;
        setup.transfer_count = 6;
        setup.chip_enable = 1;
        auto link = session.Open_Page_Run(setup);
        std::uint8_t id[6];
        link->Read(id, 6);
        // "*" answers 00; after the last byte the ID repeats.
        EXPECT_EQ(std::vector<std::uint8_t>(id, id + 6), (std::vector<std::uint8_t>{0x98, 0xD3, 0x00, 0x26, 0x98, 0xD3}));
    }
    KI::Reader_Setup setup;
    setup.end_row = 1;
    setup.transfer_count = 256;
    setup.command_set = L"Custom";
    setup.chip_enable = 1;
    KI::NAND_Assembler::Assembler_Code code;
    KI::NAND_Assembler::Build_Parameter_Page_Program(code);
    auto link = session.Open_Run(setup, code);
    std::uint8_t page[256];
    link->Read(page, 256);
    EXPECT_EQ(std::string(page, page + 4), "ONFI");
    EXPECT_EQ(Onfi_CRC16(page, 254), page[254] | page[255] << 8);
    EXPECT_EQ(std::string(page + 32, page + 44), "Toshiba     ");
    EXPECT_EQ(std::string(page + 44, page + 64), "TESTCHIP            ");
    EXPECT_EQ(page[80] | page[81] << 8, 2048);
    EXPECT_EQ(page[84] | page[85] << 8, 64);
    EXPECT_EQ(page[101], 0x23);
}

TEST(Emulator_Chip, OnfiCrcVectorsAndCorruption) {
    const std::uint8_t onfi[] = {'O', 'N', 'F', 'I'};
    EXPECT_EQ(Onfi_CRC16(onfi, 4), 0x15B3);
    const std::vector<std::uint8_t> zeros(254, 0x00), ones(254, 0xFF);
    EXPECT_EQ(Onfi_CRC16(zeros.data(), 254), 0x3EEE);
    EXPECT_EQ(Onfi_CRC16(ones.data(), 254), 0xC1E2);
    Onfi_Geometry geometry;
    geometry.manufacturer = "MICRON";
    Onfi_Page page = Make_Onfi_Page(geometry);
    EXPECT_EQ(Onfi_CRC16(page.data(), 254), page[254] | page[255] << 8);
    page[40] ^= 1;
    EXPECT_NE(Onfi_CRC16(page.data(), 254), page[254] | page[255] << 8);
}

TEST(Emulator_Chip, ChipWithoutOnfiOrDeadLineAnswersFF) {
    NAND_Config config = Small_Chip(L"Std");
    Sim_Profile profile = Seeded(config);
    profile.sim.onfi = false;
    profile.sim.dead_lines[1] = true;
    Emulator_Session session(profile);
    KI::Reader_Setup setup;
    setup.end_row = 1;
    setup.transfer_count = 256;
    setup.chip_enable = 1;
    KI::NAND_Assembler::Assembler_Code code;
    KI::NAND_Assembler::Build_Parameter_Page_Program(code);
    std::uint8_t page[256];
    session.Open_Run(setup, code)->Read(page, 256);
    EXPECT_EQ(std::vector<std::uint8_t>(page, page + 256), std::vector<std::uint8_t>(256, 0xFF));

    KI::Reader_Setup id_setup;
    id_setup.end_row = 1;
    id_setup.id_mode = true;
    id_setup.transfer_count = 4;
    id_setup.chip_enable = 2;  // line 2 does not answer
    std::uint8_t id[4];
    session.Open_Page_Run(id_setup)->Read(id, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(id, id + 4), std::vector<std::uint8_t>(4, 0xFF));
}

TEST(Emulator_Chip, SpecialReadCarriesPageParityInBitZero) {
    const NAND_Config config = Small_Chip(L"WL", 256, L"1 x 1 MB");
    Emulator_Session session(Seeded(config));
    KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
    setup.special_read = true;
    auto link = session.Open_Page_Run(setup);
    const std::vector<std::uint8_t> stream = Read_All(*link, 3 * 3 * 256);
    for (std::uint32_t row = 0; row < 3; ++row)
        for (std::uint32_t page = 0; page < 3; ++page) {
            const std::vector<std::uint8_t> data = Expected_Page(7, 1, row, page, 256);
            for (std::uint32_t i = 0; i < 256; ++i)
                ASSERT_EQ(stream[(row * 3 + page) * 256 + i], Special_Byte(data[i])) << row << " " << page << " " << i;
        }
    EXPECT_EQ(Special_Byte(0x00), 0xFE);
    EXPECT_EQ(Special_Byte(0x01), 0xFF);
    EXPECT_EQ(Special_Byte(0x03), 0xFE);
}

TEST(Emulator_Chip, RetryRegistersDecideWhetherPagesAreClean) {
    NAND_Config config = Small_Chip(L"Std", 2112, L"1 x 1 MB");
    Sim_Profile profile = Seeded(config);
    profile.sim.clean_registers = {{0xAC, 0x00}, {0xAD, 0x06}};
    Emulator_Session session(profile);
    const std::vector<std::uint8_t> expected = Expected_Page(7, 1, 0, 0, 2112);
    {
        KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
        const std::vector<std::uint8_t> page = Read_All(*session.Open_Page_Run(setup), 2112);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < page.size(); ++i) differing += page[i] != expected[i];
        EXPECT_EQ(differing, 5u);  // one flipped bit in every 509 bytes
    }
    config.Retry = L"Hynix v1/00 06 0A 0F";
    KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
    setup.retry_name = L"Hynix v1";
    KI::NAND_Assembler::Read_Retry::Parse_Retry(config.Retry, setup.retry_name, setup.retry_parameters);
    const std::vector<std::uint8_t> page = Read_All(*session.Open_Page_Run(setup), 2112);
    EXPECT_EQ(page, expected);
    EXPECT_EQ(session.reader->Chip(0).Registers().at(0xAF), 0x0F);
}

TEST(Emulator_Wire, OneLinkAtATimeAndWellFormedPrograms) {
    Emulator_Session session(Seeded(Small_Chip(L"Std")));
    {
        KI::ZEKT_Reader2 first;
        EXPECT_EQ(Message_Of([] { KI::ZEKT_Reader2 second; }), L"Korvane2 not found");
        EXPECT_THROW(KI::ZEKT_Reader2 second, ZEKT_Exception_Media);
    }
    KI::ZEKT_Reader2 again;
    // Anything but an image first is refused.
    const std::uint8_t program[2048] = {};
    EXPECT_EQ(Message_Of([&] { again.Write(program, sizeof program); }),
              L"Write failure - upload of 2048 bytes is no configuration image");
    std::uint8_t byte;
    EXPECT_EQ(Message_Of([&] { again.Read(&byte, 1); }), L"Read failure, pos 0x00000000, size 0x1");
}

TEST(Emulator_Wire, MalformedProgramIsAWriteFailure) {
    Emulator_Session session(Seeded(Small_Chip(L"Std")));
    KI::ZEKT_Reader2 link;
    link.Load_Image(KI::Configuration_Image(KI::Image::Read));
    KI::NAND_Assembler::Assembler_Code code;
    code.Emit(0x11, 0xFF);  // a command without its Step_End
    const auto wire = code.Wire_Bytes();
    EXPECT_EQ(Message_Of([&] { link.Write(wire.data(), wire.size()); }),
              L"Write failure - Malformed program: step without Step_End at word <0>");
}

TEST(Emulator_Program, DecodingRejectsBrokenPrograms) {
    auto decode = [](const std::vector<std::uint16_t>& words) {
        std::vector<std::uint8_t> wire(2048, 0);
        for (std::size_t k = 0; k < words.size(); ++k) {
            wire[2 * k] = words[k] & 0xFF;
            wire[2 * k + 1] = words[k] >> 8;
        }
        return Message_Of([&] { Decode_Program(wire.data(), wire.size()); });
    };
    EXPECT_EQ(decode({0x2100, 0x8000, 0x2200, 0x8000}), L"(no failure)");
    EXPECT_EQ(decode(std::vector<std::uint16_t>(1024, 0x2100)), L"Malformed program: step without Step_End at word <0>");
    std::vector<std::uint16_t> waits;
    for (int k = 0; k < 512; ++k) waits.insert(waits.end(), {0x2100, 0x8000});
    EXPECT_EQ(decode(waits), L"Malformed program: no End at word <1024>");
    EXPECT_EQ(decode({0x2100, 0x8000}), L"Malformed program: unknown word at word <2>");
    EXPECT_EQ(decode({0x3001, 0x3002, 0x3003, 0x3004, 0x3005, 0x0008, 0x2100, 0x8000, 0x3000, 0x0001, 0x2200, 0x8000}),
              L"Malformed program: loop tail target misses the head at word <9>");
    EXPECT_EQ(decode({0x3001, 0x3002, 0x3003, 0x3004, 0x3005, 0x0007, 0x2100, 0x8000, 0x3000, 0x0000, 0x2200, 0x8000}),
              L"Malformed program: loop head target misses the tail at word <5>");
    EXPECT_EQ(decode({0x3001, 0x3002, 0x3003, 0x3004, 0x3005, 0xF000, 0x2200, 0x8000}),
              L"Malformed program: loop without tail at word <0>");
    EXPECT_EQ(decode({0x4400}), L"Malformed program: unknown word at word <0>");
}

TEST(Emulator_Faults, PowerAdapterAndModule) {
    NAND_Config config = Small_Chip(L"Std");
    {
        Emulator_Session session(Seeded(config));
        KI::Power::Set_Adapter_Voltage(180);
        EXPECT_EQ(session.reader->Adapter_Voltage(), 180u);
        KI::Power::Adapter_Off();
        EXPECT_EQ(session.reader->Adapter_Voltage(), 0u);
        KI::Power::Module_Command(0x24);
        EXPECT_EQ(session.reader->Module_Setting(), 0x24);
        const auto& lines = session.reader->Transcript();
        EXPECT_NE(std::find(lines.begin(), lines.end(), L"adapter: set 1.80 V, measures 1.80 V"), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), L"upload image 2"), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), L"module: setting 0x0024"), lines.end());
    }
    Sim_Profile profile = Seeded(config);
    profile.sim.voltage_offset = -7;
    profile.sim.module = false;
    {
        Emulator_Session session(profile);
        EXPECT_EQ(Message_Of([] { KI::Power::Set_Adapter_Voltage(180); }), L"Set 1.8v, but get 1.73v");
        EXPECT_EQ(Message_Of([] { KI::Power::Module_Command(0x24); }), L"Power mod chip not found");
        EXPECT_FALSE(session.reader->Link_Open());
    }
    profile.sim.adapter = false;
    Emulator_Session session(profile);
    EXPECT_EQ(Message_Of([] { KI::Power::Set_Adapter_Voltage(330); }), L"Power adapter not found");
}

TEST(Emulator_Faults, UnplugAfterSomeData) {
    const NAND_Config config = Small_Chip(L"Std");
    Sim_Profile profile = Seeded(config);
    profile.sim.unplug_after = 5000;
    Emulator_Session session(profile);
    KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
    auto link = session.Open_Page_Run(setup);
    std::vector<std::uint8_t> buffer(4096);
    link->Read(buffer.data(), 4096);
    EXPECT_EQ(Message_Of([&] { link->Read(buffer.data(), 4096); }), L"Read failure, pos 0x00001388, size 0x1000");
    EXPECT_EQ(Message_Of([&] { link->Read(buffer.data(), 1); }), L"Read failure, pos 0x00001388, size 0x1");
    link.reset();  // the link can still be closed
    EXPECT_EQ(Message_Of([] { KI::ZEKT_Reader2 gone; }), L"Korvane2 not found");
}

TEST(Emulator_Faults, CorruptedSelfTest) {
    Sim_Profile profile = Seeded(Small_Chip(L"Std"));
    profile.sim.self_test_corrupt = true;
    Emulator_Session session(profile);
    KI::ZEKT_Reader2 link;
    link.Load_Image(KI::Configuration_Image(KI::Image::Self_Test));
    std::uint8_t block[512];
    link.Read(block, 512);
    EXPECT_EQ(block[0], 0xFF);
    EXPECT_EQ(block[1], 0x00);
    EXPECT_NE(block[100], static_cast<std::uint8_t>(255 - 50));
}

TEST(Emulator_Chip, EveryRetryStrategyLandsItsValuesInTheRegisterFile) {
    namespace RR = KI::NAND_Assembler::Read_Retry;
    const NAND_Config config = Small_Chip(L"Std", 2112, L"1 x 1 MB");
    for (const auto& entry : RR::Registry().entries) {
        const std::unique_ptr<RR::Base> strategy = RR::Create_Retry(entry.name);
        Emulator_Session session(Seeded(config));
        KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
        setup.retry_name = entry.name;
        for (std::uint32_t i = 0; i < strategy->Parameter_Count(); ++i)
            setup.retry_parameters.push_back({static_cast<std::uint8_t>(0xB0 + i), true});
        // The strategy's steps run before the loop or before the first page.
        const std::vector<std::uint8_t> page = Read_All(*session.Open_Page_Run(setup), 2112);
        EXPECT_EQ(page.size(), 2112u);
        std::vector<std::uint8_t> held;
        for (const auto& [key, value] : session.reader->Chip(0).Registers()) held.push_back(value);
        for (std::uint32_t i = 0; i < strategy->Parameter_Count(); ++i)
            EXPECT_NE(std::find(held.begin(), held.end(), 0xB0 + i), held.end())
                << To_UTF8(entry.name) << " parameter " << i;
    }
}

TEST(Emulator_Chip, OnlyTheLinesOfTheBanksAnswer) {
    NAND_Config config = Small_Chip(L"Std", 2112, L"2 x 1 MB");
    EXPECT_EQ(Populated_Lines(config), 0x03u);
    config.Join_CE = L"1-3/2-4";
    EXPECT_EQ(Populated_Lines(config), 0x0Fu);
    config.Banks = L"nonsense";
    EXPECT_EQ(Populated_Lines(config), 0xFFu);
    Emulator_Session session(Seeded(Small_Chip(L"Std", 2112, L"2 x 1 MB")));
    EXPECT_TRUE(session.reader->Chip(1).Answers());
    EXPECT_FALSE(session.reader->Chip(2).Answers());
}

TEST(Emulator_Chip, PagesFromARawImageFile) {
    Temp_Folder folder;
    // Rows of one 16-byte page; the file holds rows 0 and 1 and half of row 2.
    std::vector<std::uint8_t> image(40);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i);
    folder.Put(L"image.bin", image);
    NAND_Config config = Small_Chip(L"Std", 16);
    config.Block = 16 * 4;
    config.Blocks = 1;
    Sim_Profile profile = Profile_From_Config(config, L"file");
    profile.sim.source.kind = Page_Source::Kind::File;
    profile.sim.source.file = folder.Name(L"image.bin");
    Emulator_Session session(profile);
    KI::Reader_Setup setup = Emulator_Session::Page_Setup(config);
    const std::vector<std::uint8_t> stream = Read_All(*session.Open_Page_Run(setup), 64);
    // Past the end of the file the chip reads erased.
    std::vector<std::uint8_t> expected(64, 0xFF);
    std::copy(image.begin(), image.end(), expected.begin());
    EXPECT_EQ(stream, expected);
}
