// korvane-cli run in-process over an emulated chip, for the benchmarks that
// time whole commands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "config/nand_config.h"
#include "framework/properties.h"

// An erased one-bank chip of `megabytes` in `folder`, as a profile for the
// emulator; `sim_keys` are further lines of it ("Sim Flaky Pages  100").
inline std::string Erased_Profile(const std::filesystem::path& folder, std::int64_t megabytes,
                                  const std::wstring& sim_keys = L"") {
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / ("erased-" + std::to_string(megabytes) + ".txt");
    NAND_Config config;
    config.Set_ID_Code(L"98 de 94 93");
    config.Page = 16384;
    config.Banks = L"1 x " + std::to_wstring(megabytes) + L" MB";
    Write_Text_File(path.wstring(), Export_Properties(config) + L"\r\nSim Data     erased" + sim_keys);
    return path.string();
}

// The exit status of one command line; its output is dropped.
inline int Run_Quietly(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    std::istringstream in;
    return Korvane_Cli::Run(arguments, out, err, in, false);
}
