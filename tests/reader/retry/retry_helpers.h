// Runs one hook of a named strategy on a fresh buffer.
#pragma once

#include <string>

#include "reader/retry/retry.h"
#include "tests/reader/program_text.h"

namespace Retry_Test {

using namespace Korvane_Internal;
using namespace Korvane_Internal::NAND_Assembler;

// "00 -- 0A" -> registers; "--" is unset.
inline Read_Retry::Register_List Registers(const std::string& text) {
    Read_Retry::Register_List list;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token == "--")
            list.push_back({});
        else
            list.push_back({static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)), true});
    }
    return list;
}

inline Reader_Setup Setup(const std::wstring& name, const std::string& registers) {
    Reader_Setup setup;
    setup.retry_name = name;
    setup.retry_parameters = Registers(registers);
    return setup;
}

inline Words Before_Loop(const std::wstring& name, const std::string& registers) {
    Assembler_Code code;
    Read_Retry::Create_Retry(name)->Before_Loop(code, Setup(name, registers));
    return code.Words();
}

inline Words Before_Page(const std::wstring& name, const std::string& registers) {
    Assembler_Code code;
    Read_Retry::Create_Retry(name)->Before_Page(code, Setup(name, registers));
    return code.Words();
}

inline std::vector<Read_Retry::Register_List> Known_Sets(const std::wstring& name) {
    std::unique_ptr<Read_Retry::Base> strategy = Read_Retry::Create_Retry(name);
    auto* library = dynamic_cast<Read_Retry::Library*>(strategy.get());
    std::vector<Read_Retry::Register_List> sets;
    if (!library) {
        ADD_FAILURE() << "no built-in sets";
        return sets;
    }
    library->Known_Sets(sets);
    for (const auto& set : sets) {
        EXPECT_EQ(set.size(), strategy->Parameter_Count());
        for (const auto& reg : set) EXPECT_TRUE(reg.is_set);
    }
    return sets;
}

}  // namespace Retry_Test
