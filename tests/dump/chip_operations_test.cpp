#include "dump/chip_operations.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "emulator/virtual_reader.h"
#include "tests/message_of.h"

using namespace Korvane_Internal;

namespace {

NAND_Config Chip(const std::wstring& bus, bool ddr = false) {
    NAND_Config config;
    config.Set_ID_Code(L"ec d7 94 76");
    config.Banks = L"1 x 1 MB";
    config.Page = 2112;
    config.Bus = bus;
    config.DDR = ddr;
    return config;
}

// An emulator for the test's duration.
struct Emulated {
    explicit Emulated(const NAND_Config& config, Korvane_Emulator::Sim_Options sim = {})
        : reader(std::make_shared<Korvane_Emulator::Virtual_Reader>(Korvane_Emulator::Sim_Profile{L"t", config, sim})) {
        Korvane_Emulator::Select_Virtual_Reader(reader);
    }
    ~Emulated() { Korvane_Emulator::Select_Virtual_Reader(nullptr); }
    std::size_t Count(const std::wstring& line) const {
        const auto& lines = reader->Transcript();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }
    std::shared_ptr<Korvane_Emulator::Virtual_Reader> reader;
};

}  // namespace

TEST(Chip_Operations, TransferCountsByBusAndDdr) {
    const NAND_Options options;
    EXPECT_EQ(Korvane(1, Chip(L"8"), options).setup.transfer_count, 2112u);
    EXPECT_EQ(Korvane(1, Chip(L"16"), options).setup.transfer_count, 1056u);
    EXPECT_EQ(Korvane(1, Chip(L"8", true), options).setup.transfer_count, 1056u);
    EXPECT_EQ(Korvane(1, Chip(L"16-8"), options).setup.transfer_count, 2112u);
    EXPECT_TRUE(Korvane(1, Chip(L"16-8"), options).setup.bus_16_8);
    EXPECT_EQ(Message_Of([&] { Korvane(1, Chip(L"16", true), options); }), L"16-bit DDR not supported");
    // The ID read of the same configuration ignores DDR.
    EXPECT_TRUE(Id_Setup(1, Chip(L"16", true), options).wide_bus);
    EXPECT_EQ(Message_Of([&] { Korvane(1, Chip(L"32"), options); }), L"Unknown Bus");
    EXPECT_EQ(Message_Of([&] { Id_Setup(1, Chip(L"32"), options); }), L"Unknown bus");
    EXPECT_EQ(Message_Of([&] { Parameter_Page_Setup(1, Chip(L"32"), options); }), L"Unknown bus");
}

TEST(Chip_Operations, TimingsRowsAndScripts) {
    NAND_Config config = Chip(L"8");
    config.RE_Up = 3;
    config.RE_Down = 5;
    NAND_Options options;
    options.Before_Read = L"Cmd 0xA2";
    Korvane medium(2, config, options);
    EXPECT_EQ(medium.setup.Make_Setup_Block()[15], 0x53);
    EXPECT_EQ(medium.setup.chip_enable, 2u);
    EXPECT_EQ(medium.setup.end_row, 512u);
    EXPECT_EQ(medium.setup.before_read, L"Cmd 0xA2");
    EXPECT_EQ(medium.GetSize(), 2112u * 512);
    options.Slow = true;
    EXPECT_EQ(Korvane(1, config, options).setup.Make_Setup_Block()[15], 0xE7);
    // The ID read keeps its own timings whatever the options say.
    EXPECT_EQ(Id_Setup(1, config, options).Make_Setup_Block()[15], 0x77);
    EXPECT_EQ(Message_Of([&] { medium.Write("x", 1); }), L"Bug: Can not write to reader");
    EXPECT_EQ(Message_Of([&] { medium.SetPos(0); }), L"Bug: Can not set pos to reader");
}

TEST(Chip_Operations, IdTextAndIdSize) {
    const NAND_Config config = Chip(L"8");
    Emulated emulated(config);
    NAND_Options options;
    options.ID_Size = 5;
    EXPECT_EQ(Read_Id(1, config, options), L"ec d7 94 76 ec ");
    options.ID_Size = 0x10000;
    EXPECT_EQ(Message_Of([&] { Read_Id(1, config, options); }), L"ID Size <65536> is more than the reader reads");
}

TEST(Chip_Operations, AdapterOffOnlyWhenItWasSet) {
    const NAND_Config config = Chip(L"8");
    NAND_Options options;
    {
        // Off the 0.05 V grid: refused before anything is sent.
        Emulated emulated(config);
        options.Voltage = L"1.21";
        EXPECT_EQ(Message_Of([&] { Read_Id(1, config, options); }), L"Power adapter voltage must be align on 0.05");
        EXPECT_EQ(emulated.Count(L"open"), 0u);
    }
    {
        // Measured wrong: the adapter was set, so it is switched off again.
        Korvane_Emulator::Sim_Options sim;
        sim.voltage_offset = -7;
        Emulated emulated(config, sim);
        options.Voltage = L"1.8";
        EXPECT_EQ(Message_Of([&] { Read_Id(1, config, options); }), L"Set 1.8v, but get 1.73v");
        EXPECT_EQ(emulated.Count(L"adapter: off"), 1u);
        EXPECT_EQ(emulated.reader->Adapter_Voltage(), 0u);
    }
}
