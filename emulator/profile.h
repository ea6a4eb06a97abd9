// What the emulator stands in for: a chip configuration plus the emulator's
// own keys (content, ONFI, faults), read from a settings text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/nand_config.h"
#include "emulator/nand_chip.h"

namespace Korvane_Emulator {

struct Sim_Options {
    Page_Source source;                   // "Sim Data": erased | seed N | file PATH
    bool onfi = true;                     // "Sim ONFI": true | false | file PATH
    std::wstring onfi_file;               // "Sim ONFI" file PATH: an ONFI page (256 bytes or three copies) or a JEDEC one (512 or 1536)
    std::optional<std::uint64_t> unplug_after;  // "Sim Unplug After": data bytes
    std::array<bool, 8> dead_lines{};     // "Sim Dead CE": lines that do not answer, "2-3"
    std::vector<std::pair<std::uint32_t, std::uint8_t>> clean_registers;  // "Sim Retry Clean": "ac=0f 189=01"
    // "Sim Retry Pages": "200 189=05 1.75V": pages in every million that read
    // with one flipped bit in 16 bytes unless these registers hold these
    // values and the adapter supplies this voltage (0: any).
    std::uint32_t retry_pages_per_million = 0;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> retry_page_registers;
    std::uint32_t retry_page_voltage = 0;
    bool adapter = true;                  // "Sim Adapter": true | false
    std::int32_t voltage_offset = 0;      // "Sim Voltage Offset": hundredths of a volt, may be negative
    bool module = true;                   // "Sim Module": true | false
    bool self_test_corrupt = false;       // "Sim Self-Test": good | corrupt
    std::array<bool, 3> onfi_damage{};    // "Sim ONFI Damage": parameter page copies that fail their CRC, "1-3"
    std::uint32_t flaky_per_million = 0;  // "Sim Flaky Pages": pages in every million that read differently each time
    std::array<bool, 16> weak_lines{};    // "Sim Weak Line": data lines IO0-IO15 that now and then read wrong, "3-5"
};

struct Sim_Profile {
    std::wstring origin;  // what the profile was picked by, for the transcript
    NAND_Config config;
    Sim_Options sim;
};

// The emulator keys in the order they are documented.
const std::vector<std::wstring>& Sim_Keys();

// A settings text as a profile: configuration keys that are missing keep
// their defaults, unknown keys starting with "Sim " are errors naming them.
Sim_Profile Parse_Profile(const std::wstring& text, const std::wstring& origin);
// A configuration as a profile with the default emulator keys.
Sim_Profile Profile_From_Config(const NAND_Config& config, const std::wstring& origin);
// Reads the emulator keys present in `sections` over `sim`.
void Apply_Sim_Keys(const ZEKT_Sections& sections, Sim_Options& sim);

// The chip model a profile describes: ID bytes, page geometry, ONFI page.
Chip_Model Make_Chip_Model(const Sim_Profile& profile);

}  // namespace Korvane_Emulator
