// korvane-cli run in-process, as the tests of its commands drive it.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "config/nand_config.h"
#include "framework/properties.h"
#include "framework/values.h"

struct Cli_Result {
    int status;
    std::string out, err;
};

inline Cli_Result Run_Cli(const std::vector<std::string>& arguments, bool interactive = false,
                          const std::string& input = "", bool progress_bars = false,
                          ZEKT_Tick_Source clock = ZEKT_Tick_Count) {
    std::ostringstream out, err;
    std::istringstream in(input);
    const int status = Korvane_Cli::Run(arguments, out, err, in, interactive, progress_bars, std::move(clock));
    return {status, out.str(), err.str()};
}

inline const std::string Demo_Profile = KORVANE_SOURCE_DIR "/emulator/profiles/demo.txt";

inline NAND_Config Demo_Chip() {
    NAND_Config config;
    Import_Config(config, Read_Text_File(From_UTF8(Demo_Profile)));
    return config;
}

// Writes `config` to `config_path` as a profile of the emulator whose chip
// holds the bytes of the file `image_path`, with `more` profile lines after it.
inline void Write_Sim_Chip(const std::wstring& config_path, NAND_Config config, const std::wstring& image_path,
                           const std::wstring& more = L"") {
    Write_Text_File(config_path, Export_Properties(config) + L"\r\nSim Data     file " + image_path + more);
}
