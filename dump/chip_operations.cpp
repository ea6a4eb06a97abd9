#include "dump/chip_operations.h"

#include <algorithm>
#include <cstdint>

#include "framework/values.h"
#include "reader/programs.h"
#include "reader/retry/retry.h"

namespace Korvane_Internal {

namespace {

// What every operation sets; `unknown_bus` differs between the page read
// ("Unknown Bus") and the ID and parameter page reads ("Unknown bus").
Reader_Setup Common_Setup(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                          const wchar_t* unknown_bus) {
    Reader_Setup setup;
    if (config.Bus == L"16")
        setup.wide_bus = true;
    else if (config.Bus == L"16-8")
        setup.bus_16_8 = true;
    else if (config.Bus != L"8")
        throw ZEKT_Exception(unknown_bus);
    setup.ignore_busy = options.Ignore_Busy;
    setup.chip_enable = Get_Bank_Enable(bank, config);
    Parse_Power(config, setup);
    // The module takes a 16-bit word; a larger value would send another one.
    if (setup.power_kind == 1 && setup.power_value > 0xFFFF)
        throw ZEKT_Exception(Format(L"Power module setting <0x%x> is more than 16 bits", setup.power_value));
    const std::wstring voltage = Trim(options.Voltage, L' ');
    if (!voltage.empty()) setup.voltage = Power::Parse_Voltage(voltage);
    return setup;
}

// Runs a program once and reads `count` bytes of its stream into `buffer`.
void Read_Once(Reader_Setup& setup, const NAND_Assembler::Assembler_Code& program, std::uint8_t* buffer,
               std::uint32_t count) {
    ZEKT_Holder<Reader_Run> run;
    Open_Run(run, setup, program);
    try {
        run->link->Read(buffer, count);
    } catch (...) {
        Close_Run(run);
        throw;
    }
    Close_Run(run);
}

}  // namespace

Korvane::Korvane(std::uint32_t bank_number, const NAND_Config& chip, const NAND_Options& reader_options)
    : Korvane(bank_number, chip, reader_options, 0, UINT64_MAX) {}

Korvane::Korvane(std::uint32_t bank_number, const NAND_Config& chip, const NAND_Options& reader_options,
                 std::uint64_t range_start, std::uint64_t range_end)
    : bank(bank_number), config(chip), options(reader_options) {
    end = std::min(range_end, config.Get_Bank_Dump_Size());
    setup = Common_Setup(bank, config, options, L"Unknown Bus");
    if (config.Bus == L"16" && config.DDR) throw ZEKT_Exception(L"16-bit DDR not supported");
    setup.command_set = config.Cmd;
    setup.column_cycles = static_cast<std::uint8_t>(config.Col);
    setup.row_cycles = static_cast<std::uint8_t>(config.Row);
    auto first = static_cast<std::int64_t>(std::min(range_start, end));
    auto last = static_cast<std::int64_t>(end);
    config.Get_Real_Page_Range(first, last, setup.first_row, setup.end_row);
    // The stream starts with the whole unit; its end stays the bank's own.
    start = static_cast<std::uint64_t>(first);
    setup.ddr = config.DDR;
    setup.transfer_count = setup.wide_bus || setup.ddr ? config.Page >> 1 : config.Page;
    // The setup block carries 16 bits of the count; the rest would misalign the stream.
    if (setup.transfer_count > 0xFFFF)
        throw ZEKT_Exception(Format(L"Page <%u> is more than the reader reads at once", config.Page));
    if (options.Slow) {
        setup.timing_high = setup.timing_low = 0x77;
    } else {
        setup.timing_high = static_cast<std::uint8_t>(config.RE_Down);
        setup.timing_low = static_cast<std::uint8_t>(config.RE_Up);
    }
    setup.skip_mask_1 = config.Skip_Mask_1;
    setup.skip_page_1 = config.Skip_Page_1;
    setup.skip_mask_2 = config.Skip_Mask_2;
    setup.skip_page_2 = config.Skip_Page_2;
    NAND_Assembler::Read_Retry::Parse_Retry(config.Retry, setup.retry_name, setup.retry_parameters);
    setup.after_reset = options.After_Reset;
    setup.before_read = options.Before_Read;
}

Korvane::~Korvane() { Close_Run(run); }

void Korvane::Write(const void*, std::uint64_t) { throw ZEKT_Exception(L"Bug: Can not write to reader"); }

void Korvane::SetPos(std::uint64_t) { throw ZEKT_Exception(L"Bug: Can not set pos to reader"); }

void Korvane::Read(void* buffer, std::uint64_t size) {
    if (!run.Is_Full()) {
        NAND_Assembler::Assembler_Code program;
        NAND_Assembler::Build_Program(program, setup);
        Open_Run(run, setup, program);
    }
    run->link->Read(buffer, size);
}

Reader_Setup Id_Setup(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options) {
    // The setup block carries 16 bits of the count; more could only fail
    // as a short read after a huge allocation.
    if (options.ID_Size > 0xFFFF) throw ZEKT_Exception(Format(L"ID Size <%u> is more than the reader reads", options.ID_Size));
    // An empty ID would match every pattern, a missing chip included.
    if (options.ID_Size == 0) throw ZEKT_Exception(L"ID Size <0> reads no ID");
    Reader_Setup setup = Common_Setup(bank, config, options, L"Unknown bus");
    setup.end_row = 1;
    setup.transfer_count = options.ID_Size;
    setup.id_mode = true;
    return setup;
}

Reader_Setup Parameter_Page_Setup(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                                  std::uint32_t bytes) {
    Reader_Setup setup = Common_Setup(bank, config, options, L"Unknown bus");
    setup.end_row = 1;
    setup.transfer_count = bytes;
    setup.command_set = L"Custom";
    return setup;
}

std::wstring Read_Id(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options) {
    Reader_Setup setup = Id_Setup(bank, config, options);
    NAND_Assembler::Assembler_Code program;
    NAND_Assembler::Build_Id_Program(program);
    std::vector<std::uint8_t> id(options.ID_Size, 0);
    Read_Once(setup, program, id.data(), options.ID_Size);
    std::wstring text;
    for (std::uint8_t byte : id) Append_Format(text, L"%02x ", byte);
    return text;
}

std::vector<std::uint8_t> Read_Parameter_Page(std::uint32_t bank, const NAND_Config& config,
                                              const NAND_Options& options, std::uint32_t bytes,
                                              std::uint8_t address) {
    Reader_Setup setup = Parameter_Page_Setup(bank, config, options, bytes);
    NAND_Assembler::Assembler_Code program;
    NAND_Assembler::Build_Parameter_Page_Program(program, address);
    std::vector<std::uint8_t> page(bytes, 0x77);
    Read_Once(setup, program, page.data(), bytes);
    return page;
}

}  // namespace Korvane_Internal
