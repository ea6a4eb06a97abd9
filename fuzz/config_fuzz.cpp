// Arbitrary text into the chip configuration and reader options import and
// through the "Banks", "Join CE", "Power" and "Retry" parsers, with the bank
// geometry of "Block" and "Blocks" from the first bytes: errors are fine,
// crashes and undefined behaviour are not.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shown_text.h"
#include "config/nand_config.h"
#include "config/nand_options.h"
#include "framework/values.h"
#include "reader/retry/retry.h"

namespace {

// Refusals are fine; their one report line must be safe to show.
template <typename Action>
void Quietly(Action action) {
    try {
        action();
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = From_UTF8(std::string(reinterpret_cast<const char*>(data), size));

    Quietly([&] {
        NAND_Config config;
        Import_Config(config, text);
        NAND_Config back;
        Import_Config(back, Export_Properties(config));
        // What `config` prints and Chip.txt stores.
        Check_Shown(Visible_Text(Export_Properties(config), true), true);
    });
    Quietly([&] {
        NAND_Options options;
        Import_Properties(options, ZEKT_Sections(text));
    });

    NAND_Config config;
    config.Banks = config.Join_CE = config.Power = config.Retry = text;
    config.Page = size > 0 ? data[0] * 97u : 0;
    // The bank geometry: bytes 1-4 and 5-8, little-endian, when there are any.
    auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = at; i < at + 4 && i < size; ++i) value |= std::uint32_t{data[i]} << (8 * (i - at));
        return value;
    };
    config.Block = word(1);
    config.Blocks = word(5);
    config.Cmd = size % 2 ? L"WL" : L"Std";
    Quietly([&] { config.Get_Bank_Count(); });
    Quietly([&] { config.Get_Size_Text(); });
    Quietly([&] {
        std::int64_t start = 0;
        std::int64_t end = static_cast<std::int64_t>(config.Get_Bank_Dump_Size());
        std::uint32_t first_row = 0, end_row = 0;
        config.Get_Real_Page_Range(start, end, first_row, end_row);
    });
    for (std::uint32_t bank = 0; bank <= 9; ++bank) Quietly([&] { Get_Bank_Enable(bank, config); });
    Quietly([&] {
        Korvane_Internal::Reader_Setup setup;
        Parse_Power(config, setup);
    });
    Quietly([&] {
        std::wstring name;
        Korvane_Internal::NAND_Assembler::Read_Retry::Register_List parameters;
        Korvane_Internal::NAND_Assembler::Read_Retry::Parse_Retry(text, name, parameters);
    });
    return 0;
}
