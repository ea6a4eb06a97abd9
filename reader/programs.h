// The micro-programs of a reading run: reset and ID, reset and parameter
// page, and the page-read loop of every command set.
#pragma once

#include <string>

#include "reader/assembler.h"
#include "reader/setup.h"

namespace Korvane_Internal::NAND_Assembler {

void Build_Id_Program(Assembler_Code& code);
// Command ECh at `address`: 00h the ONFI parameter page, 40h the JEDEC one.
void Build_Parameter_Page_Program(Assembler_Code& code, std::uint8_t address = 0x00);
// Throws "Unknown Cmd" for a command set it does not know.
void Build_Page_Program(Assembler_Code& code, const Reader_Setup& setup);
// The ID program in ID mode, else the page-read program.
void Build_Program(Assembler_Code& code, const Reader_Setup& setup);

// The page-read command sets, in the order the configuration offers them.
enum class Command_Set { Std, WL, WL_v2, A2, HYBRIDx3 };
const wchar_t* Command_Set_Name(Command_Set set);
// Exact match, case included; false when the name is unknown.
bool Find_Command_Set(const std::wstring& name, Command_Set& set);

}  // namespace Korvane_Internal::NAND_Assembler
