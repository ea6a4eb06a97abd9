#include "config/nand_config.h"

#include "framework/values.h"
#include "reader/retry/retry.h"

namespace {

// The strategy names as the retry registry lists them, in its order.
std::vector<std::wstring> Retry_Names() {
    std::vector<std::wstring> names;
    for (const auto& entry : Korvane_Internal::NAND_Assembler::Read_Retry::Registry().entries)
        names.push_back(entry.name);
    return names;
}

}  // namespace

void NAND_Config::Describe(ZEKT_Property_List& list) {
    ID_Code_Text = ID_Code;
    Add_Property<ZEKT_Property_Separator>(list, L"Chip");
    Add_Property<ZEKT_Property_wstring>(list, L"Company", &Company);
    Add_Property<ZEKT_Property_wstring>(list, L"Name", &Name);
    Add_Property<ZEKT_Property_wstring>(list, L"ID code", &ID_Code_Text);
    Add_Property<ZEKT_Property_Separator>(list, L"Structure");
    Add_Property<ZEKT_Property_wstring>(list, L"Bus", &Bus).Offer({L"8", L"16", L"16-8"});
    Add_Property<ZEKT_Property_wstring>(list, L"Banks", &Banks);
    Add_Property<ZEKT_Property_UINT32>(list, L"Page", &Page, false).Offer({L"16896", L"33792"});
    Add_Property<ZEKT_Property_UINT32>(list, L"Block", &Block, true).Offer({L"50688"});
    Add_Property<ZEKT_Property_UINT32>(list, L"Blocks", &Blocks, true).Offer({L"0x20000"});
    Add_Property<ZEKT_Property_Separator>(list, L"Read");
    Add_Property<ZEKT_Property_wstring>(list, L"Cmd", &Cmd).Offer({L"Std", L"WL", L"WL v2", L"HYBRIDx3"});
    Add_Property<ZEKT_Property_UINT32>(list, L"Col", &Col, false);
    Add_Property<ZEKT_Property_UINT32>(list, L"Row", &Row, false);
    Add_Property<ZEKT_Property_BOOL>(list, L"DDR", &DDR);
    Add_Property<ZEKT_Property_Separator>(list, L"Timings");
    Add_Property<ZEKT_Property_UINT32>(list, L"RE_Up", &RE_Up, false);
    Add_Property<ZEKT_Property_UINT32>(list, L"RE_Down", &RE_Down, false);
    Add_Property<ZEKT_Property_Separator>(list, L"Special");
    Add_Property<ZEKT_Property_wstring>(list, L"Power", &Power).Offer({L"1/0x0024"});
    Add_Property<ZEKT_Property_wstring>(list, L"Retry", &Retry).Offer(Retry_Names());
    Add_Property<ZEKT_Property_UINT32>(list, L"Skip_Mask_1", &Skip_Mask_1, true);
    Add_Property<ZEKT_Property_UINT32>(list, L"Skip_Page_1", &Skip_Page_1, true);
    Add_Property<ZEKT_Property_UINT32>(list, L"Skip_Mask_2", &Skip_Mask_2, true);
    Add_Property<ZEKT_Property_UINT32>(list, L"Skip_Page_2", &Skip_Page_2, true);
    Add_Property<ZEKT_Property_wstring>(list, L"Join CE", &Join_CE);
}

void NAND_Config::After_Import(ZEKT_Progress*, void*) { Set_ID_Code(ID_Code_Text); }

void Import_Config(NAND_Config& config, const std::wstring& text) {
    Import_Properties(config, ZEKT_Sections(text));
    config.After_Import(nullptr, nullptr);
}

bool Match_ID(const std::wstring& a, const std::wstring& b) {
    std::vector<std::wstring> left = Split(a, L" ");
    std::vector<std::wstring> right = Split(b, L" ");
    const std::size_t count = std::max(left.size(), right.size());
    left.resize(count, L"*");
    right.resize(count, L"*");
    for (std::size_t i = 0; i < count; ++i)
        if (left[i] != right[i] && left[i] != L"*" && right[i] != L"*") return false;
    return true;
}

void Parse_Power(const NAND_Config& config, Korvane_Internal::Reader_Setup& setup) {
    std::uint32_t* const fields[] = {&setup.power_kind, &setup.power_value, &setup.power_extra};
    const std::vector<std::wstring> pieces = Split(config.Power, L"/");
    for (std::size_t i = 0; i < pieces.size() && i < std::size(fields); ++i)
        *fields[i] = To_Unsigned_32(Trim(pieces[i], L' '));
}
