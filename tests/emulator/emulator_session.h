// A small session with the emulator: select a virtual reader for a profile,
// then open a reading run over the link exactly as the host does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/nand_config.h"
#include "emulator/virtual_reader.h"
#include "reader/assembler.h"
#include "reader/images.h"
#include "reader/link.h"
#include "reader/programs.h"
#include "reader/setup.h"

class Emulator_Session {
public:
    explicit Emulator_Session(Korvane_Emulator::Sim_Profile profile)
        : reader(std::make_shared<Korvane_Emulator::Virtual_Reader>(std::move(profile))) {
        Korvane_Emulator::Select_Virtual_Reader(reader);
    }
    ~Emulator_Session() { Korvane_Emulator::Select_Virtual_Reader(nullptr); }
    Emulator_Session(const Emulator_Session&) = delete;
    Emulator_Session& operator=(const Emulator_Session&) = delete;

    // A page-read setup of bank 1 over the whole bank, as a reading run fills it.
    static Korvane_Internal::Reader_Setup Page_Setup(const NAND_Config& config, std::uint32_t bank = 1) {
        Korvane_Internal::Reader_Setup setup;
        std::int64_t start = 0;
        std::int64_t end = static_cast<std::int64_t>(config.Get_Bank_Dump_Size());
        config.Get_Real_Page_Range(start, end, setup.first_row, setup.end_row);
        setup.command_set = config.Cmd;
        setup.column_cycles = static_cast<std::uint8_t>(config.Col);
        setup.row_cycles = static_cast<std::uint8_t>(config.Row);
        setup.wide_bus = config.Bus == L"16";
        setup.bus_16_8 = config.Bus == L"16-8";
        setup.ddr = config.DDR;
        setup.transfer_count = setup.wide_bus || setup.ddr ? config.Page / 2 : config.Page;
        setup.chip_enable = Get_Bank_Enable(bank, config);
        setup.skip_mask_1 = config.Skip_Mask_1;
        setup.skip_page_1 = config.Skip_Page_1;
        setup.skip_mask_2 = config.Skip_Mask_2;
        setup.skip_page_2 = config.Skip_Page_2;
        return setup;
    }

    // Opens the link, uploads image 4, sends program and setup block.
    std::unique_ptr<Korvane_Internal::ZEKT_Reader2> Open_Run(Korvane_Internal::Reader_Setup& setup,
                                                             const Korvane_Internal::NAND_Assembler::Assembler_Code& code) {
        auto link = std::make_unique<Korvane_Internal::ZEKT_Reader2>();
        link->Load_Image(Korvane_Internal::Configuration_Image(Korvane_Internal::Image::Read));
        const auto wire = code.Wire_Bytes();
        link->Write(wire.data(), wire.size());
        const auto& block = setup.Make_Setup_Block();
        link->Write(block.data(), block.size());
        return link;
    }

    std::unique_ptr<Korvane_Internal::ZEKT_Reader2> Open_Page_Run(Korvane_Internal::Reader_Setup& setup) {
        Korvane_Internal::NAND_Assembler::Assembler_Code code;
        Korvane_Internal::NAND_Assembler::Build_Program(code, setup);
        return Open_Run(setup, code);
    }

    std::shared_ptr<Korvane_Emulator::Virtual_Reader> reader;
};
