#include "reader/programs.h"

#include "framework/errors.h"
#include "reader/retry/retry.h"

namespace Korvane_Internal::NAND_Assembler {

namespace {

constexpr Command_Set All_Command_Sets[] = {Command_Set::Std, Command_Set::WL, Command_Set::WL_v2, Command_Set::A2,
                                            Command_Set::HYBRIDx3};

// Read (1) then End: every program stops this way.
void Closing_Steps(Assembler_Code& code) {
    code.Step(Op_Read, 1);
    code.Step(Op_End, 0);
}

// Reads start at column 0; the row bytes come from the reader's row counter.
void Address(Assembler_Code& code, const Reader_Setup& setup) {
    for (unsigned i = 0; i < setup.column_cycles; ++i) code.Addr_Step(0x00);
    for (unsigned i = 0; i < setup.row_cycles; ++i) code.Row_Addr_Step(static_cast<std::uint8_t>(i));
}

// 05h/E0h moves the data output back to column 0 of the page just loaded.
void Column_Change_Tail(Assembler_Code& code, const Reader_Setup& setup) {
    code.Cmd_Step(0x05);
    Address(code, setup);
    code.Cmd_Step(0xE0);
    code.Wait_Step();
    code.Read_Step();
}

void Page_Prefix(Assembler_Code& code, const Reader_Setup& setup) {
    Read_Retry::Create_Retry(setup.retry_name)->Before_Page(code, setup);
    Run_Script(code, setup.before_read);
}

// 00h, the address, 30h: load the page into the chip's register.
void Page_Load(Assembler_Code& code, const Reader_Setup& setup) {
    code.Cmd_Step(0x00);
    Address(code, setup);
    code.Cmd_Step(0x30);
    code.Wait_Step();
}

void Std_Body(Assembler_Code& code, const Reader_Setup& setup) {
    Page_Prefix(code, setup);
    Page_Load(code, setup);
    code.Read_Step();
    code.Wait_Step();
}

// Word-line reads: 01h, 02h, 03h select the lower, middle and upper page of
// the word line.
void WL_Body(Assembler_Code& code, const Reader_Setup& setup) {
    for (std::uint8_t page : {0x01, 0x02, 0x03}) {
        Page_Prefix(code, setup);
        code.Cmd_Step(page);
        Page_Load(code, setup);
        Column_Change_Tail(code, setup);
    }
}

// 3Fh moves on to the next page of the word line without a new address.
void WL_v2_Body(Assembler_Code& code, const Reader_Setup& setup) {
    Page_Prefix(code, setup);
    Page_Load(code, setup);
    Column_Change_Tail(code, setup);
    for (int i = 0; i < 2; ++i) {
        code.Cmd_Step(0x3F);
        code.Wait_Step();
        Column_Change_Tail(code, setup);
    }
}

void A2_Body(Assembler_Code& code, const Reader_Setup& setup) {
    Page_Prefix(code, setup);
    code.Cmd_Step(0xA2);
    Page_Load(code, setup);
    Column_Change_Tail(code, setup);
}

// Per page: feature D2h cleared, feature D6h selects the page (0Dh..0Fh),
// then 43h before the load and 46h after it.
void HYBRIDx3_Body(Assembler_Code& code, const Reader_Setup& setup) {
    for (std::uint8_t page : {0x0D, 0x0E, 0x0F}) {
        Page_Prefix(code, setup);
        code.Cmd_Step(0xEF);
        code.Addr_Step(0xD2);
        code.Data_Steps(0x00, 0x00, 0x00, 0x00);
        code.Wait_Step();
        code.Cmd_Step(0xEF);
        code.Addr_Step(0xD6);
        code.Data_Steps(page, 0x00, 0x00, 0x00);
        code.Wait_Step();
        code.Cmd_Step(0x43);
        Page_Load(code, setup);
        code.Cmd_Step(0x46);
        Column_Change_Tail(code, setup);
    }
}

// The bit-map pass: three reads, each after the parameter register 00h is
// set to 01h and 69h asks for the bit map instead of the data.
void Special_Body(Assembler_Code& code, const Reader_Setup& setup) {
    for (int i = 0; i < 3; ++i) {
        code.Cmd_Step(0x5C);
        code.Cmd_Step(0xC5);
        code.Cmd_Step(0x55);
        code.Addr_Step(0x00);
        code.Data_Step(0x01);
        code.Cmd_Step(0x69);
        code.Wait_Step();
        Column_Change_Tail(code, setup);
    }
}

using Body = void (*)(Assembler_Code&, const Reader_Setup&);

Body Body_Of(Command_Set set) {
    switch (set) {
    case Command_Set::Std: return Std_Body;
    case Command_Set::WL: return WL_Body;
    case Command_Set::WL_v2: return WL_v2_Body;
    case Command_Set::A2: return A2_Body;
    case Command_Set::HYBRIDx3: return HYBRIDx3_Body;
    }
    throw ZEKT_Exception_Bug(L"Command set without a body");
}

}  // namespace

const wchar_t* Command_Set_Name(Command_Set set) {
    switch (set) {
    case Command_Set::Std: return L"Std";
    case Command_Set::WL: return L"WL";
    case Command_Set::WL_v2: return L"WL v2";
    case Command_Set::A2: return L"A2";
    case Command_Set::HYBRIDx3: return L"HYBRIDx3";
    }
    throw ZEKT_Exception_Bug(L"Command set without a name");
}

bool Find_Command_Set(const std::wstring& name, Command_Set& set) {
    for (Command_Set candidate : All_Command_Sets) {
        if (name == Command_Set_Name(candidate)) {
            set = candidate;
            return true;
        }
    }
    return false;
}

void Build_Id_Program(Assembler_Code& code) {
    code.Wait_Step();
    code.Cmd_Step(0xFF);
    code.Wait_Step();
    code.Cmd_Step(0x90);
    code.Addr_Step(0x00);
    code.Read_Step();
    Closing_Steps(code);
}

void Build_Parameter_Page_Program(Assembler_Code& code, std::uint8_t address) {
    code.Cmd_Step(0xFF);
    code.Wait_Step();
    code.Cmd_Step(0xEC);
    code.Addr_Step(address);
    code.Wait_Step();
    code.Read_Step();
    Closing_Steps(code);
}

void Build_Page_Program(Assembler_Code& code, const Reader_Setup& setup) {
    code.Wait_Step();
    code.Cmd_Step(0xFF);
    code.Wait_Step();
    Read_Retry::Create_Retry(setup.retry_name)->Before_Loop(code, setup);
    Run_Script(code, setup.after_reset);

    code.Mark_Loop_Start();
    for (std::uint8_t head = 1; head <= 5; ++head) code.Emit(Op_Loop, head);
    code.Mark_Forward();
    code.Emit(Op_Placeholder, 0);

    if (setup.special_read) {
        Special_Body(code, setup);
    } else {
        Command_Set set{};
        if (!Find_Command_Set(setup.command_set, set)) throw ZEKT_Exception(L"Unknown Cmd");
        Body_Of(set)(code, setup);
    }

    code.Resolve_Forward();
    code.Emit(Op_Loop, 0);
    code.Jump_Back();
    Closing_Steps(code);
}

void Build_Program(Assembler_Code& code, const Reader_Setup& setup) {
    if (setup.id_mode)
        Build_Id_Program(code);
    else
        Build_Page_Program(code, setup);
}

}  // namespace Korvane_Internal::NAND_Assembler
